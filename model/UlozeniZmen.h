#pragma once

// The one way a set-up collection stores what its dialog changed: in a save
// of the database layer (locked rows, run again when another desk won the
// race), the table read again, the rows this copy changes or removes still
// as loaded, the names it adds still free, ids for the new rows that no
// row anywhere refers to, then the collection's own writes and history.
// A collection gives only what differs: its table, its statements, its checks.

#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Zmeny.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>
#include <vector>

template <class T>
struct UlozeniZmen
{
    /** Rows of zamky_tab the save locks (SqlZamky). */
    QStringList zamky;
    /** The table as stored now. */
    std::function<std::vector<T>(TMojeQuery &)> nacti;
    std::function<int(const T &)> idOf;
    /** The unique name of a row; none when the table has no unique name. */
    std::function<QString(const T &)> nazevOf;
    /** Names the row for the user: "Pokoj „101“". */
    std::function<QString(const T &)> popis;
    /** Ids that rows of other tables still refer to: a new row must not take them over. */
    std::function<QSet<int>(TMojeQuery &)> pouzitaId;
    /** Further checks, after the common ones; throw Konflikt to refuse. */
    std::function<void(TMojeQuery &, const std::vector<T> &tabulka)> over;
    /** The writes and the history; noveId maps each provisional id to the id stored. */
    std::function<void(TMojeQuery &, const std::vector<T> &tabulka, const QHash<int, int> &noveId)> zapis;

    /**
     * Stores z (the caller skips a save without changes); returns the ids the added rows got (provisional -> stored).
     * Throws DatabaseError (Konflikt for what another desk did meanwhile)
     * with nothing stored.
     */
    QHash<int, int> uloz(TMojeDatabaze &db, const Zmeny<T> &z) const
    {
        QHash<int, int> noveId;
        db.save(zamky, [&](TMojeQuery &q) {
            noveId.clear();   // a run again after a lost race starts afresh
            const std::vector<T> tabulka = nacti(q);
            overZmeny(z, tabulka, idOf, popis);
            QSet<int> odstranene;
            for (const T &r : z.odstranene)
                odstranene.insert(idOf(r));
            if (nazevOf) {
                const auto volny = [&](const T &r) {
                    for (const T &t : tabulka)
                        if (nazevOf(t) == nazevOf(r) && idOf(t) != idOf(r) && !odstranene.contains(idOf(t)))
                            throw Konflikt::pridan(popis(r));
                };
                for (const T &r : z.pridane)
                    volny(r);
                for (const auto &[nacteny, novy] : z.zmenene)
                    if (nazevOf(nacteny) != nazevOf(novy))
                        volny(novy);
            }
            if (over)
                over(q, tabulka);
            QSet<int> obsazena = pouzitaId ? pouzitaId(q) : QSet<int>();
            for (const T &t : tabulka)
                obsazena.insert(idOf(t));
            int id = 0;
            for (const T &r : z.pridane) {
                do
                    ++id;
                while (obsazena.contains(id));
                noveId.insert(idOf(r), id);
            }
            zapis(q, tabulka, noveId);
        });
        return noveId;
    }
};
