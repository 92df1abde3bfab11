#pragma once

#include "gui/TDialog.h"
#include "model/Objednavky.h"
#include "model/Pokoje.h"
#include "model/Pobyt.h"

#include <QDate>
#include <memory>
#include <optional>

class ModelKlientu;
class Pokoje;
class SpolupraceSWebem;

namespace Ui {
class TNovaRezervace;
}

/**
 * A new reservation: the receptionist picks a client, a room and the first
 * and last day; the price (night by night in its tooltip) and whether the
 * room is free show at once. OK stores the reservation and then sends the
 * web site the prices and occupancy, whether it was stored or refused.
 */
class TNovaRezervace : public TDialog
{
    Q_OBJECT
public:
    explicit TNovaRezervace(QWidget *parent = nullptr);
    ~TNovaRezervace() override;

    void setSpolupraceSWebem(SpolupraceSWebem *web) { m_spolupraceSWebem = web; }
    /** The next showing starts with this room chosen and this day as the first and last day. */
    void prefill(const QString &cisloPokoje, const QDate &den);

protected:
    void FormShow() override;
    void FormHide() override;
    bool event(QEvent *event) override;

private:
    void KlientComboBoxChange();
    void PokojComboBoxChange();
    void OdDateTimePickerChange();
    void DoDateTimePickerChange();
    void OKButtonClick();

    /** The room of the chosen line; the no-room value when none is chosen. */
    Pokoj vybranyPokoj() const;
    void rebuild();
    void refreshLabels();
    void startPriceExport();

    struct Predvyplneni
    {
        QString cisloPokoje;
        QDate den;
    };

    SpolupraceSWebem *m_spolupraceSWebem = nullptr;
    std::unique_ptr<Ui::TNovaRezervace> ui;
    ModelKlientu *m_klienti;
    std::unique_ptr<Pokoje> m_pokoje;
    std::optional<Objednavka> m_rezervace;   // none while the inputs are incomplete or inconsistent
    RozpisCeny m_rozpis;                     // the current reservation's nights
    std::optional<Predvyplneni> m_predvyplneni;
};
