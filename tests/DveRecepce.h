#pragma once

// One table of two-desk cases over every save: this desk loads its copy and
// edits it, the other desk stores on its own connection meanwhile, then this
// desk saves. The other desk's rows must survive, and a save that would undo
// or overwrite them must be refused whole as a conflict.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct DvouRecepcniPripad
{
    QString nazev;
    /** Statements that arrange the tables before this desk loads. */
    QStringList pripravit;
    /** This desk: loads its copy and edits it; returns the save, run after the other desk acted. */
    std::function<std::function<void()>()> tatoRecepce;
    /** Statements of the other desk between this desk's load and its save, on a connection of its own. */
    QStringList jinaRecepce;
    /** True when the save must be refused as a conflict (and write nothing). */
    bool konflikt = false;
    /** A select checked after the save, and its rows (columns joined by '|', in the select's order). */
    QString dotaz;
    QStringList ocekavane;
};

// Each area adds its rows to the one table.
QList<DvouRecepcniPripad> pripadyPokoju();     // rooms and room groups
QList<DvouRecepcniPripad> pripadyTypuPokoju(); // room types and prices
QList<DvouRecepcniPripad> pripadyTypuDnu();    // day types and their calendar
