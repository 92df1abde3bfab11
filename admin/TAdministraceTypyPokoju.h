#pragma once

#include "gui/TDialog.h"
#include "model/CenyPokoju.h"

#include <memory>
#include <vector>

class TDefinovaniCen;
class TypyPokoju;

namespace Ui {
class TAdministraceTypyPokoju;
}

/**
 * The room types: lists them, adds a type with a name and a bed count,
 * removes types no stored room has, opens the price dialog for the selected
 * types, and on OK writes the types added and removed (removed ones take
 * their prices along). Prices of types not saved yet wait here and go in
 * with the types.
 */
class TAdministraceTypyPokoju : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceTypyPokoju(QWidget *parent = nullptr);
    ~TAdministraceTypyPokoju() override;

    void setDefinovaniCen(TDefinovaniCen *dialog) { m_definovaniCen = dialog; }

protected:
    void FormShow() override;

private:
    void NadefinujCenyButtonClick();
    void OdstranVybraneButtonClick();
    void PridejButtonClick();
    /** Enter in either edit box. */
    void NovyTypEditKeyDown();
    void PocetLuzekEditKeyDown();
    void OKButtonClick();
    void obnovSeznam();
    void ohlasPouzity(const QString &nazev);
    /** After a refused save: the types again, with this opening's changes that still apply. */
    void obnov();
    /** Drops the prices of new types that are no longer in the list. */
    void zahodCenyBezTypu();

    TDefinovaniCen *m_definovaniCen = nullptr;
    std::unique_ptr<Ui::TAdministraceTypyPokoju> ui;
    std::unique_ptr<TypyPokoju> m_typyPokoju;
    // Prices set for types with a provisional id: the price dialog cannot store them yet.
    std::vector<CenaPokoje> m_cenyNovychTypu;
};
