#include "db/Indexes.h"

#include "db/DatabaseError.h"
#include "db/SqlIndexy.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QHash>

namespace Indexes {

namespace {

struct Index
{
    const char *name;
    QStringList columns;
};

struct Table
{
    const char *name;
    QList<Index> indexes;
    // The primary key a database made before it lacks, on the table's own columns.
    QStringList primaryKey = {};
};

// As in schema.sql.
const QList<Table> &needed()
{
    static const QList<Table> tables = {
        {"objednavky_pokoje_tab",
         {{"pokoj", {"pokoj_id", "od_kdy"}},
          {"obdobi", {"od_kdy", "do_kdy"}},
          {"obdobi_pokoj", {"do_kdy", "od_kdy", "pokoj_id", "cislo_objednavky"}},
          {"pokoj_konec", {"pokoj_id", "do_kdy"}},
          {"klient", {"klient_id"}},
          {"cislo", {"cislo_objednavky"}}},
         {"cislo_objednavky", "pokoj_id", "od_kdy"}},
        {"kalendar_typy_dnu_tab", {{"datum", {"datum"}}, {"typ_dne", {"typ_dne_id"}}}, {"datum", "typ_dne_id"}},
        {"ceny_pokoje_tab",
         {{"cena", {"typ_pokoje_id", "typ_klienta_id", "typ_dne_id"}}},
         {"typ_pokoje_id", "typ_klienta_id", "typ_dne_id"}},
        {"pokoje_tab", {{"typ_pokoje", {"typ_pokoje_id"}}}},
        {"skupiny_pokoju_propojeni_tab",
         {{"skupina", {"skupina_pokoju_id"}}, {"pokoj", {"pokoj_id"}}},
         {"skupina_pokoju_id", "pokoj_id"}},
    };
    return tables;
}

// Index name -> its columns, for each table; one statement for all of them.
using Present = QHash<QString, QHash<QString, QStringList>>;

Present present(TMojeDatabaze &db)
{
    QStringList tables;
    for (const Table &table : needed())
        tables << QLatin1String(table.name);
    Present present;
    TMojeQuery q(db);
    q.setSql(SqlIndexy::selectIndexColumns(tables));
    q.open();
    for (; !q.eof(); q.next())
        present[q.text(QStringLiteral("tabulka"))][q.text(QStringLiteral("nazev"))] << q.text(QStringLiteral("sloupec"));
    return present;
}

// The indexes of the table that no index of it begins with, named so that
// no name of the table is taken twice.
QList<QPair<QString, QStringList>> missing(const QHash<QString, QStringList> &present, const Table &table)
{
    QList<QPair<QString, QStringList>> result;
    for (const Index &index : table.indexes) {
        bool found = false;
        for (const QStringList &columns : present)
            found = found || columns.mid(0, index.columns.size()) == index.columns;
        if (found)
            continue;
        QString name = QLatin1String(index.name);
        while (present.contains(name))
            name += QStringLiteral("_v");
        result.append({name, index.columns});
    }
    return result;
}

// Never alters rows: a table holding rows the key would refuse (the same
// price twice, say) is told by name and left as it is.
void addPrimaryKey(TMojeDatabaze &db, const QString &name, const Table &table, Result &result)
{
    TMojeQuery q(db);
    {
        q.setSql(SqlIndexy::countDuplicates(name, table.primaryKey));
        q.open();
        if (const int dvojice = q.integer(QStringLiteral("pocet")); dvojice > 0) {
            result.problems << QCoreApplication::translate("Indexes",
                                                           "Tabulka %1 má %2 skupin stejných řádků (%3), primární klíč "
                                                           "jí proto nelze doplnit; nic v ní nebylo změněno. Odstraňte "
                                                           "prosím nadbytečné řádky a spusťte recepci znovu.")
                                   .arg(name)
                                   .arg(dvojice)
                                   .arg(table.primaryKey.join(QStringLiteral(", ")));
            return;
        }
        try {
            q.exec(SqlIndexy::addPrimaryKey(name, table.primaryKey));
        } catch (const DatabaseError &) {
            if (!present(db).value(name).contains(QStringLiteral("PRIMARY")))
                throw;
            return;
        }
    }
    result.added << name + QStringLiteral(": PRIMARY");
}

} // namespace

Result addMissing(TMojeDatabaze &db)
{
    Result result;
    Present indexes;
    try {
        indexes = present(db);
    } catch (const DatabaseError &e) {
        result.problems << QCoreApplication::translate("Indexes", "Indexy tabulek nelze zjistit, recepce pracuje "
                                                                  "bez kontroly indexů. %1")
                               .arg(e.text());
        return result;
    }
    for (const Table &table : needed()) {
        const QString name = QLatin1String(table.name);
        // Before the indexes: a key on the index's columns serves as one.
        if (!table.primaryKey.isEmpty() && !indexes.value(name).contains(QStringLiteral("PRIMARY"))) {
            try {
                addPrimaryKey(db, name, table, result);
                indexes = present(db);
            } catch (const DatabaseError &e) {
                result.problems << QCoreApplication::translate("Indexes",
                                                               "Primární klíč tabulky %1 nelze doplnit; na clusteru "
                                                               "Galera jsou bez něj změny té tabulky nespolehlivé. "
                                                               "Doplní ho účet s právem ALTER. %2")
                                       .arg(name, e.text());
            }
        }
        try {
            const auto toAdd = missing(indexes.value(name), table);
            if (toAdd.isEmpty())
                continue;
            try {
                TMojeQuery q(db);
                q.exec(SqlIndexy::addIndexes(name, toAdd));
            } catch (const DatabaseError &) {
                // another desk starting at the same moment may have added them
                if (!missing(present(db).value(name), table).isEmpty())
                    throw;
                continue;
            }
            for (const auto &index : toAdd)
                result.added << name + QStringLiteral(": ") + index.first;
        } catch (const DatabaseError &e) {
            // e.g. "ALTER command denied", or another desk holding the table
            // past the wait limit: the next start tries again
            result.problems << QCoreApplication::translate("Indexes",
                                                           "Indexy tabulky %1 nelze doplnit, recepce pracuje bez nich "
                                                           "(pomaleji). Na sdíleném serveru je doplní účet s právy "
                                                           "ALTER a INDEX. %2")
                                   .arg(name, e.text());
        }
    }
    return result;
}

} // namespace Indexes
