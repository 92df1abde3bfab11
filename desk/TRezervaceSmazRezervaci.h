#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TRezervaceSmazRezervaci;
}

class TRezervaceSmazRezervaci : public TDialog
{
    Q_OBJECT
public:
    explicit TRezervaceSmazRezervaci(QWidget *parent = nullptr);
    ~TRezervaceSmazRezervaci() override;

private:
    std::unique_ptr<Ui::TRezervaceSmazRezervaci> ui;
};
