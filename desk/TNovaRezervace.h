#pragma once

#include "gui/TDialog.h"

#include <memory>

class TAdministraceSpolupraceSWebem;

namespace Ui {
class TNovaRezervace;
}

class TNovaRezervace : public TDialog
{
    Q_OBJECT
public:
    explicit TNovaRezervace(QWidget *parent = nullptr);
    ~TNovaRezervace() override;

    void setSpolupraceSWebem(TAdministraceSpolupraceSWebem *dialog) { m_spolupraceSWebem = dialog; }

private:
    TAdministraceSpolupraceSWebem *m_spolupraceSWebem = nullptr;
    std::unique_ptr<Ui::TNovaRezervace> ui;
};
