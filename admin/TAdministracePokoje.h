#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TAdministracePokoje;
}

class TAdministracePokoje : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministracePokoje(QWidget *parent = nullptr);
    ~TAdministracePokoje() override;

private:
    std::unique_ptr<Ui::TAdministracePokoje> ui;
};
