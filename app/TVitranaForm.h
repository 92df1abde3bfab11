#pragma once

#include "db/Configuration.h"

#include <QMainWindow>
#include <memory>

class ObsazenostGrid;
class Pripojeni;
class QAction;
class QDateTimeEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTabBar;
class SkupinyPokoju;
class TAboutBox;
class TAdministraceSpolupraceSWebem;

/**
 * The main window: the span pickers, one tab per room group and the
 * occupancy grid of the selected group; its menu opens every dialog.
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

    ObsazenostGrid *grid() const { return m_grid; }
    /** The web cooperation dialog (its exports are started from other dialogs too). */
    TAdministraceSpolupraceSWebem *spolupraceSWebem() const { return m_spolupraceSWebem; }

public slots:
    void ZobrazButtonClick();
    void ObsazenostPokojuTabControlChange();
    void OAplikaciClick();
    void SpolupraceSWebemClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate(const Configuration &config, bool emptyHotel);
    void FormShow();
    void createControls();
    void createMenu();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption);
    void fitClientArea();

    std::unique_ptr<Pripojeni> m_pripojeni;
    std::unique_ptr<SkupinyPokoju> m_skupiny;

    QScrollArea *m_scroll = nullptr;
    QWidget *m_client = nullptr;
    QDateTimeEdit *m_od = nullptr;
    QDateTimeEdit *m_do = nullptr;
    QPushButton *m_zobraz = nullptr;
    QTabBar *m_taby = nullptr;
    ObsazenostGrid *m_grid = nullptr;

    TAboutBox *m_aboutBox = nullptr;
    TAdministraceSpolupraceSWebem *m_spolupraceSWebem = nullptr;
    int m_listenPort = 9876;
};
