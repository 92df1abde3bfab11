#include "model/StavPokoju.h"
#include "model/Historie.h"
#include "model/Zmeny.h"

#include "db/CiselneRady.h"
#include "db/SqlStavPokoju.h"
#include "db/SqlZamky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("StavPokoju", text);
}

QString pokojText(const QString &cisloPokoje)
{
    return tr("Pokoj %1").arg(Konflikt::uvozovky(cisloPokoje));
}

MimoProvoz readSpan(const TMojeQuery &q)
{
    return {q.integer(QStringLiteral("mimo_provoz_id")), q.integer(QStringLiteral("pokoj_id")),
            q.date(QStringLiteral("od_kdy")), q.date(QStringLiteral("do_kdy")), q.text(QStringLiteral("duvod"))};
}

std::vector<MimoProvoz> readSpans(TMojeQuery &q, const QString &select)
{
    std::vector<MimoProvoz> spans;
    q.setSql(select);
    for (q.open(); !q.eof(); q.next())
        spans.push_back(readSpan(q));
    return spans;
}

QString popisSpanu(const MimoProvoz &m, const QString &cisloPokoje)
{
    return tr("pokoj %1, %2 – %3 (%4)")
        .arg(cisloPokoje, Historie::datum(m.od_kdy), Historie::datum(m.do_kdy), m.duvod);
}
} // namespace

QString nazevUklidu(Uklid stav)
{
    switch (stav) {
    case Uklid::Cisty:
        return tr("Čistý");
    case Uklid::Spinavy:
        return tr("Špinavý");
    case Uklid::Zkontrolovany:
        return tr("Zkontrolovaný");
    }
    return {};
}

Uklid uklidZCisla(int stav)
{
    switch (stav) {
    case 0:
        return Uklid::Cisty;
    case 2:
        return Uklid::Zkontrolovany;
    default:
        return Uklid::Spinavy;
    }
}

namespace StavyPokoju {

std::vector<StavPokoje> nacti(TMojeQuery &q, const QDate &den)
{
    std::vector<StavPokoje> pokoje;
    q.setSql(SqlStavPokoju::selectRooms(den));
    for (q.open(); !q.eof(); q.next()) {
        StavPokoje p;
        p.pokoj_id = q.integer(QStringLiteral("pokoj_id"));
        p.cislo_pokoje = q.text(QStringLiteral("cislo_pokoje"));
        p.typ_pokoje = q.text(QStringLiteral("nazev_typu_pokoje"));
        p.stav = uklidZCisla(q.integer(QStringLiteral("stav")));
        p.mimo_provoz = q.integer(QStringLiteral("mimo_provoz")) != 0;
        p.duvod = q.text(QStringLiteral("duvod"));
        p.odjezd = q.integer(QStringLiteral("odjezd")) != 0;
        p.zustava = q.integer(QStringLiteral("zustava")) != 0;
        p.prijezd = q.integer(QStringLiteral("prijezd")) != 0;
        pokoje.push_back(p);
    }
    return pokoje;
}

QHash<int, Uklid> nactiUklid(TMojeQuery &q)
{
    QHash<int, Uklid> stavy;
    q.setSql(SqlStavPokoju::selectStatuses());
    for (q.open(); !q.eof(); q.next()) {
        const Uklid stav = uklidZCisla(q.integer(QStringLiteral("stav")));
        if (stav != Uklid::Cisty)
            stavy.insert(q.integer(QStringLiteral("pokoj_id")), stav);
    }
    return stavy;
}

void zmen(int pokojId, const QString &cisloPokoje, Uklid jakNacteny, Uklid novy)
{
    // The room's row, as check-out takes it when it makes the room dirty.
    TMojeDatabaze::current().save({SqlZamky::pokoj(pokojId)}, [&](TMojeQuery &q) {
        q.setSql(SqlStavPokoju::selectStatus(pokojId));
        q.open();
        if (q.integer(QStringLiteral("pokoj_existuje")) == 0)
            throw Konflikt::odstranen(pokojText(cisloPokoje));
        if (uklidZCisla(q.integer(QStringLiteral("stav"))) != jakNacteny)
            throw Konflikt::zmenen(tr("Stav pokoje %1").arg(Konflikt::uvozovky(cisloPokoje)));
        // Asked even so: the desk shows the room as it is.
        if (novy == jakNacteny)
            return;
        q.exec(SqlStavPokoju::writeStatus(pokojId, int(novy)));
        Historie::zapis(tr("Stav pokoje %1: %2 → %3").arg(cisloPokoje, nazevUklidu(jakNacteny), nazevUklidu(novy)),
                        Historie::ids(QStringLiteral("pokoj"), {pokojId}));
    });
}

} // namespace StavyPokoju

namespace MimoProvozPokoju {

std::vector<MimoProvoz> nacti(TMojeQuery &q, const QDate &od, const QDate &dO)
{
    return readSpans(q, SqlStavPokoju::selectOutOfOrder(od, dO));
}

std::vector<MimoProvoz> nactiPokoje(TMojeQuery &q, int pokojId)
{
    return readSpans(q, SqlStavPokoju::selectOutOfOrderOfRoom(pokojId));
}

int pridej(const MimoProvoz &m, const QString &cisloPokoje, QStringList *rezervace)
{
    if (rezervace)
        rezervace->clear();
    if (!m.od_kdy.isValid() || !m.do_kdy.isValid() || m.od_kdy > m.do_kdy)
        return -1;
    int id = -1;
    // A booking of the room locks the same row: it waits for this save, or
    // this one for it, and whichever comes second sees the other's nights.
    TMojeDatabaze::current().save({SqlZamky::pokoj(m.pokoj_id)}, [&](TMojeQuery &q) {
        id = -1;
        q.setSql(SqlStavPokoju::selectStatus(m.pokoj_id));
        q.open();
        if (q.integer(QStringLiteral("pokoj_existuje")) == 0)
            throw Konflikt::odstranen(pokojText(cisloPokoje));
        QStringList pobyty;
        q.setSql(SqlStavPokoju::selectStaysOfRoom(m.pokoj_id, m.od_kdy, m.do_kdy));
        for (q.open(); !q.eof(); q.next())
            pobyty << tr("č. %1: %2")
                          .arg(q.text(QStringLiteral("cislo_objednavky")),
                               Historie::pobyt(q.text(QStringLiteral("cislo_pokoje")), q.date(QStringLiteral("od_kdy")),
                                               q.date(QStringLiteral("do_kdy")), q.text(QStringLiteral("jmeno"))));
        if (rezervace)
            *rezervace = pobyty;
        if (!pobyty.isEmpty())
            return;
        id = CiselneRady::vezmi(q, CiselneRady::Rada::MimoProvoz);
        q.exec(SqlStavPokoju::insertOutOfOrder(q.format(), id, m.pokoj_id, m.od_kdy, m.do_kdy, m.duvod));
        Historie::zapis(tr("Pokoj mimo provoz: %1").arg(popisSpanu(m, cisloPokoje)),
                        Historie::ids(QStringLiteral("pokoj"), {m.pokoj_id}) + u' '
                            + Historie::ids(QStringLiteral("mimo_provoz"), {id}));
    });
    return id;
}

void odstran(const MimoProvoz &jakNacteny, const QString &cisloPokoje)
{
    TMojeDatabaze::current().save({SqlZamky::pokoj(jakNacteny.pokoj_id)}, [&](TMojeQuery &q) {
        const std::vector<MimoProvoz> ted = readSpans(q, SqlStavPokoju::selectOutOfOrderById(jakNacteny.mimo_provoz_id));
        const QString co = tr("Mimo provoz %1").arg(popisSpanu(jakNacteny, cisloPokoje));
        if (ted.empty())
            throw Konflikt::odstranen(co);
        if (!(ted.front() == jakNacteny))
            throw Konflikt::zmenen(co);
        q.exec(SqlStavPokoju::deleteOutOfOrder(jakNacteny.mimo_provoz_id));
        Historie::zapis(tr("Pokoj opět v provozu: %1").arg(popisSpanu(jakNacteny, cisloPokoje)),
                        Historie::ids(QStringLiteral("pokoj"), {jakNacteny.pokoj_id}) + u' '
                            + Historie::ids(QStringLiteral("mimo_provoz"), {jakNacteny.mimo_provoz_id}));
    });
}

} // namespace MimoProvozPokoju
