#pragma once

#include "gui/TDialog.h"

#include <memory>

class ModelKlientu;
class Objednavka;
class Objednavky;

namespace Ui {
class TRezervaceSmazRezervaci;
}

/**
 * Cancelling reservations: the chosen client's reservation numbers, the
 * first and last day of the selected one, and its deletion after a
 * confirmation. Each deletion is written at once.
 */
class TRezervaceSmazRezervaci : public TDialog
{
    Q_OBJECT
public:
    explicit TRezervaceSmazRezervaci(QWidget *parent = nullptr);
    ~TRezervaceSmazRezervaci() override;

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void KlientComboBoxChange();
    void RezervaceListBoxClick();
    void SmazRezervaciButtonClick();
    void OKButtonClick();
    /** The reservation of the selected line (by position: a number may repeat); none when nothing is selected. */
    const Objednavka *vybranaObjednavka() const;

    std::unique_ptr<Ui::TRezervaceSmazRezervaci> ui;
    ModelKlientu *m_klienti;
    std::unique_ptr<Objednavky> m_objednavky;
    int m_klientId = -1;   // whose reservations are listed (set by FormShow)
};
