#pragma once

#include "gui/TDialog.h"

#include <memory>
#include <vector>

class TPrijezdHosta;
class QPrinter;
class QTableWidget;
class QTextDocument;
struct PobytDne;
struct PrijezdyAOdjezdy;

namespace Ui {
class TPrijezdyAOdjezdy;
}

/**
 * The day's work at the desk: who arrives on the chosen day (today when
 * opened) and who leaves it, in two sortable tables, printed or saved as
 * PDF. Reads only; each opening and each change of the day reads again.
 */
class TPrijezdyAOdjezdy : public TDialog
{
    Q_OBJECT
public:
    explicit TPrijezdyAOdjezdy(QWidget *parent = nullptr);
    ~TPrijezdyAOdjezdy() override;

    /**
     * Prints the lists shown onto A4 pages of the printer, a footer with the
     * page number and the time of printing on each; the pages printed, 0
     * when the printer could not be opened.
     */
    int tiskniDo(QPrinter &printer);
    /** tiskniDo into a PDF file; the pages written, 0 when it could not be written (the box says so). */
    int ulozPdf(const QString &soubor);
    /**
     * The printed document laid out for the printer's page less the footer:
     * its pageCount() is the number of pages tiskniDo prints.
     */
    std::unique_ptr<QTextDocument> dokument(QPrinter &printer) const;
    /** The check-in that "Příjezd hosta..." opens for the arrival chosen. */
    void setPrijezdHosta(TPrijezdHosta *prijezdHosta) { m_prijezdHosta = prijezdHosta; }

protected:
    void FormShow() override;

private:
    void DenDatePickerChange();
    void PredchoziDenButtonClick();
    void DnesButtonClick();
    void DalsiDenButtonClick();
    void TiskButtonClick();
    void UlozitPdfButtonClick();
    void PrijezdHostaButtonClick();

    void nactiDen();
    void vypisSeznam();
    void vypis(QTableWidget *table, const std::vector<PobytDne> &pobyty);
    QString html() const;

    std::unique_ptr<Ui::TPrijezdyAOdjezdy> ui;
    std::unique_ptr<PrijezdyAOdjezdy> m_seznam;
    TPrijezdHosta *m_prijezdHosta = nullptr;
    bool m_otevira = false;   // FormShow sets the day and loads it itself
};
