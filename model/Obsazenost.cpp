#include "model/Obsazenost.h"

#include "db/SqlPokoje.h"
#include "db/TMojeQuery.h"

#include <QHash>

namespace {
int dayCount(const QDate &prvni, const QDate &posledni)
{
    return static_cast<int>(qMax<qint64>(0, prvni.daysTo(posledni) + 1));
}
} // namespace

MapaObsazenosti nactiObsazenost(const Pokoje &pokoje, const QDate &prvni, const QDate &posledni)
{
    const int days = dayCount(prvni, posledni);
    MapaObsazenosti mapa(pokoje.size(), std::vector<bool>(days, false));
    if (pokoje.size() == 0 || days == 0)
        return mapa;

    QHash<int, QList<int>> rowsOfRoom;   // a room may stand in several rows
    QList<int> ids;
    for (std::size_t row = 0; row < pokoje.size(); ++row) {
        const int id = pokoje.prvky()[row].pokoj_id;
        if (!rowsOfRoom.contains(id))
            ids << id;
        rowsOfRoom[id] << static_cast<int>(row);
    }

    TMojeQuery q;
    q.setSql(SqlPokoje::selectStaysInSpan(ids, prvni, posledni));
    q.open();
    for (; !q.eof(); q.next()) {
        const int from = static_cast<int>(qMax<qint64>(0, prvni.daysTo(q.date("od_kdy"))));
        const int to = static_cast<int>(qMin<qint64>(days - 1, prvni.daysTo(q.date("do_kdy"))));
        for (int row : rowsOfRoom.value(q.integer("pokoj_id")))
            for (int day = from; day <= to; ++day)
                mapa[row][day] = true;
    }
    return mapa;
}
