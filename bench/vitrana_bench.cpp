// Benchmark: prints how long the desk's database work takes, how many
// statements it sends and how many rows the server reads for it, on a
// throwaway private server seeded with a larger hotel: 1,000 rooms (100 of
// them in the group "Vše" with 2,000 reservations over the coming year),
// a priced calendar of three day types for a year and a half. A second copy
// of the hotel has 198,000 reservations of past years besides; the two are
// measured turn by turn, so that a busy machine slows both alike.
//
//   vitrana_bench [--repeat N]
//
// The web road runs against the companion site (tools/websim) on localhost.

#include "app/ObsazenostGrid.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TNovaRezervace.h"
#include "model/Objednavky.h"
#include "model/Pobyt.h"
#include "model/Obsazenost.h"
#include "model/SkupinyPokoju.h"
#include "web/engine/DataExportu.h"
#include "web/engine/SpolupraceSWebem.h"
#include "WebSimulator.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QImage>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <QEventLoop>
#include <QTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <functional>

namespace {

QTextStream out(stdout);

struct Measure
{
    double ms = 0;            // median of the runs
    qint64 statements = 0;    // of one run
    qint64 rowsRead = -1;     // of one run, as the server counts them; -1 unknown
};

/** The server's count of rows this session has read (all Handler_read_* counters). */
class RowsRead
{
public:
    explicit RowsRead(TMojeDatabaze &db) : m_db(db)
    {
        // Asking costs rows of its own: learn how many, to take them off.
        const qint64 a = total();
        m_overhead = total() - a;
    }
    qint64 total() const
    {
        QSqlQuery q(m_db.database());
        if (!q.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Handler_read%'")))
            return -1;
        qint64 sum = 0;
        while (q.next())
            sum += q.value(1).toLongLong();
        return sum;
    }
    qint64 since(qint64 before) const { return before < 0 ? -1 : total() - before - m_overhead; }

private:
    TMojeDatabaze &m_db;
    qint64 m_overhead = 0;
};

RowsRead *rowsRead = nullptr;

/** Runs the work once: its milliseconds; its statements and rows go into m. */
double runOnce(const std::function<void()> &work, Measure &m)
{
    const qint64 statements = TMojeQuery::statementsSent();
    const qint64 rows = rowsRead->total();
    QElapsedTimer t;
    t.start();
    work();
    const double ms = t.nsecsElapsed() / 1e6;
    m.statements = TMojeQuery::statementsSent() - statements;
    m.rowsRead = rowsRead->since(rows);
    return ms;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

/**
 * Runs the work up to `repeat` times (once more after a run of a second), each
 * after `prepare`, untimed: the median time, the statements and rows of one run.
 */
Measure measure(int repeat, const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    std::vector<double> times;
    Measure m;
    // a first run brings the pages it reads into memory
    if (prepare)
        prepare();
    work();
    for (int i = 0; i < repeat; ++i) {
        if (prepare)
            prepare();
        times.push_back(runOnce(work, m));
        if (times.back() > 1000 && i >= 1)
            break;
    }
    m.ms = median(times);
    return m;
}

/** One copy of the hotel: its database, its row counter and its room groups. */
struct Hotel
{
    std::unique_ptr<TMojeDatabaze> db;
    std::unique_ptr<RowsRead> rows;
    std::unique_ptr<SkupinyPokoju> skupiny;

    void use()
    {
        db->makeCurrent();
        rowsRead = rows.get();
    }
};

/** The same work on both hotels, a run on one, then a run on the other. */
std::pair<Measure, Measure> measureBoth(int repeat, Hotel &small, Hotel &large,
                                        const std::function<void(Hotel &)> &work)
{
    std::pair<Measure, Measure> both;
    std::vector<double> times[2];
    for (int i = -1; i < repeat; ++i) {   // run -1 only warms up
        for (int h = 0; h < 2; ++h) {
            Hotel &hotel = h == 0 ? small : large;
            Measure &m = h == 0 ? both.first : both.second;
            hotel.use();
            const double ms = runOnce([&] { work(hotel); }, m);
            if (i >= 0)
                times[h].push_back(ms);
        }
        if (i >= 1 && times[1].back() > 1000)
            break;
    }
    both.first.ms = median(times[0]);
    both.second.ms = median(times[1]);
    return both;
}

void row(const QString &what, const Measure &m)
{
    out << qSetFieldWidth(58) << Qt::left << what << qSetFieldWidth(10) << Qt::right
        << QString::number(m.ms, 'f', 2) << qSetFieldWidth(12) << m.statements << qSetFieldWidth(0) << "\n";
    out.flush();
}

QString count(qint64 n)
{
    return n < 0 ? QStringLiteral("?") : QLocale(QLocale::English).toString(n);
}

void comparison(const QString &what, const Measure &small, const Measure &large)
{
    out << qSetFieldWidth(44) << Qt::left << what << Qt::right << qSetFieldWidth(9)
        << QString::number(small.ms, 'f', 2) << qSetFieldWidth(5) << small.statements << qSetFieldWidth(12)
        << count(small.rowsRead) << qSetFieldWidth(11) << QString::number(large.ms, 'f', 2) << qSetFieldWidth(5)
        << large.statements << qSetFieldWidth(12) << count(large.rowsRead) << qSetFieldWidth(9)
        << QString::number(large.ms / small.ms, 'f', 2) + u'x' << qSetFieldWidth(0) << "\n";
    out.flush();
}

QString stay(int klient, int number, const QDate &made, const QDate &od, const QDate &dO, int room)
{
    return QStringLiteral("(%1, %2, '%3', '%4', '%5', %6, 1000)")
        .arg(klient)
        .arg(number)
        .arg(made.toString(Qt::ISODate), od.toString(Qt::ISODate), dO.toString(Qt::ISODate))
        .arg(room);
}

void insertAll(TMojeQuery &q, const QString &table, const QStringList &values)
{
    for (qsizetype i = 0; i < values.size(); i += 5000)
        q.exec(QStringLiteral("INSERT INTO %1 VALUES ").arg(table) + values.mid(i, 5000).join(QStringLiteral(", ")));
}

/**
 * 1,000 rooms: 1 to 100 of type 1 in the group "Vše", each with 20 stays of
 * 1 to 14 days over the coming year (of 20 clients, 100 each); 101 to 1,000
 * of type 2 without prices; all of them in the group "Celý hotel".
 */
void seed(TMojeQuery &q, const QDate &today)
{
    QRandomGenerator random(20021);
    QStringList rooms, links, stays;
    int number = 1;
    for (int room = 1; room <= 1000; ++room) {
        rooms << QStringLiteral("(%1, '%2', %3)").arg(room).arg(100 + room).arg(room <= 100 ? 1 : 2);
        links << QStringLiteral("(2, %1)").arg(room);
        if (room > 100)
            continue;
        links << QStringLiteral("(1, %1)").arg(room);
        QDate day = today.addDays(-30 + random.bounded(10));
        for (int i = 0; i < 20; ++i) {
            const QDate last = day.addDays(random.bounded(14));
            stays << stay(1 + i % 100, number++, today, day, last, room);
            day = last.addDays(1 + random.bounded(6));
        }
    }
    q.exec("INSERT INTO typy_pokoju_tab VALUES (1, 'Dvoulůžkový', 2), (2, 'Jednolůžkový', 1)");
    q.exec("INSERT INTO skupiny_pokoju_tab VALUES (1, 'Vše'), (2, 'Celý hotel')");
    insertAll(q, "pokoje_tab", rooms);
    insertAll(q, "skupiny_pokoju_propojeni_tab", links);
    insertAll(q, "objednavky_pokoje_tab", stays);
}

/**
 * 198,000 stays of the past (of 5,000 other clients), 1,980 per room of
 * "Vše", each ending before the first of the coming ones.
 */
void seedHistory(TMojeQuery &q, const QDate &today)
{
    QRandomGenerator random(1998);
    QStringList stays;
    int number = 100000;
    for (int room = 1; room <= 100; ++room) {
        QDate day = today.addDays(-41);
        for (int i = 0; i < 1980; ++i) {
            const QDate last = day.addDays(-1 - random.bounded(3));
            const QDate first = last.addDays(-random.bounded(10));
            stays << stay(101 + number % 5000, number, first, first, last, room);
            ++number;
            day = first;
        }
    }
    insertAll(q, "objednavky_pokoje_tab", stays);
    q.exec("ANALYZE TABLE objednavky_pokoje_tab");
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

/** The figures that must not grow with the history, on both hotels. */
void historyFigures(int repeat, const QDate &today, Hotel &small, Hotel &large)
{
    out << "\nThe hotel with 2,000 reservations, and with 198,000 of past years besides\n";
    out << qSetFieldWidth(44) << Qt::left << "" << Qt::right << qSetFieldWidth(26) << "2,000 reservations"
        << qSetFieldWidth(28) << "200,000 reservations" << qSetFieldWidth(0) << "\n";
    out << qSetFieldWidth(44) << Qt::left << "" << Qt::right << qSetFieldWidth(9) << "ms" << qSetFieldWidth(5)
        << "st." << qSetFieldWidth(12) << "rows read" << qSetFieldWidth(11) << "ms" << qSetFieldWidth(5) << "st."
        << qSetFieldWidth(12) << "rows read" << qSetFieldWidth(9) << "ratio" << qSetFieldWidth(0) << "\n";
    const auto figure = [&](const QString &what, const std::function<void(Hotel &)> &work) {
        const auto [a, b] = measureBoth(repeat, small, large, work);
        comparison(what, a, b);
    };

    ObsazenostGrid grid;
    // what the main window shows of the grid at its default size
    QImage window(737, 460, QImage::Format_ARGB32_Premultiplied);
    grid.resize(window.size());
    const auto gridOf = [&](const QString &group, int days) {
        return [&, group, days](Hotel &h) {
            grid.vyprazdni();
            grid.ZobrazObsazenost(*h.skupiny, group, today, today.addDays(days - 1));
            grid.render(&window, QPoint(), QRegion(window.rect()));
        };
    };
    figure("Grid 100 rooms x 60 days (read + paint)", gridOf("Vše", 60));
    figure("Grid 1,000 rooms x 365 days (read + paint)", gridOf("Celý hotel", 365));
    const Objednavka pobyt(1, 0, today, today.addDays(40), today.addDays(46), 50, 0);
    figure("Collision count, one room, 7 days", [&](Hotel &) {
        TMojeQuery q;
        pobyt.JeKolize(q);
    });
    figure("Free-room search, 100 rooms, 7 days", [&](Hotel &) {
        TMojeQuery q;
        Objednavka::NajdiVolnyPokoj(q, 1, today.addDays(40), today.addDays(46));
    });
    figure("Reservations of a client (100)", [](Hotel &) { Objednavky().NactiProKlienta(1); });
    figure("Export of prices and occupancy", [](Hotel &) { Exporty::poleCenAObsazenosti(DataExportu::cenyAObsazenost()); });
    figure("Export of room types", [](Hotel &) { Exporty::poleTypuPokoju(DataExportu::typyPokoju()); });
    out << "(targets: each 200,000 figure within 1.5x of its 2,000 figure; grid 100 x 60 under 5 ms; "
           "export under 1 s)\n";
}

void oneStatementForms(int repeat, const QDate &today, const SkupinyPokoju &skupiny)
{
    ObsazenostGrid grid;
    grid.resize(2000, 2200);

    out << "\nOccupancy grid refresh, 100 rooms (read + paint)\n";
    for (int days : {30, 60}) {
        const QDate last = today.addDays(days - 1);
        const auto paint = [&] { grid.grab(); };
        const Measure fast = measure(repeat, [&] {
            grid.vyprazdni();
            grid.ZobrazObsazenost(skupiny, QStringLiteral("Vše"), today, last);
            paint();
        });
        row(QStringLiteral("%1 days, one statement per refresh").arg(days), fast);
    }

    out << "\nStay price, room 101, client type 1\n";
    for (int days : {14, 365}) {
        const QDate last = today.addDays(days - 1);
        const Measure fast = measure(repeat, [&] { RozpisCeny::Nacti(1, 1, today, last); });
        row(QStringLiteral("%1 days, one statement per stay").arg(days), fast);
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
        od->setDate(today);
        dO->setDate(last);
        int room = 0;
        // Each change of the room rebuilds: prices, tooltips, the collision test.
        const Measure rebuild = measure(repeat, [&] { pokoj->setCurrentIndex(room = 1 - room); });
        row(QStringLiteral("%1 days, the dialog's rebuild with its tooltips").arg(days), rebuild);
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
    const QDate today = QDate::currentDate();
    Hotel hotels[2];
    for (int h = 0; h < 2; ++h) {
        const QString name = h == 0 ? QStringLiteral("bench") : QStringLiteral("bench_history");
        Installation::createDatabaseIfMissing(server.socketPath(), name, false);
        Configuration config;
        config.mode = Configuration::Mode::MySql;
        config.socket = server.socketPath();
        config.name = name;
        hotels[h].db = std::make_unique<TMojeDatabaze>(config);
        hotels[h].db->open(PrivateServer::osUser(), QString());
        hotels[h].rows = std::make_unique<RowsRead>(*hotels[h].db);
        hotels[h].use();
        TMojeQuery q(*hotels[h].db);
        seed(q, today);
        seedPrices(q, today);
        if (h == 1)
            seedHistory(q, today);
        hotels[h].skupiny = std::make_unique<SkupinyPokoju>();
    }
    // the server merges the new index entries in the background for a while
    QThread::sleep(5);

    out << "Vitrana benchmark: median of " << repeat << " runs (the slow way: of " << qMax(1, repeat / 5)
        << "; a run over a second is repeated once)\n";
    out << qSetFieldWidth(58) << Qt::left << "" << qSetFieldWidth(10) << Qt::right << "ms"
        << qSetFieldWidth(12) << "statements" << qSetFieldWidth(0) << "\n";
    hotels[0].use();
    oneStatementForms(repeat, today, *hotels[0].skupiny);
    newReservation(repeat, today);
    historyFigures(repeat, today, hotels[0], hotels[1]);
    hotels[0].use();
    webRoad(repeat, today, *hotels[0].db);   // last: it stores reservations
    return 0;
}
