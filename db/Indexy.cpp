#include "db/Indexy.h"

#include "db/DatabaseError.h"
#include "db/SqlIndexy.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QHash>

namespace Indexy {

namespace {

struct Index
{
    const char *nazev;
    QStringList sloupce;
};

struct Tabulka
{
    const char *nazev;
    QList<Index> indexy;
};

// As in schema.sql.
const QList<Tabulka> &potrebne()
{
    static const QList<Tabulka> tabulky = {
        {"objednavky_pokoje_tab",
         {{"pokoj", {"pokoj_id", "od_kdy"}},
          {"obdobi", {"od_kdy", "do_kdy"}},
          {"obdobi_pokoj", {"do_kdy", "od_kdy", "pokoj_id"}},
          {"pokoj_konec", {"pokoj_id", "do_kdy"}},
          {"klient", {"klient_id"}},
          {"cislo", {"cislo_objednavky"}}}},
        {"kalendar_typy_dnu_tab", {{"datum", {"datum"}}, {"typ_dne", {"typ_dne_id"}}}},
        {"ceny_pokoje_tab", {{"cena", {"typ_pokoje_id", "typ_klienta_id", "typ_dne_id"}}}},
        {"pokoje_tab", {{"typ_pokoje", {"typ_pokoje_id"}}}},
        {"skupiny_pokoju_propojeni_tab", {{"skupina", {"skupina_pokoju_id"}}, {"pokoj", {"pokoj_id"}}}},
    };
    return tabulky;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("Indexy", text);
}

} // namespace

namespace {
// The indexes of the table that no index of it begins with, named so that
// no name of the table is taken twice.
QList<QPair<QString, QStringList>> chybejici(TMojeDatabaze &db, const Tabulka &t)
{
    QHash<QString, QStringList> ma;
    TMojeQuery q(db);
    q.setSql(SqlIndexy::selectIndexColumns(QLatin1String(t.nazev)));
    q.open();
    for (; !q.eof(); q.next())
        ma[q.text(QStringLiteral("nazev"))] << q.text(QStringLiteral("sloupec"));

    QList<QPair<QString, QStringList>> chybi;
    for (const Index &index : t.indexy) {
        bool je = false;
        for (const QStringList &sloupce : std::as_const(ma))
            je = je || sloupce.mid(0, index.sloupce.size()) == index.sloupce;
        if (je)
            continue;
        QString nazev = QLatin1String(index.nazev);
        while (ma.contains(nazev))
            nazev += QStringLiteral("_v");
        chybi.append({nazev, index.sloupce});
    }
    return chybi;
}
} // namespace

Vysledek doplnChybejici(TMojeDatabaze &db)
{
    Vysledek vysledek;
    for (const Tabulka &t : potrebne()) {
        const QString tabulka = QLatin1String(t.nazev);
        try {
            const auto chybi = chybejici(db, t);
            if (chybi.isEmpty())
                continue;
            try {
                TMojeQuery q(db);
                q.exec(SqlIndexy::addIndexes(tabulka, chybi));
            } catch (const DatabaseError &) {
                // another desk starting at the same moment may have added them
                if (!chybejici(db, t).isEmpty())
                    throw;
                continue;
            }
            for (const auto &index : chybi)
                vysledek.doplneno << tabulka + QStringLiteral(": ") + index.first;
        } catch (const DatabaseError &e) {
            // e.g. "ALTER command denied", or another desk holding the table
            // past the wait limit: the next start tries again
            vysledek.problemy << tr("Indexy tabulky %1 nelze doplnit, recepce pracuje bez nich (pomaleji). "
                                    "Na sdíleném serveru je doplní účet s právy ALTER a INDEX. %2")
                                     .arg(tabulka, e.text());
        }
    }
    return vysledek;
}

} // namespace Indexy
