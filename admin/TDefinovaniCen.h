#pragma once

#include "gui/TDialog.h"

#include <QList>
#include <memory>

class CenyPokoju;
class TypyDnu;
class TypyKlientu;

namespace Ui {
class TDefinovaniCen;
}

/**
 * Sets prices in bulk for the room types it is opened for: every chosen
 * day type and client type gets the typed price; OK writes the price table.
 * Beside the lists it shows what those room types cost now.
 */
class TDefinovaniCen : public TDialog
{
    Q_OBJECT
public:
    explicit TDefinovaniCen(QWidget *parent = nullptr);
    ~TDefinovaniCen() override;

    using TDialog::ukaz;
    /** Shows the dialog modally for these room types (kept for later openings). */
    int ukaz(const QList<int> &typyPokoju);

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void NastavCenuButtonClick();
    void CenaEditKeyDown(QKeyEvent *key);
    void OKButtonClick();
    void StornoButtonClick();
    void ukazCeny();

    std::unique_ptr<Ui::TDefinovaniCen> ui;
    QList<int> m_typyPokoju;
    std::unique_ptr<TypyDnu> m_typyDnu;
    std::unique_ptr<TypyKlientu> m_typyKlientu;
    std::unique_ptr<CenyPokoju> m_ceny;
};
