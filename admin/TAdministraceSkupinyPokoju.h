#pragma once

#include "gui/TDialog.h"

#include <memory>

class Pokoje;
class QListWidget;
class SkupinyPokoju;

namespace Ui {
class TAdministraceSkupinyPokoju;
}

/**
 * Room groups: adds and removes groups, moves rooms into and out of the
 * selected group, and on OK writes the changes of the groups and their members.
 */
class TAdministraceSkupinyPokoju : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceSkupinyPokoju(QWidget *parent = nullptr);
    ~TAdministraceSkupinyPokoju() override;

protected:
    void FormShow() override;

private:
    void SkupinyPokojuListBoxClick();
    void PridejSkupinuButtonClick();
    /** Enter in the new group's name. */
    void NovaSkupinaEditKeyDown();
    void OdstranSkupinuButtonClick();
    void PridejPokojeButtonClick();
    void OdeberPokojeButtonClick();
    void OKButtonClick();

    void obnovVse();
    void obnovCleny();
    /** After a refused save: the lists as the tables are now, with this opening's changes that still apply. */
    void nactiZnovu();
    /** The rooms of the selected lines of the box, which was filled from pokoje. */
    static Pokoje vybranePokoje(const QListWidget *box, const Pokoje &pokoje);

    std::unique_ptr<Ui::TAdministraceSkupinyPokoju> ui;
    std::unique_ptr<SkupinyPokoju> m_skupiny;
    std::unique_ptr<Pokoje> m_pokoje;
};
