#pragma once

#include "gui/TDialog.h"

#include <memory>

class UdajeHotelu;
struct UdajeOHotelu;
class QLineEdit;

namespace Ui {
class TUdajeOHotelu;
}

/**
 * The hotel's particulars: the operator, the facility for the police
 * reports, the stay fee and the bank account, and the fee's exemption
 * reasons. Each field is checked as it is typed (the fault shows below);
 * OK refuses a fault naming the field, otherwise stores what changed.
 */
class TUdajeOHotelu : public TDialog
{
    Q_OBJECT
public:
    explicit TUdajeOHotelu(QWidget *parent = nullptr);
    ~TUdajeOHotelu() override;

protected:
    void FormShow() override;

private:
    void PridejOsvobozeniButtonClick();
    void OdstranOsvobozeniButtonClick();
    void OKButtonClick();
    /** The form's values as particulars; sazbaOk false when the rate is not a number. */
    UdajeOHotelu zFormulare(bool *sazbaOk) const;
    void doFormulare(const UdajeOHotelu &u);
    void vypisOsvobozeni();
    /** Shows the first fault of what is typed, and marks its field. */
    void zkontroluj();
    /** The fault of the form, empty when none; pole gets the field it names. */
    QString chybaFormulare(QWidget **pole) const;
    void obnov();

    std::unique_ptr<Ui::TUdajeOHotelu> ui;
    std::unique_ptr<UdajeHotelu> m_udaje;
};
