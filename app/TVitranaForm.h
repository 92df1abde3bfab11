#pragma once

#include <QDate>
#include <QMainWindow>
#include <functional>
#include <memory>

namespace Ui {
class TVitranaForm;
}
class ObsazenostGrid;
class QLabel;
class Recepce;
class SkupinyPokoju;
class TAboutBox;
class TAdministracePokoje;
class TAdministraceSkupinyPokoju;
class TAdministraceSpolupraceSWebem;
class TAdministraceTypyDni;
class THistorieZmen;
class TUdajeOHotelu;
class TStavPokoju;
class TDomovniKniha;
class TUbyport;
class TEvidencniKniha;
class TPrehledy;
class TAdministraceTypyPokoju;
class TDefinovaniCen;
class TKlientiUpravUdaje;
class TNastaveniDnuUTypuDne;
class TNovaRezervace;
class TPridaniKlienta;
class TRezervaceSmazRezervaci;
class TPrijezdyAOdjezdy;
class TPrijezdHosta;
class TOdjezdHosta;
class QProgressDialog;
class ZalohovaniNaPozadi;

/**
 * The main window: the span pickers, one tab per room group and the
 * occupancy grid of the selected group; its menu opens every dialog
 * (from the event loop, so the item's own call returns at once).
 * A view of the desk's core, which the application owns and which must
 * outlive it.
 */
class TVitranaForm : public QMainWindow
{
    Q_OBJECT
public:
    /** Over a connected core (Recepce::pripoj). */
    explicit TVitranaForm(Recepce *recepce, QWidget *parent = nullptr);
    ~TVitranaForm() override;

    /** Creates every dialog once, in start-up order, and enables its menu item. */
    void createDialogs();
    /** Draws the grid for the pickers' span and the selected tab. */
    void refresh();
    /** Loads the room groups again and rebuilds the tabs (after the rooms or groups were saved). */
    void nactiSkupiny();
    /**
     * Reads the history's newest id; when it moved since the last look (a
     * save at any desk), loads the groups and the grid again, without a
     * question or a box. Runs every few seconds; a quiet hotel costs one
     * tiny read.
     */
    void zkontrolujZmeny();
    /** The status bar's red count of foreign guests not reported to the police by their deadline. */
    void ukazHlaseniPoTerminu(const QDate &dnes);

    ObsazenostGrid *grid() const;
    /**
     * Backs the hotel database up into `soubor` on a worker, with its
     * progress shown in a window-modal box that can cancel it; the outcome is
     * told in a box. False when a backup already runs.
     */
    bool zalohujDo(const QString &soubor);
    /** The web cooperation dialog (its exports are started from other dialogs too). */
    TAdministraceSpolupraceSWebem *spolupraceSWebem() const { return m_spolupraceSWebem; }

public slots:
    void ZobrazButtonClick();
    void ObsazenostPokojuTabControlChange();
    void MenuKlientiNovyKlientClick();
    void MenuKlientiUpravUdajeClick();
    void MenuRezervaceNovaRezervaceClick();
    void SmazRezervaciClick();
    void MenuRezervacePrijezdyAOdjezdyClick();
    void MenuRezervacePrijezdHostaClick();
    void MenuRezervaceOdjezdHostaClick();
    void MenuAdministracePokojeClick();
    void MenuAdministraceTypyPokojuClick();
    void MenuAdministraceSkupinyPokojuClick();
    void MenuAdministraceTypyDniClick();
    void MenuAdministraceHistorieZmenClick();
    void MenuAdministraceUdajeOHoteluClick();
    void MenuUklidStavPokojuClick();
    void MenuKnihyDomovniKnihaClick();
    void MenuKnihyUbyportClick();
    void MenuKnihyEvidencniKnihaClick();
    void MenuAdministracePrehledyClick();
    void SpolupraceSWebemClick();
    /** Asks for a file, then backs the hotel database up into it (zalohujDo). */
    void ZalohaDatabazeClick();
    void OAplikaciClick();
    void MrizkaObsazenostiDblClick(const QString &cisloPokoje, const QDate &den);
    /** A reserved square chosen: the check-in of the stay there, chosen in its window. */
    void MrizkaObsazenostiPrijezd(int pokojId, const QString &cisloPokoje, const QDate &den);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void vyplnTaby();
    void ukazObsahDatabaze();
    /** Runs a dialog's opening from the event loop; skipped while a modal dialog is up. */
    void otevriZeSmycky(std::function<void()> otevri);
    void novaRezervace();

    std::unique_ptr<Ui::TVitranaForm> ui;
    Recepce *m_recepce;
    std::unique_ptr<SkupinyPokoju> m_skupiny;
    qint64 m_posledniZmena = -1;       // the history's newest id when the window last looked
    QDate m_denHlaseni;                // the day the overdue reports were last counted for
    QLabel *m_hlaseniLabel = nullptr;
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
    THistorieZmen *m_historieZmen = nullptr;
    TPrehledy *m_prehledy = nullptr;
    TUdajeOHotelu *m_udajeOHotelu = nullptr;
    TStavPokoju *m_stavPokoju = nullptr;
    TDomovniKniha *m_domovniKniha = nullptr;
    TUbyport *m_ubyport = nullptr;
    TEvidencniKniha *m_evidencniKniha = nullptr;
    TNastaveniDnuUTypuDne *m_nastaveniDnu = nullptr;
    TKlientiUpravUdaje *m_upravUdaje = nullptr;
    TRezervaceSmazRezervaci *m_smazRezervaci = nullptr;
    TPrijezdyAOdjezdy *m_prijezdyAOdjezdy = nullptr;
    TPrijezdHosta *m_prijezdHosta = nullptr;
    TOdjezdHosta *m_odjezdHosta = nullptr;
    TAboutBox *m_aboutBox = nullptr;
    TAdministraceSpolupraceSWebem *m_spolupraceSWebem = nullptr;

    ZalohovaniNaPozadi *m_zalohovani = nullptr;   // the menu's backups, one at a time
    QProgressDialog *m_prubehZalohy = nullptr;
};
