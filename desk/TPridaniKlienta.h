#pragma once

#include "gui/TDialog.h"
#include "model/Klienti.h"

#include <QList>
#include <QPair>
#include <memory>

class QLabel;
class QLineEdit;

namespace Ui {
class TPridaniKlienta;
}

/**
 * Recording a new client: the chosen client type decides which attributes
 * are asked, one labelled edit box each, and "Přidej" stores the client with
 * exactly those attributes and the type.
 */
class TPridaniKlienta : public TDialog
{
    Q_OBJECT
public:
    /** Reads the attribute labels; they are not read again while the desk runs. */
    explicit TPridaniKlienta(QWidget *parent = nullptr);
    ~TPridaniKlienta() override;

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void TypKlientaComboBoxChange();
    void PridejButtonClick();
    void zrusPolozky();

    std::unique_ptr<Ui::TPridaniKlienta> ui;
    PopisyPolozekKlienta m_popisy;
    std::unique_ptr<TypyKlientu> m_typy;
    QList<QLabel *> m_popisky;
    QList<QPair<QString, QLineEdit *>> m_polozky;   // (column, edit box) in form order
};
