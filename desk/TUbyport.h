#pragma once

#include "gui/TDialog.h"
#include "model/Ubyport.h"

#include <memory>
#include <vector>

namespace Ui {
class TUbyport;
}

/**
 * The report of foreign guests to the police: the foreign guests checked in
 * and not yet reported (or corrected since), those past the deadline in
 * red; the chosen ones written to a file for the police's Ubyport service,
 * refused naming the guest and field that lack something, and marked as
 * reported once the police accepted the upload.
 */
class TUbyport : public TDialog
{
    Q_OBJECT
public:
    explicit TUbyport(QWidget *parent = nullptr);
    ~TUbyport() override;

    /** Writes the file of the chosen guests; false (after the error box) when refused or not written. */
    bool ulozSoubor(const QString &soubor);

protected:
    void FormShow() override;

private:
    void UlozitSouborButtonClick();
    void OznacitButtonClick();

    void nacti();
    void vypis();
    std::vector<HlaseniHosta> vybrani() const;

    std::unique_ptr<Ui::TUbyport> ui;
    QDate m_den;
    std::vector<HlaseniHosta> m_hoste;
};
