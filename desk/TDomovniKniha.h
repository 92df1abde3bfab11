#pragma once

#include "gui/TDialog.h"
#include "model/DomovniKniha.h"

#include <memory>
#include <vector>

namespace Ui {
class TDomovniKniha;
}

/**
 * The foreigners' book for a period of arrivals: the entries in the order
 * of arrival, those lacking a field in red on top with what they lack,
 * corrected ones with who and when; a print preview and a PDF on A4
 * landscape.
 */
class TDomovniKniha : public TDialog
{
    Q_OBJECT
public:
    explicit TDomovniKniha(QWidget *parent = nullptr);
    ~TDomovniKniha() override;

    /** The book as shown written to a PDF file; the pages written, 0 when it could not be. */
    int ulozPdf(const QString &soubor);

protected:
    void FormShow() override;

private:
    void ObdobiChange();
    void TiskButtonClick();
    void UlozitPdfButtonClick();

    void nacti();
    void vypis();
    QString html() const;

    std::unique_ptr<Ui::TDomovniKniha> ui;
    std::vector<ZapisDomovniKnihy> m_zapisy;
    UdajeOHotelu m_hotel;
};
