#pragma once

#include "db/Configuration.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace Ui {
class TVitranaForm;
}
class ObsazenostGrid;
class QLabel;
class Pripojeni;
class SkupinyPokoju;
class TAboutBox;
class TAdministracePokoje;
class TAdministraceSkupinyPokoju;
class TAdministraceSpolupraceSWebem;
class TAdministraceTypyDni;
class TAdministraceTypyPokoju;
class TDefinovaniCen;
class TKlientiUpravUdaje;
class TNastaveniDnuUTypuDne;
class TNovaRezervace;
class TPridaniKlienta;
class TRezervaceSmazRezervaci;

/**
 * The main window: the span pickers, one tab per room group and the
 * occupancy grid of the selected group; its menu opens every dialog
 * (from the event loop, so the item's own call returns at once).
 * It owns the database connection for the whole run.
 */
class TVitranaForm : public QMainWindow
{
    Q_OBJECT
public:
    /** Connects to the database (FormCreate); see jePripojeno(). */
    TVitranaForm(const Configuration &config, bool emptyHotel, QWidget *parent = nullptr);
    ~TVitranaForm() override;

    bool jePripojeno() const;
    /** Creates every dialog once, in start-up order, and enables its menu item. */
    void createDialogs();
    /** Draws the grid for the pickers' span and the selected tab. */
    void refresh();
    /** Loads the room groups again and rebuilds the tabs (after the rooms or groups were saved). */
    void nactiSkupiny();

    ObsazenostGrid *grid() const;
    /** The web cooperation dialog (its exports are started from other dialogs too). */
    TAdministraceSpolupraceSWebem *spolupraceSWebem() const { return m_spolupraceSWebem; }

public slots:
    void ZobrazButtonClick();
    void ObsazenostPokojuTabControlChange();
    void MenuKlientiNovyKlientClick();
    void MenuKlientiUpravUdajeClick();
    void MenuRezervaceNovaRezervaceClick();
    void SmazRezervaciClick();
    void MenuAdministracePokojeClick();
    void MenuAdministraceTypyPokojuClick();
    void MenuAdministraceSkupinyPokojuClick();
    void MenuAdministraceTypyDniClick();
    void SpolupraceSWebemClick();
    void OAplikaciClick();
    void MrizkaObsazenostiDblClick(const QString &cisloPokoje, const QDate &den);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate(const Configuration &config, bool emptyHotel);
    void FormShow();
    void vyplnTaby();
    void ukazObsahDatabaze();
    /** Runs a dialog's opening from the event loop; skipped while a modal dialog is up. */
    void otevriZeSmycky(std::function<void()> otevri);
    void novaRezervace();

    std::unique_ptr<Ui::TVitranaForm> ui;
    std::unique_ptr<Pripojeni> m_pripojeni;
    std::unique_ptr<SkupinyPokoju> m_skupiny;
    int m_listenPort = 9876;
    QString m_titulek;                 // the caption without the notice below
    QLabel *m_obsahLabel = nullptr;    // "sample hotel" or "empty hotel", so nobody takes it for the real one

    // The dialogs, in the order they are created.
    TAdministracePokoje *m_pokoje = nullptr;
    TAdministraceSkupinyPokoju *m_skupinyPokoju = nullptr;
    TAdministraceTypyPokoju *m_typyPokoju = nullptr;
    TDefinovaniCen *m_definovaniCen = nullptr;
    TPridaniKlienta *m_pridaniKlienta = nullptr;
    TNovaRezervace *m_novaRezervace = nullptr;
    TAdministraceTypyDni *m_typyDni = nullptr;
    TNastaveniDnuUTypuDne *m_nastaveniDnu = nullptr;
    TKlientiUpravUdaje *m_upravUdaje = nullptr;
    TRezervaceSmazRezervaci *m_smazRezervaci = nullptr;
    TAboutBox *m_aboutBox = nullptr;
    TAdministraceSpolupraceSWebem *m_spolupraceSWebem = nullptr;
};
