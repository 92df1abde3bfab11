#pragma once

#include "gui/TDialog.h"
#include "model/Ubytovani.h"

#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class TOdjezdHosta;
}

/**
 * Check-out: the receptionist chooses a stay checked in and records the
 * time of departure; guests leaving before their last booked night shorten
 * the stay (asked, with the new price shown first). The stays checked out
 * since yesterday are listed too, so that a mistaken check-out, or a
 * mistaken check-in, can be undone here.
 */
class TOdjezdHosta : public TDialog
{
    Q_OBJECT
public:
    explicit TOdjezdHosta(QWidget *parent = nullptr);
    ~TOdjezdHosta() override;

protected:
    void FormShow() override;

private:
    void PobytyListWidgetChange();
    void OdjezdDateTimeEditChange();
    void OKButtonClick();
    void ZrusitPrijezdButtonClick();
    void ZrusitOdjezdButtonClick();

    void nactiPobyty();
    void ukazZkraceni();
    const PobytHosta *vybranyPobyt() const;

    std::unique_ptr<Ui::TOdjezdHosta> ui;
    std::vector<PobytHosta> m_pobyty;
    std::optional<double> m_novaCena;   // of the shortened stay, by the price rule; none when a night has no price
};
