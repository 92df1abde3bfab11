#include "web/engine/DataExportu.h"

#include "db/SqlFormat.h"
#include "db/SqlWeb.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QHash>
#include <QMap>
#include <algorithm>
#include <tuple>

namespace DataExportu {

QList<Exporty::TypPokoje> typyPokoju()
{
    TMojeQuery q;
    q.setSql(SqlWeb::selectTypyPokoju());
    QList<Exporty::TypPokoje> typy;
    for (q.open(); !q.eof(); q.next())
        typy.append({q.integer(QStringLiteral("typ_pokoje_id")), q.text(QStringLiteral("nazev_typu_pokoje")),
                     q.integer(QStringLiteral("pocet_luzek")), q.integer(QStringLiteral("pocet_pokoju"))});
    return typy;
}

namespace {
struct Den
{
    QDate datum;
    QString text;
    QList<int> typyDne;   // a day listed twice in the calendar has two
};

struct Pobyt
{
    int typ;
    int cislo;
    int od;   // days from the first exported day
    int dO;
};
} // namespace

QList<Exporty::CenaDne> cenyAObsazenost(TMojeDatabaze &databaze)
{
    // The rows: each room type with rooms and a price, by type, and each
    // calendar day of the year on which one of its day types has the type's
    // price, by day.
    TMojeQuery q(databaze);
    q.setSql(SqlWeb::selectCenyTypuDnu());
    QMap<int, QHash<int, QString>> cenyTypu;   // room type -> day type -> price as written
    for (q.open(); !q.eof(); q.next()) {
        QHash<int, QString> &ceny = cenyTypu[q.integer(QStringLiteral("typ_pokoje_id"))];
        const int typDne = q.integer(QStringLiteral("typ_dne_id"));
        if (!ceny.contains(typDne))
            ceny.insert(typDne, SqlFormat::price(q.real(QStringLiteral("cena"))));
    }
    if (cenyTypu.isEmpty())
        return {};
    q.setSql(SqlWeb::selectKalendarRoku());
    QList<Den> dny;
    for (q.open(); !q.eof(); q.next()) {
        const QDate datum = q.date(QStringLiteral("datum"));
        if (dny.isEmpty() || dny.last().datum != datum)
            dny.append({datum, SqlFormat::date(datum), {}});
        dny.last().typyDne.append(q.integer(QStringLiteral("typ_dne_id")));
    }

    QList<Exporty::CenaDne> ceny;
    QList<int> denRadku;   // each row's day, counted from the first day
    for (auto typ = cenyTypu.cbegin(); typ != cenyTypu.cend(); ++typ) {
        for (qsizetype d = 0; d < dny.size(); ++d) {
            for (int typDne : dny[d].typyDne) {
                const auto cena = typ->constFind(typDne);
                if (cena != typ->cend()) {
                    ceny.append({typ.key(), dny[d].text, *cena, 0});
                    denRadku.append(int(dny[d].datum.toJulianDay() - dny.first().datum.toJulianDay()));
                    break;
                }
            }
        }
    }
    if (ceny.isEmpty())
        return ceny;

    q.setSql(SqlWeb::selectTypyPokojuPokoju());
    QHash<int, int> typPokoje;   // room -> its type
    for (q.open(); !q.eof(); q.next())
        typPokoje.insert(q.integer(QStringLiteral("pokoj_id")), q.integer(QStringLiteral("typ_pokoje_id")));

    const int posledni = *std::max_element(denRadku.cbegin(), denRadku.cend());
    q.setSql(SqlWeb::selectPobytyVObdobi(dny.first().datum, dny.first().datum.addDays(posledni)));
    QList<Pobyt> pobyty;
    q.open();
    const QStringList sloupce = q.columnNames();
    const int cislo = int(sloupce.indexOf(QStringLiteral("cislo_objednavky"))),
              pokoj = int(sloupce.indexOf(QStringLiteral("pokoj_id"))), od = int(sloupce.indexOf(QStringLiteral("od"))),
              dO = int(sloupce.indexOf(QStringLiteral("do_")));
    for (; !q.eof(); q.next()) {
        const auto typ = typPokoje.constFind(q.integer(pokoj));
        const int prvni = std::max(0, q.integer(od));
        const int druhy = std::min(posledni, q.integer(dO));
        // A stay that ends before it begins covers no day; one of a room
        // that is gone belongs to no type.
        if (prvni <= druhy && typ != typPokoje.cend())
            pobyty.append({*typ, q.integer(cislo), prvni, druhy});
    }
    // A room out of order is as good as sold on those days: its spans count
    // as one reservation of the room (a number no reservation has), so
    // overlapping spans of one room count once.
    q.setSql(SqlWeb::selectMimoProvozVObdobi(dny.first().datum, dny.first().datum.addDays(posledni)));
    for (q.open(); !q.eof(); q.next()) {
        const int pokojId = q.integer(QStringLiteral("pokoj_id"));
        const auto typ = typPokoje.constFind(pokojId);
        const int prvni = std::max(0, q.integer(QStringLiteral("od")));
        const int druhy = std::min(posledni, q.integer(QStringLiteral("do_")));
        if (prvni <= druhy && typ != typPokoje.cend())
            pobyty.append({*typ, -1 - pokojId, prvni, druhy});
    }

    // A reservation counts once a day per type however many of its rooms of
    // the type cover the day: its stays of one type are merged into runs of
    // days first, then each run adds one to its days.
    std::sort(pobyty.begin(), pobyty.end(), [](const Pobyt &a, const Pobyt &b) {
        return std::tie(a.typ, a.cislo, a.od) < std::tie(b.typ, b.cislo, b.od);
    });
    QHash<int, QList<int>> zmeny;   // per type: +1 where a run begins, -1 the day after it ends
    for (qsizetype i = 0; i < pobyty.size();) {
        const int typ = pobyty[i].typ, cislo = pobyty[i].cislo;
        QList<int> &zmenyTypu = zmeny[typ];
        if (zmenyTypu.isEmpty())
            zmenyTypu.resize(posledni + 2, 0);
        const auto pridejBeh = [&](int od, int dO) {
            ++zmenyTypu[od];
            --zmenyTypu[dO + 1];
        };
        int od = pobyty[i].od, dO = pobyty[i].dO;
        for (++i; i < pobyty.size() && pobyty[i].typ == typ && pobyty[i].cislo == cislo; ++i) {
            if (pobyty[i].od <= dO + 1) {
                dO = std::max(dO, pobyty[i].dO);
            } else {
                pridejBeh(od, dO);
                od = pobyty[i].od;
                dO = pobyty[i].dO;
            }
        }
        pridejBeh(od, dO);
    }
    // Each type's running sum over the days; the rows of a type come by day.
    for (qsizetype i = 0; i < ceny.size();) {
        const int typ = ceny[i].typ_pokoje_id;
        const auto it = zmeny.constFind(typ);
        int obsazeno = 0;
        int den = 0;
        for (; i < ceny.size() && ceny[i].typ_pokoje_id == typ; ++i) {
            if (it != zmeny.constEnd()) {
                for (; den <= denRadku[i]; ++den)
                    obsazeno += it->at(den);
            }
            ceny[i].rezervovano = obsazeno;
        }
    }
    return ceny;
}

QList<Exporty::CenaDne> cenyAObsazenost()
{
    return cenyAObsazenost(TMojeDatabaze::current());
}

} // namespace DataExportu
