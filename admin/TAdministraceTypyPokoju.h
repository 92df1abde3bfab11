#pragma once

#include "gui/TDialog.h"

#include <memory>

class TDefinovaniCen;
class TypyPokoju;

namespace Ui {
class TAdministraceTypyPokoju;
}

/**
 * The room types: lists them, adds a type with a name and a bed count,
 * removes types no stored room has, opens the price dialog for the selected
 * types, and on OK writes the types back (dropping the prices of removed ones).
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
    void FormHide() override;

private:
    void NadefinujCenyButtonClick();
    void OdstranVybraneButtonClick();
    void PridejButtonClick();
    void NovyTypEditKeyDown(QKeyEvent *key);
    void PocetLuzekEditKeyDown(QKeyEvent *key);
    void OKButtonClick();
    void StornoButtonClick();
    void obnovSeznam();
    void ohlasPouzity(const QString &nazev);

    TDefinovaniCen *m_definovaniCen = nullptr;
    std::unique_ptr<Ui::TAdministraceTypyPokoju> ui;
    std::unique_ptr<TypyPokoju> m_typyPokoju;
};
