#include "db/CiselneRady.h"

#include "db/DatabaseError.h"
#include "db/SqlZamky.h"
#include "db/TMojeQuery.h"

namespace CiselneRady {

namespace {
QString nazev(Rada rada)
{
    switch (rada) {
    case Rada::Objednavka:
        return QStringLiteral("objednavka");
    case Rada::Klient:
        return QStringLiteral("klient");
    case Rada::Host:
        return QStringLiteral("host");
    case Rada::MimoProvoz:
        return QStringLiteral("mimo_provoz");
    }
    return {};
}

// The highest number stored, read from an index's end: numbers a desk of an
// older version wrote as the maximum plus one are never given again.
QString nejvyssi(Rada rada)
{
    switch (rada) {
    case Rada::Objednavka:
        return QStringLiteral("SELECT MAX(cislo_objednavky) FROM objednavky_pokoje_tab");
    case Rada::Klient:
        return QStringLiteral("SELECT MAX(klient_id) FROM klienti_tab");
    case Rada::Host:
        return QStringLiteral("SELECT MAX(host_id) FROM hoste_tab");
    case Rada::MimoProvoz:
        return QStringLiteral("SELECT MAX(mimo_provoz_id) FROM mimo_provoz_tab");
    }
    return {};
}
} // namespace

void zaloz(TMojeQuery &q)
{
    for (Rada rada : {Rada::Objednavka, Rada::Klient, Rada::Host, Rada::MimoProvoz})
        q.exec(SqlZamky::insertSeriesAt(q.format(), nazev(rada), nejvyssi(rada)));
}

int vezmi(TMojeQuery &q, Rada rada, int count)
{
    Q_ASSERT(count >= 1);
    const QString update = SqlZamky::reserveNumbers(q.format(), nazev(rada), nejvyssi(rada), count);
    q.exec(update);
    if (q.rowsAffected() == 0) {
        // A database made before the series existed.
        q.exec(SqlZamky::insertSeries(q.format(), nazev(rada)));
        q.exec(update);
        if (q.rowsAffected() == 0)
            throw DatabaseError(QStringLiteral("ciselne_rady_tab: ") + nazev(rada));
    }
    q.setSql(SqlZamky::selectLastReserved());
    q.open();
    return q.integer(QStringLiteral("posledni")) - count + 1;
}

} // namespace CiselneRady
