#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TPridaniKlienta;
}

class TPridaniKlienta : public TDialog
{
    Q_OBJECT
public:
    explicit TPridaniKlienta(QWidget *parent = nullptr);
    ~TPridaniKlienta() override;

private:
    std::unique_ptr<Ui::TPridaniKlienta> ui;
};
