#pragma once

#include "gui/TDialog.h"
#include "model/Prehledy.h"

#include <memory>
#include <vector>

namespace Ui {
class TPrehledy;
}

/**
 * Occupancy and revenue of a period and a room group, per day or per month,
 * in total or by room type or client type: a table and a chart of the
 * occupancy beside it; the table saves as a CSV file for Czech
 * spreadsheets. Nothing in it is edited.
 */
class TPrehledy : public TDialog
{
    Q_OBJECT
public:
    explicit TPrehledy(QWidget *parent = nullptr);
    ~TPrehledy() override;

    /** Writes the table shown as CSV; false (after an error box) when the file could not be written. */
    bool ulozCsv(const QString &soubor);
    /** The A4 print of the table shown into a PDF file; the pages written, 0 when it could not be written. */
    int ulozPdf(const QString &soubor);

protected:
    void FormShow() override;

private:
    void ZobrazitButtonClick();
    void UlozitCsvButtonClick();
    void TiskButtonClick();
    void UlozitPdfButtonClick();
    /** The print: what was asked for (period, group, breakdown) and the table as shown. */
    QString html() const;
    void ukazTabulku();
    void ukazGraf();

    class Model;

    std::unique_ptr<Ui::TPrehledy> ui;
    Model *m_model = nullptr;   // the table's rows, answered as the view asks
    std::vector<Prehledy::RadekPrehledu> m_radky;
    Prehledy::Zadani m_zadani;   // of the rows shown
};
