// Benchmark: prints how long the desk's database work takes and how many
// statements it sends, on a throwaway private server seeded with a larger
// hotel (100 rooms in one group, 2,000 reservations over a year, a priced
// calendar of three day types for a year and a half).
//
//   vitrana_bench [--repeat N]
//
// The web road runs against the companion site (tools/websim) on localhost.

#include "app/ObsazenostGrid.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Objednavky.h"
#include "model/Obsazenost.h"
#include "model/SkupinyPokoju.h"
#include "web/engine/SpolupraceSWebem.h"
#include "WebSimulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <QEventLoop>
#include <QTimer>
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

/** Runs the work `repeat` times (each after `prepare`, untimed); the median time and the statements of one run. */
Measure measure(int repeat, const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    std::vector<double> times;
    qint64 statements = 0;
    for (int i = 0; i < repeat; ++i) {
        if (prepare)
            prepare();
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

// Runs the event loop until done() holds, looking every millisecond (a
// coarser look would add its own delay to each step of the road).
void waitFor(const std::function<bool()> &done, int ms)
{
    QEventLoop loop;
    QTimer look;
    look.setTimerType(Qt::PreciseTimer);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QElapsedTimer waited;
    waited.start();
    look.start(1);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    if (!done())
        out << "    (gave up waiting after " << waited.elapsed() << " ms)\n";
}

// The desk's side of the web road, as the benchmark drives it.
struct WebDesk
{
    SpolupraceSWebem engine{0};

    void setSite(quint16 port) { engine.nastaveni().adresa = QStringLiteral("127.0.0.1:%1").arg(port); }
    quint16 port() const { return engine.portNaslouchani(); }
    void startImport() { engine.ImportRezervaci(); }
    bool importIdle() const { return engine.stavImportu() == StavImportu::Nic; }
};

SimRezervace webGuest(int i, const QDate &today)
{
    // Stays of 1 to 7 days over the coming year; some find no free room.
    const QDate od = today.addDays(1 + (i * 37) % 360);
    const QString id = QString::number(100000 + i);
    return {id, QStringLiteral("1"), od.toString(Qt::ISODate), od.addDays(i % 7).toString(Qt::ISODate),
            QStringLiteral("2000"), QStringLiteral("Host %1").arg(i), QStringLiteral("+420 777 000 000"),
            QStringLiteral("host@example.cz"), QStringLiteral("Česko")};
}

void forgetWebImports(TMojeQuery &q)
{
    q.exec("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky > 2000");
    q.exec("DELETE FROM klienti_tab WHERE klient_id > 1");
    q.exec("DELETE FROM webove_rezervace_tab");
}

void webRoad(int repeat, const QDate &today, TMojeDatabaze &db)
{
    out << "\nWeb road, companion site on localhost\n";
    TMojeQuery q(db);
    for (const bool closing : {false, true}) {
        forgetWebImports(q);
        WebSimulator::Nastaveni n;
        n.zavriPoOdpovedi = closing;
        WebDesk desk;
        n.portDesky = desk.port();
        WebSimulator site(n);
        site.listen();
        desk.setSite(site.port());
        int guest = 0;
        const Measure m = measure(qMax(3, repeat / 3), [&] {
            site.pridejRezervaci(webGuest(guest++, today));
            QTcpSocket browser;
            QByteArray reply;
            QObject::connect(&browser, &QTcpSocket::readyRead, [&] { reply += browser.readAll(); });
            browser.connectToHost(QHostAddress::LocalHost, desk.port());
            browser.waitForConnected(5000);
            browser.write("GET /?cislo_rezervace=" + QByteArray::number(100000 + guest - 1)
                          + "&skript_zpet=http://127.0.0.1/navrat.php&vzhled_stranek=1&konec_dat=true HTTP/1.1\r\n"
                            "Host: 127.0.0.1\r\n\r\n");
            waitFor([&] { return reply.startsWith("HTTP/1.1 302"); }, 30000);
        });
        row(closing ? QStringLiteral("forwarded guest to its 302, site closes each connection")
                    : QStringLiteral("forwarded guest to its 302, site keeps the connection"),
            m);
    }
    forgetWebImports(q);

    WebDesk desk;
    WebSimulator site({});
    site.listen();
    desk.setSite(site.port());
    const Measure m = measure(
        qMax(3, repeat / 5),
        [&] {
            desk.startImport();
            waitFor([&] { return desk.importIdle() && site.cekajici().isEmpty(); }, 120000);
        },
        [&] {
            forgetWebImports(q);
            for (int i = 0; i < 1000; ++i)
                site.pridejRezervaci(webGuest(i, today));
        });
    row(QStringLiteral("import of 1,000 web reservations, 100 rooms"), m);
    forgetWebImports(q);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vitrana.web.info=false"));
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
    webRoad(repeat, today, db);
    return 0;
}
