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
 * selected group, and on OK writes the groups and their members back.
 */
class TAdministraceSkupinyPokoju : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceSkupinyPokoju(QWidget *parent = nullptr);
    ~TAdministraceSkupinyPokoju() override;

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void SkupinyPokojuListBoxClick();
    void PridejSkupinuButtonClick();
    void NovaSkupinaEditKeyDown(QKeyEvent *key);
    void OdstranSkupinuButtonClick();
    void PridejPokojeButtonClick();
    void OdeberPokojeButtonClick();
    void OKButtonClick();
    void StornoButtonClick();

    void obnovVse();
    void obnovCleny();
    QString vybranaSkupina() const;
    /** The rooms of the selected lines: each number stands for the first room of that number. */
    Pokoje vybranePokoje(const QListWidget *box) const;

    std::unique_ptr<Ui::TAdministraceSkupinyPokoju> ui;
    std::unique_ptr<SkupinyPokoju> m_skupiny;
    std::unique_ptr<Pokoje> m_pokoje;
};
