#pragma once

#include "gui/TDialog.h"
#include "web/engine/SpolupraceSWebem.h"

#include <memory>

namespace Ui {
class TAdministraceSpolupraceSWebem;
}

/**
 * The web cooperation dialog: the site's address and the desk's identity,
 * the exports, the import and the IP registration, the server's reply, what
 * waits and how the last export and import ended. A view of the engine
 * (SpolupraceSWebem), which the desk's core owns and which works whether
 * the dialog exists, is shown or not; it must outlive the dialog.
 */
class TAdministraceSpolupraceSWebem : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceSpolupraceSWebem(SpolupraceSWebem *spoluprace, QWidget *parent = nullptr);
    ~TAdministraceSpolupraceSWebem() override;

    /** The engine it shows. */
    SpolupraceSWebem *spoluprace() const { return m_spoluprace; }
    /** The port the listener is bound to; 0 when it could not listen. */
    quint16 portNaslouchani() const { return m_spoluprace->portNaslouchani(); }

public slots:
    void PripojButtonClick();
    void ExportTypuPokojuButtonClick();
    /** Starts the prices and occupancy export, which waits for a connection if need be. */
    void ExportCenObsazenostiButtonClick();
    void ImportRezervaciButtonClick();
    void UlozIPAdresuButtonClick();
    void ZavriButtonClick();

protected:
    void FormShow() override;

private:
    void pridejOdpoved(const QString &data);
    void ukazPripojeni(bool pripojeno);
    void ukazStav();
    void ukazChybu(const QString &text, bool odRecepcniho);

    std::unique_ptr<Ui::TAdministraceSpolupraceSWebem> ui;
    SpolupraceSWebem *m_spoluprace;
    QString m_posledniChyba;
};
