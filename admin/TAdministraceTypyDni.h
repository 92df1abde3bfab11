#pragma once

#include "gui/TDialog.h"

#include <memory>

class TNastaveniDnuUTypuDne;
class TypyDnu;

namespace Ui {
class TAdministraceTypyDni;
}

/**
 * The day types: lists them in the order of their priority, adds (one type
 * per name), removes and moves them, opens the calendar dialog for the
 * selected one (a new type's dates wait here for OK), and on OK writes the
 * changes of this opening with that order, which also deletes the prices
 * and calendar dates of removed types.
 */
class TAdministraceTypyDni : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceTypyDni(QWidget *parent = nullptr);
    ~TAdministraceTypyDni() override;

    void setNastaveniDnu(TNastaveniDnuUTypuDne *dialog) { m_nastaveniDnu = dialog; }

protected:
    void FormShow() override;

private:
    void PridejTypDneButtonClick();
    /** Enter in the new type's name. */
    void NovyTypDneEditKeyDown();
    void OdstranVybranyTypButtonClick();
    void PriradDnyVybranemuTypuButtonClick();
    void PosunTypDneNahoruButtonClick();
    void PosunTypDneDoluButtonClick();
    void OKButtonClick();
    void obnov();
    void posunVybrany(int krok);

    TNastaveniDnuUTypuDne *m_nastaveniDnu = nullptr;
    std::unique_ptr<Ui::TAdministraceTypyDni> ui;
    std::unique_ptr<TypyDnu> m_typyDnu;
};
