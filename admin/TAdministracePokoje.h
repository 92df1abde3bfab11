#pragma once

#include "gui/TDialog.h"

#include <memory>

class Pokoje;
class TypyPokoju;

namespace Ui {
class TAdministracePokoje;
}

/**
 * The hotel's rooms: lists them by number, adds a room with a number and a
 * type, changes a room's type, removes rooms, and on OK writes the changes.
 */
class TAdministracePokoje : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministracePokoje(QWidget *parent = nullptr);
    ~TAdministracePokoje() override;

protected:
    void FormShow() override;

private:
    void PridejPokojButtonClick();
    void OdstranVybranePokojeButtonClick();
    void ZmenTypPokojeButtonClick();
    void NadefinovanePokojeListBoxClick();
    void OKButtonClick();
    void obnovSeznamy();
    /** After a refused save: the lists as the tables are now, with this opening's changes that still apply. */
    void nactiZnovu();

    std::unique_ptr<Ui::TAdministracePokoje> ui;
    std::unique_ptr<Pokoje> m_pokoje;
    std::unique_ptr<TypyPokoju> m_typyPokoju;
};
