#pragma once

#include "gui/TDialog.h"
#include "model/EvidencniKniha.h"
#include "model/UdajeOHotelu.h"

#include <memory>
#include <vector>

namespace Ui {
class TEvidencniKniha;
}

/**
 * The stay-fee book of a period: every guest of the stays checked in with a
 * night in it, the fee due or the exemption and its reason, totals per
 * month; printed or saved as PDF on A4, and the months' summary for the
 * town saved as CSV. Nothing in it is edited.
 */
class TEvidencniKniha : public TDialog
{
    Q_OBJECT
public:
    explicit TEvidencniKniha(QWidget *parent = nullptr);
    ~TEvidencniKniha() override;

    /** The A4 print of the book shown into a PDF file; the pages written, 0 when it could not be written. */
    int ulozPdf(const QString &soubor);
    /** Writes the months' summary shown as CSV; false (after an error box) when it could not be written. */
    bool ulozSouhrnCsv(const QString &soubor);

protected:
    void FormShow() override;

private:
    void ZobrazitButtonClick();
    void TiskButtonClick();
    void UlozitPdfButtonClick();
    void SouhrnCsvButtonClick();
    QString html() const;
    void vypis();

    std::unique_ptr<Ui::TEvidencniKniha> ui;
    std::vector<ZapisKnihy> m_zapisy;
    std::vector<SouhrnMesice> m_mesice;
    UdajeOHotelu m_hotel;
    QDate m_od, m_do;   // of the book shown
};
