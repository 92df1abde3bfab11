#pragma once

#include "gui/TDialog.h"

#include <memory>

class TNastaveniDnuUTypuDne;

namespace Ui {
class TAdministraceTypyDni;
}

class TAdministraceTypyDni : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceTypyDni(QWidget *parent = nullptr);
    ~TAdministraceTypyDni() override;

    void setNastaveniDnu(TNastaveniDnuUTypuDne *dialog) { m_nastaveniDnu = dialog; }

private:
    TNastaveniDnuUTypuDne *m_nastaveniDnu = nullptr;
    std::unique_ptr<Ui::TAdministraceTypyDni> ui;
};
