#include "model/Obsazenost.h"

#include "db/SqlPokoje.h"
#include "db/SqlStavPokoju.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QHash>
#include <functional>

namespace {
int dayCount(const QDate &prvni, const QDate &posledni)
{
    return static_cast<int>(qMax<qint64>(0, prvni.daysTo(posledni) + 1));
}
} // namespace

namespace {
// Every row of a map of the rooms over the days, filled from a statement of
// pokoj_id, od_kdy, do_kdy: mark(row, day, q) for each day a row covers.
template <class Mark>
void fill(const Pokoje &pokoje, const QDate &prvni, int days, const std::function<QString(const QList<int> &)> &select,
          Mark mark)
{
    if (pokoje.size() == 0 || days == 0)
        return;
    QHash<int, QList<int>> rowsOfRoom;   // a room may stand in several rows
    QList<int> ids;
    for (std::size_t row = 0; row < pokoje.size(); ++row) {
        const int id = pokoje.prvky()[row].pokoj_id;
        if (!rowsOfRoom.contains(id))
            ids << id;
        rowsOfRoom[id] << static_cast<int>(row);
    }

    TMojeQuery q;
    q.setSql(select(ids));
    q.open();
    for (; !q.eof(); q.next()) {
        const int from = static_cast<int>(qMax<qint64>(0, prvni.daysTo(q.date("od_kdy"))));
        const int to = static_cast<int>(qMin<qint64>(days - 1, prvni.daysTo(q.date("do_kdy"))));
        for (int row : rowsOfRoom.value(q.integer("pokoj_id")))
            for (int day = from; day <= to; ++day)
                mark(row, day, q);
    }
}
} // namespace

MapaObsazenosti nactiObsazenost(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni)
{
    const int days = dayCount(prvni, posledni);
    MapaObsazenosti mapa(pokoje.size(), std::vector<bool>(days, false));
    fill(pokoje, prvni, days, [&](const QList<int> &ids) { return SqlPokoje::selectStaysInSpan(ids, prvni, posledni); },
         [&](int row, int day, const TMojeQuery &) { mapa[row][day] = true; });
    return mapa;
}

MapaObsazenosti nactiUbytovani(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni)
{
    const int days = dayCount(prvni, posledni);
    MapaObsazenosti mapa(pokoje.size(), std::vector<bool>(days, false));
    fill(pokoje, prvni, days,
         [&](const QList<int> &ids) { return SqlStavPokoju::selectCheckedInStays(ids, prvni, posledni); },
         [&](int row, int day, const TMojeQuery &) { mapa[row][day] = true; });
    return mapa;
}

MapaMimoProvozu nactiMimoProvoz(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni)
{
    const int days = dayCount(prvni, posledni);
    MapaMimoProvozu mapa(pokoje.size(), std::vector<QString>(days));
    fill(pokoje, prvni, days,
         [&](const QList<int> &ids) { return SqlStavPokoju::selectOutOfOrderOfRooms(ids, prvni, posledni); },
         [&](int row, int day, const TMojeQuery &q) {
             // Never null: a span without a reason is still out of order.
             const QString duvod = q.text(QStringLiteral("duvod"));
             mapa[row][day] = duvod.isEmpty() ? QCoreApplication::translate("Obsazenost", "bez udaného důvodu") : duvod;
         });
    return mapa;
}
