#include "Seed.h"

#include "db/DatabaseError.h"
#include "db/TMojeQuery.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace bench {

namespace {

QString day(const QDate &d)
{
    return u'\'' + d.toString(Qt::ISODate) + u'\'';
}

void insertAll(TMojeQuery &q, const QString &table, const QStringList &values)
{
    for (qsizetype i = 0; i < values.size(); i += 5000)
        q.exec(QStringLiteral("INSERT INTO %1 VALUES ").arg(table) + values.mid(i, 5000).join(QStringLiteral(", ")));
}

// Numbers 0 .. count-1 as a table `seq`: the Sequence engine's, else a cross join of digits.
QString numbers(TMojeQuery &q, int count)
{
    static int sequenceEngine = -1;
    if (sequenceEngine < 0) {
        try {
            q.exec(QStringLiteral("DO (SELECT COUNT(*) FROM seq_0_to_1)"));
            sequenceEngine = 1;
        } catch (const DatabaseError &) {
            sequenceEngine = 0;
        }
    }
    if (sequenceEngine == 1)
        return QStringLiteral("(SELECT seq FROM seq_0_to_%1)").arg(count - 1);
    q.exec(QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS cifry (d INT NOT NULL)"));
    q.exec(QStringLiteral("DELETE FROM cifry"));
    q.exec(QStringLiteral("INSERT INTO cifry VALUES (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)"));
    // a temporary table can be named once per statement: copy it for each digit
    QStringList from, sum;
    for (int i = 0; i < 7; ++i) {
        q.exec(QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS cifry%1 AS SELECT d FROM cifry").arg(i));
        from << QStringLiteral("cifry%1 AS c%1").arg(i);
        sum << QStringLiteral("c%1.d * %2").arg(i).arg(qint64(std::pow(10, i)));
    }
    return QStringLiteral("(SELECT %1 AS seq FROM %2 HAVING seq < %3)")
        .arg(sum.join(QStringLiteral(" + ")), from.join(QStringLiteral(", ")))
        .arg(count);
}

} // namespace

int seedHotel(TMojeQuery &q, const QDate &today)
{
    QRandomGenerator random(20021);
    QStringList roomRows, links, stays;
    int number = 1;
    const QDate yearEnd = today.addDays(365);
    for (int room = 1; room <= rooms; ++room) {
        roomRows << QStringLiteral("(%1, '%2', %3)").arg(room).arg(100 + room).arg(1 + (room - 1) / (rooms / roomTypes));
        links << QStringLiteral("(2, %1)").arg(room);
        if (room <= 100)
            links << QStringLiteral("(1, %1)").arg(room);
        // Back to back with a day or two between: the room is full all year.
        for (QDate first = today.addDays(-30 + int(random.bounded(10))); first < yearEnd;) {
            const QDate last = first.addDays(9 + random.bounded(15));
            stays << QStringLiteral("(%1, %2, %3, %4, %5, %6, 1000)")
                         .arg(1 + number % 200)
                         .arg(number)
                         .arg(day(today.addDays(-60)), day(first), day(last))
                         .arg(room);
            ++number;
            first = last.addDays(1 + random.bounded(2));
        }
    }
    QStringList calendar;
    for (int i = 0; i < 550; ++i) {
        const QDate d = today.addDays(i);
        calendar << QStringLiteral("(%1, %2)").arg(day(d)).arg(d.dayOfWeek() >= 5 ? 2 : 1);
        if (i % 30 == 0)
            calendar << QStringLiteral("(%1, 3)").arg(day(d));   // a holiday on top
    }
    QStringList prices;
    for (int type = 1; type <= roomTypes; ++type)
        for (int dayType = 1; dayType <= 3; ++dayType)
            prices << QStringLiteral("(%1, 1, %2, %3)").arg(type).arg(dayType).arg(1200 + 400 * type + 300 * dayType);

    q.exec(QStringLiteral("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2), (2, 'Jednolůžkový', 1), "
                          "(3, 'Třílůžkový', 3), (4, 'Apartmá', 4)"));
    q.exec(QStringLiteral("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Vše'), (2, 'Celý hotel')"));
    q.exec(QStringLiteral("INSERT INTO typy_dnu_tab VALUES (1, 'Všední den', 20), (2, 'Víkend', 20), (3, 'Svátek', 10)"));
    insertAll(q, QStringLiteral("pokoje_tab"), roomRows);
    insertAll(q, QStringLiteral("skupiny_pokoju_propojeni_tab"), links);
    insertAll(q, QStringLiteral("kalendar_typy_dnu_tab"), calendar);
    insertAll(q, QStringLiteral("ceny_pokoje_tab"), prices);
    insertAll(q, QStringLiteral("objednavky_pokoje_tab"), stays);

    // Web guests' names repeat, as real ones do: a first name, a surname and a number.
    q.exec(QStringLiteral(
               "INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email, stat) "
               "SELECT seq + 1, 1, CONCAT(ELT(1 + seq MOD 10, 'Jan', 'Petr', 'Eva', 'Jana', 'Tomáš', 'Lucie', 'Martin', "
               "'Kateřina', 'Jiří', 'Hana'), ' ', ELT(1 + (seq DIV 10) MOD 10, 'Novák', 'Svoboda', 'Dvořák', 'Černý', "
               "'Procházka', 'Kučera', 'Veselý', 'Horák', 'Němec', 'Marek'), ' ', seq DIV 300), "
               "CONCAT('+420 777 ', LPAD(seq MOD 1000000, 6, '0')), CONCAT('host', seq, '@example.cz'), 'Česko' "
               "FROM %1 AS s")
               .arg(numbers(q, clients)));
    return number - 1;
}

void seedPast(TMojeQuery &q, const QDate &today, int count)
{
    // Slot k of a room ends 4k days before the 45th day back; in pieces, so
    // that one statement does not outgrow the server's log.
    constexpr int piece = 100000;
    for (int from = 0; from < count; from += piece) {
        const int n = std::min(piece, count - from);
        q.exec(QStringLiteral("INSERT INTO objednavky_pokoje_tab "
                              "(klient_id, cislo_objednavky, datum_objednavky, od_kdy, do_kdy, pokoj_id, cena) "
                              "SELECT 201 + i MOD %1, %2 + i, konec - INTERVAL (i MOD 3) DAY, "
                              "konec - INTERVAL (i MOD 3) DAY, konec, 1 + i MOD %3, 1000 "
                              "FROM (SELECT seq + %4 AS i, %5 - INTERVAL (45 + ((seq + %4) DIV %3) * 4) DAY AS konec "
                              "FROM %6 AS s) AS minulost")
                   .arg(clients - 200)
                   .arg(pastNumbers)
                   .arg(rooms)
                   .arg(from)
                   .arg(day(today), numbers(q, n)));
    }
    q.exec(QStringLiteral("ANALYZE TABLE objednavky_pokoje_tab"));
}

} // namespace bench
