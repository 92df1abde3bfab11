#pragma once

#include "gui/TDialog.h"
#include "model/Hoste.h"
#include "model/Ubytovani.h"

#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class TPrijezdHosta;
}

/**
 * Check-in: the receptionist chooses the stay (today's arrivals first),
 * enters or confirms its guests' particulars and the time of arrival. OK
 * refuses while a guest lacks what the guest books need, asks before
 * checking guests into a dirty room or one out of order, and before moving
 * an early arrival's first day to today.
 */
class TPrijezdHosta : public TDialog
{
    Q_OBJECT
public:
    explicit TPrijezdHosta(QWidget *parent = nullptr);
    ~TPrijezdHosta() override;

    /** The next showing starts with this stay chosen (from the arrivals window, which shows the room's number). */
    void prefill(int cisloObjednavky, const QString &cisloPokoje);

protected:
    void FormShow() override;

private:
    void PobytComboBoxChange();
    void HosteListWidgetChange();
    void PridatHostaButtonClick();
    void OdebratHostaButtonClick();
    void KopirovatAdresuButtonClick();
    void HledatHostaEditChange();
    void PouzitUdajeButtonClick();
    void UdajeChange();
    void OKButtonClick();

    struct Vyber
    {
        int cislo_objednavky = 0;
        QString cislo_pokoje;
    };
    void nactiPobyty(std::optional<Vyber> vybrat);
    void nactiHosty();
    void vypisHosty(int vybrat);
    void ukazHosta();
    void ukazChyby();
    const PobytHosta *vybranyPobyt() const;
    int vybranyHost() const;
    QString radekHosta(const Host &h) const;
    QStringList chybyFormulare(const Host &h) const;

    std::unique_ptr<Ui::TPrijezdHosta> ui;
    std::vector<PobytHosta> m_pobyty;
    std::vector<Host> m_nacteni;   // the stay's guests as loaded
    std::vector<Host> m_hoste;     // as edited
    std::vector<Host> m_nalezeni;  // returning guests found by surname
    std::optional<Vyber> m_predvyplneni;
    bool m_plni = false;           // the form is being filled, not edited
};
