// Benchmark: prints how long the desk's database work takes and how many
// statements it sends, on a throwaway private server seeded with a larger
// hotel (100 rooms in one group, 2,000 reservations over a year, a priced
// calendar of three day types for a year and a half).
//
//   vitrana_bench [--repeat N]

#include "app/ObsazenostGrid.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TNovaRezervace.h"
#include "model/Objednavky.h"
#include "model/Obsazenost.h"
#include "model/SkupinyPokoju.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

QTextStream out(stdout);

struct Measure
{
    double ms = 0;        // median of the runs
    qint64 statements = 0;
};

/** Runs the work `repeat` times; the median time and the statements of one run. */
Measure measure(int repeat, const std::function<void()> &work)
{
    std::vector<double> times;
    qint64 statements = 0;
    for (int i = 0; i < repeat; ++i) {
        const qint64 before = TMojeQuery::statementsSent();
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
        statements = TMojeQuery::statementsSent() - before;
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], statements};
}

void row(const QString &what, const Measure &m)
{
    out << qSetFieldWidth(58) << Qt::left << what << qSetFieldWidth(10) << Qt::right
        << QString::number(m.ms, 'f', 2) << qSetFieldWidth(12) << m.statements << qSetFieldWidth(0) << "\n";
    out.flush();
}

/** 100 rooms of one type in one group; 20 stays of 1 to 14 days per room over the year. */
void seed(TMojeQuery &q, const QDate &today)
{
    QRandomGenerator random(20021);
    QStringList rooms, links, stays;
    int number = 1;
    for (int room = 1; room <= 100; ++room) {
        rooms << QStringLiteral("(%1, '%2', 1)").arg(room).arg(100 + room);
        links << QStringLiteral("(1, %1)").arg(room);
        QDate day = today.addDays(-30 + random.bounded(10));
        for (int i = 0; i < 20; ++i) {
            const QDate last = day.addDays(random.bounded(14));
            stays << QStringLiteral("(1, %1, '%2', '%3', '%4', %5, 1000)")
                         .arg(number++)
                         .arg(today.toString(Qt::ISODate), day.toString(Qt::ISODate), last.toString(Qt::ISODate))
                         .arg(room);
            day = last.addDays(1 + random.bounded(6));
        }
    }
    q.exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2)");
    q.exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Vše')");
    q.exec("INSERT INTO pokoje_tab VALUES " + rooms.join(", "));
    q.exec("INSERT INTO skupiny_pokoju_propojeni_tab VALUES " + links.join(", "));
    q.exec("INSERT INTO objednavky_pokoje_tab VALUES " + stays.join(", "));
}

/** Weekdays and weekends for 550 days, holidays on top with a lower poradi; prices of client type 1 (installed). */
void seedPrices(TMojeQuery &q, const QDate &today)
{
    QStringList calendar;
    for (int i = 0; i < 550; ++i) {
        const QDate day = today.addDays(i);
        calendar << QStringLiteral("('%1', %2)").arg(day.toString(Qt::ISODate)).arg(day.dayOfWeek() >= 5 ? 2 : 1);
        if (i % 30 == 0)
            calendar << QStringLiteral("('%1', 3)").arg(day.toString(Qt::ISODate));
    }
    q.exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan Novák')");
    q.exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední den', 20), (2, 'Víkend', 20), (3, 'Svátek', 10)");
    q.exec("INSERT INTO kalendar_typy_dnu_tab VALUES " + calendar.join(", "));
    q.exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1600), (1, 1, 2, 1920), (1, 1, 3, 2400)");
}

void stayPrice(int repeat, const QDate &today)
{
    out << "\nStay price, room 101, client type 1\n";
    for (int days : {14, 365}) {
        const QDate last = today.addDays(days - 1);
        double slowSum = 0, fastSum = 0;
        const Measure perDay = measure(qMax(1, repeat / 5), [&] {
            bool chybi = false;
            slowSum = Objednavka::CenaPobytuPoDnech(1, 1, today, last, chybi);
        });
        const Measure fast = measure(repeat, [&] {
            bool chybi = false;
            fastSum = Objednavka::CenaPobytu(1, 1, today, last, chybi);
        });
        row(QStringLiteral("%1 days, one statement per day").arg(days), perDay);
        row(QStringLiteral("%1 days, one statement per stay").arg(days), fast);
        out << "    speed-up: " << QString::number(perDay.ms / fast.ms, 'f', 1) << "x"
            << (slowSum == fastSum ? "" : "  (SUMS DIFFER)") << "\n";
    }
}

void freeRoom(int repeat, const QDate &today)
{
    out << "\nFree-room search, 100 rooms of the type, 2,000 reservations\n";
    for (int days : {1, 7, 30}) {
        const QDate first = today.addDays(40);
        row(QStringLiteral("%1-day stay").arg(days), measure(repeat, [&] {
                Objednavka::NajdiVolnyPokoj(1, first, first.addDays(days - 1));
            }));
    }
    const Objednavka stay(1, 0, today, today.addDays(40), today.addDays(46), 50, 0);
    row(QStringLiteral("collision count of one room, 7 days"), measure(repeat, [&] { stay.JeKolize(); }));
}

void occupancy(int repeat, const QDate &today)
{
    const SkupinyPokoju skupiny;
    const Pokoje &rooms = skupiny.prvky().front().clenove;
    ObsazenostGrid grid;
    grid.resize(2000, 2200);

    out << "\nOccupancy grid refresh, 100 rooms (read + paint)\n";
    for (int days : {30, 60}) {
        const QDate last = today.addDays(days - 1);
        const auto paint = [&] { grid.grab(); };
        const Measure perDay = measure(qMax(1, repeat / 5), [&] {
            nactiObsazenostPoDnech(rooms, today, last);
            paint();
        });
        const Measure fast = measure(repeat, [&] {
            grid.vyprazdni();
            grid.ZobrazObsazenost(skupiny, QStringLiteral("Vše"), today, last);
            paint();
        });
        row(QStringLiteral("%1 days, one statement per room and day").arg(days), perDay);
        row(QStringLiteral("%1 days, one statement per refresh").arg(days), fast);
        out << "    speed-up: " << QString::number(perDay.ms / fast.ms, 'f', 1) << "x\n";
    }
}

void newReservation(int repeat, const QDate &today)
{
    out << "\nNew reservation, one rebuild (price + collision test), room 101 <-> 102\n";
    TNovaRezervace dialog;
    dialog.show();
    qApp->processEvents();
    auto *klient = dialog.findChild<QComboBox *>(QStringLiteral("KlientComboBox"));
    auto *pokoj = dialog.findChild<QComboBox *>(QStringLiteral("PokojComboBox"));
    auto *od = dialog.findChild<QDateEdit *>(QStringLiteral("OdDateTimePicker"));
    auto *dO = dialog.findChild<QDateEdit *>(QStringLiteral("DoDateTimePicker"));
    klient->hidePopup();
    klient->setCurrentIndex(0);
    for (int days : {14, 365}) {
        const QDate last = today.addDays(days - 1);
        const Measure perDay = measure(qMax(1, repeat / 5), [&] {
            bool chybi = false;
            Objednavka::CenaPobytuPoDnech(1, 1, today, last, chybi);
            Objednavka(1, 0, today, today, last, 1, 0).JeKolize();
        });
        od->setDate(today);
        dO->setDate(last);
        int room = 0;
        // Each change of the room rebuilds: prices, tooltips, the collision test.
        const Measure rebuild = measure(repeat, [&] { pokoj->setCurrentIndex(room = 1 - room); });
        row(QStringLiteral("%1 days, one statement per day + collision count").arg(days), perDay);
        row(QStringLiteral("%1 days, the dialog's rebuild with its tooltips").arg(days), rebuild);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int repeat = 15;
    const QStringList args = app.arguments();
    const int r = args.indexOf(QStringLiteral("--repeat"));
    if (r > 0 && r + 1 < args.size())
        repeat = qMax(1, args[r + 1].toInt());

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vitrana-bench-XXXXXX"));
    PrivateServer server(dir.path());
    server.start();
    Installation::createDatabaseIfMissing(server.socketPath(), QStringLiteral("bench"), false);
    Configuration config;
    config.mode = Configuration::Mode::MySql;
    config.socket = server.socketPath();
    config.name = QStringLiteral("bench");
    TMojeDatabaze db(config);
    db.open(PrivateServer::osUser(), QString());

    const QDate today = QDate::currentDate();
    {
        TMojeQuery q(db);
        seed(q, today);
        seedPrices(q, today);
    }

    out << "Vitrana benchmark: median of " << repeat << " runs (the slow way: of " << qMax(1, repeat / 5)
        << ")\n";
    out << qSetFieldWidth(58) << Qt::left << "" << qSetFieldWidth(10) << Qt::right << "ms"
        << qSetFieldWidth(12) << "statements" << qSetFieldWidth(0) << "\n";
    occupancy(repeat, today);
    stayPrice(repeat, today);
    freeRoom(repeat, today);
    newReservation(repeat, today);
    return 0;
}
