#pragma once

#include "gui/TDialog.h"
#include "model/CenyPokoju.h"

#include <QList>
#include <memory>
#include <vector>

class TypyDnu;
class TypyKlientu;

namespace Ui {
class TDefinovaniCen;
}

/**
 * Sets prices in bulk for the room types it is opened for: every chosen
 * day type and client type gets the typed price; OK writes the prices set
 * (other prices stay as stored, whoever stored them). Beside the lists it
 * shows what those room types cost now.
 */
class TDefinovaniCen : public TDialog
{
    Q_OBJECT
public:
    explicit TDefinovaniCen(QWidget *parent = nullptr);
    ~TDefinovaniCen() override;

    using TDialog::ukaz;
    /**
     * Shows the dialog modally for these room types (kept for later
     * openings). Room types not stored yet (provisional ids) have their
     * prices in cenyNovychTypu: shown over the stored ones, and on OK
     * handed back there instead of written.
     */
    int ukaz(const QList<int> &typyPokoju, std::vector<CenaPokoje> *cenyNovychTypu = nullptr);

protected:
    void FormShow() override;

private:
    void NastavCenuButtonClick();
    /** Enter in the price. */
    void CenaEditKeyDown();
    void OKButtonClick();
    void naplnSeznamy();
    void ukazCeny();
    /** After a refused save: the lists and prices again, with the prices set that still apply. */
    void obnov();

    std::unique_ptr<Ui::TDefinovaniCen> ui;
    QList<int> m_typyPokoju;
    std::vector<CenaPokoje> *m_cenyNovychTypu = nullptr;
    NazvyTypu m_nazvy;   // what a refused save names
    std::unique_ptr<TypyDnu> m_typyDnu;
    std::unique_ptr<TypyKlientu> m_typyKlientu;
    std::unique_ptr<CenyPokoju> m_ceny;
};
