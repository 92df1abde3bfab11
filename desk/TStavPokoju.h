#pragma once

#include "gui/TDialog.h"
#include "model/StavPokoju.h"

#include <memory>
#include <vector>

namespace Ui {
class TStavPokoju;
}

/**
 * Housekeeping's view of today: every room with its status, today's
 * departures, stay-overs and arrivals and whether it is out of order, in a
 * sortable table. C, S and Z (or the buttons) set the selected rooms clean,
 * dirty or inspected, each in a save of its own that refuses to overwrite
 * another desk's change (the table is read again then). Spans out of order
 * are added for the selected room and removed from their list. Printed or
 * saved as PDF on A4 with the day.
 */
class TStavPokoju : public TDialog
{
    Q_OBJECT
public:
    explicit TStavPokoju(QWidget *parent = nullptr);
    ~TStavPokoju() override;

    /** The print of what is shown into a PDF file; the pages written, 0 when it could not be written. */
    int ulozPdf(const QString &soubor);
    /** What is printed, as HTML. */
    QString html() const;

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CistyButtonClick();
    void SpinavyButtonClick();
    void ZkontrolovanyButtonClick();
    void PridejMimoProvozButtonClick();
    void OdstranMimoProvozButtonClick();
    void TiskButtonClick();
    void UlozitPdfButtonClick();

    void zmenStav(Uklid novy);
    /** Reads the rooms and spans again, keeping the selected rooms selected. */
    void nacti();
    void vypis();
    QList<int> vybranePokoje() const;
    const StavPokoje *pokoj(int pokojId) const;

    std::unique_ptr<Ui::TStavPokoju> ui;
    QDate m_den;
    std::vector<StavPokoje> m_pokoje;
    std::vector<MimoProvoz> m_mimoProvoz;
};
