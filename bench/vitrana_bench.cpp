// Benchmark: the desk measured from outside on a large hotel, each figure
// beside its goal and beside the database's own time for the same rows (the
// floor: plain statements through a plain QSqlQuery, in the same run).
//
// A throwaway private server holds three copies of a 1,000-room hotel, every
// room priced and booked over the coming year, 100,000 clients; the copies
// differ in the stays of past years: 2,000, 200,000 and 1,000,000. The desk
// of each copy is the application's core (connection and web engine with its
// listener), the web site is the companion site (tools/websim) on localhost,
// guests are sockets of a thread of their own, and the client dialogs and the
// occupancy grid are the desk's own, shown offscreen.
//
//   vitrana_bench [--repeat N] [--only dialogs|export|grid|guests|import|backup|cluster]
//   medians of N runs (default 5); --only measures one part
//
// The cluster part compares a desk on one server with a desk on a node of a
// three-node Galera cluster on loopback (its data under the build tree).

#include "BenchSupport.h"
#include "Guests.h"
#include "Seed.h"

#include "app/ObsazenostGrid.h"
#include "core/Recepce.h"
#include "db/Indexes.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "db/Zaloha.h"
#include "desk/TKlientiUpravUdaje.h"
#include "desk/TNovaRezervace.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "model/Objednavky.h"
#include "model/Pobyt.h"
#include "model/SkupinyPokoju.h"
#include "tests/GaleraCluster.h"
#include "tests/Souboj.h"
#include "web/engine/SpolupraceSWebem.h"
#include "web/engine/UlozeniRezervaci.h"
#include "web/protocol/OdpovedWebu.h"
#include "WebSimulator.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QLoggingCategory>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <memory>
#include <type_traits>
#include <utility>

using namespace bench;

namespace {

int repeat = 5;
QDate today;

/**
 * The companion site on a thread of its own, as if on another machine: its
 * parsing and generating is not the desk's work. The simulator is made,
 * used and deleted on that thread only; the bench reaches it through call().
 */
class Site
{
public:
    explicit Site(const WebSimulator::Nastaveni &nastaveni)
    {
        m_thread.start();
        m_anchor.moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            &m_anchor,
            [&] {
                m_sim = new WebSimulator(nastaveni);
                m_sim->listen();
            },
            Qt::BlockingQueuedConnection);
        // queued to this thread: seeing that something happened never waits on the site
        QObject::connect(m_sim, &WebSimulator::pozadavekZpracovan, &m_here, [this] { ++m_handled; });
    }

    ~Site()
    {
        QMetaObject::invokeMethod(&m_anchor, [this] { delete std::exchange(m_sim, nullptr); },
                                  Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    Site(const Site &) = delete;
    Site &operator=(const Site &) = delete;

    /** Runs f(simulator) on the site's thread and returns its value (a copy: nothing is shared). */
    template <typename F>
    auto call(F &&f) -> std::decay_t<std::invoke_result_t<F &, WebSimulator &>>
    {
        using R = std::decay_t<std::invoke_result_t<F &, WebSimulator &>>;
        if constexpr (std::is_void_v<R>) {
            QMetaObject::invokeMethod(m_sim, [&] { f(*m_sim); }, Qt::BlockingQueuedConnection);
        } else {
            R result{};
            QMetaObject::invokeMethod(m_sim, [&]() -> R { return f(*m_sim); }, Qt::BlockingQueuedConnection,
                                      &result);
            return result;
        }
    }

    /** Requests the site has finished, as far as this thread has heard. */
    int handled() const { return m_handled; }

private:
    QThread m_thread;
    QObject m_anchor;   // lives on m_thread: what the simulator is made and deleted by
    QObject m_here;     // lives here: receives the site's news
    WebSimulator *m_sim = nullptr;
    int m_handled = 0;
};

struct Hotel
{
    QString name;
    int past = 0;
    std::unique_ptr<Recepce> desk;
    std::unique_ptr<SkupinyPokoju> skupiny;
    std::unique_ptr<Site> site;
    int seededMax = 0;   // reservation numbers up to this one are the seed's

    TMojeDatabaze &db() { return *desk->databaze(); }
    SpolupraceSWebem &engine() { return *desk->spoluprace(); }
    void use() { db().makeCurrent(); }
};

std::array<Hotel, copies> hotels;

/**
 * Runs of the work on each of the given copies, one copy after the other (a
 * desk has one hotel: its pages stay in the server's memory between runs,
 * the other copies' would push them out): the medians.
 */
std::array<double, copies> measureCopies(const std::vector<int> &which, const std::function<double(Hotel &)> &run,
                                         int runs = repeat)
{
    std::array<double, copies> medians{none, none, none};
    for (int c : which) {
        hotels[c].use();
        std::vector<double> times;
        run(hotels[c]);   // only warms up
        for (int i = 0; i < runs; ++i) {
            times.push_back(run(hotels[c]));
            if (i >= 1 && times.back() > 1000)
                break;   // a slow figure: two runs tell enough
        }
        medians[c] = median(times);
    }
    return medians;
}

std::array<double, copies> timeCopies(const std::vector<int> &which, const std::function<void(Hotel &)> &work)
{
    return measureCopies(which, [&](Hotel &h) { return timeMs([&] { work(h); }); });
}

/**
 * Waits until done(site) holds, asking the site again only after it finished
 * a request (the desk's thread is not held up by the asking meanwhile).
 */
bool waitSite(Hotel &h, const std::function<bool(WebSimulator &)> &done, int timeoutMs, double *stallMs = nullptr)
{
    int asked = -1;
    bool holds = false;
    return waitFor(
        [&] {
            if (h.site->handled() != asked) {
                asked = h.site->handled();
                holds = h.site->call(done);
            }
            return holds;
        },
        timeoutMs, stallMs);
}

QString siteAddress(Hotel &h)
{
    return QStringLiteral("127.0.0.1:%1").arg(h.site->call([](WebSimulator &s) { return s.port(); }));
}

const std::vector<int> allCopies{0, 1, 2};
const std::vector<int> endCopies{0, 2};

// ---- the database's own time -------------------------------------------------

/** Reads every row and column of the statements through a plain QSqlQuery. */
double rawRead(Hotel &h, const QStringList &statements)
{
    return timeMs([&] {
        for (const QString &statement : statements) {
            QSqlQuery q(h.db().database());
            q.setForwardOnly(true);
            q.exec(statement);
            const int columns = q.record().count();
            while (q.next())
                for (int c = 0; c < columns; ++c)
                    q.value(c);
        }
    });
}

void rawExec(Hotel &h, const QStringList &statements)
{
    QSqlQuery q(h.db().database());
    for (const QString &statement : statements)
        if (!q.exec(statement))
            out << "    (floor statement failed: " << q.lastError().text() << ")\n";
}

QString sqlDay(const QDate &d)
{
    return u'\'' + d.toString(Qt::ISODate) + u'\'';
}

/** What any prices-and-occupancy export must read: the priced days of each type, the stays touching the year. */
QStringList exportReads()
{
    const QString from = sqlDay(today), to = sqlDay(today.addDays(365));
    return {QStringLiteral("SELECT c.typ_pokoje_id, k.datum, c.cena FROM ceny_pokoje_tab AS c "
                           "JOIN kalendar_typy_dnu_tab AS k ON k.typ_dne_id = c.typ_dne_id "
                           "JOIN typy_dnu_tab AS t ON t.typ_dne_id = k.typ_dne_id "
                           "WHERE c.typ_klienta_id = 1 AND k.datum >= %1 AND k.datum < %2 "
                           "AND c.typ_pokoje_id IN (SELECT typ_pokoje_id FROM pokoje_tab)")
                .arg(from, to),
            QStringLiteral("SELECT pokoj_id, typ_pokoje_id FROM pokoje_tab"),
            QStringLiteral("SELECT cislo_objednavky, pokoj_id, od_kdy, do_kdy FROM objednavky_pokoje_tab "
                           "WHERE do_kdy >= %1 AND od_kdy < %2")
                .arg(from, to)};
}

/** The rows and the sum of rezervovano the export must send, counted here from the plain reads. */
std::pair<int, qint64> exportExpected(Hotel &h)
{
    const QStringList reads = exportReads();
    QSet<QPair<int, QDate>> priced;
    QSqlQuery q(h.db().database());
    q.exec(reads[0]);
    while (q.next())
        priced.insert({q.value(0).toInt(), q.value(1).toDate()});
    QHash<int, int> typeOf;
    q.exec(reads[1]);
    while (q.next())
        typeOf.insert(q.value(0).toInt(), q.value(1).toInt());
    QHash<QPair<int, QDate>, QSet<int>> taken;
    q.exec(reads[2]);
    while (q.next())
        for (QDate d = std::max(q.value(2).toDate(), today); d <= q.value(3).toDate() && d < today.addDays(365);
             d = d.addDays(1))
            taken[{typeOf.value(q.value(1).toInt()), d}].insert(q.value(0).toInt());
    qint64 sum = 0;
    for (const auto &key : priced)
        sum += taken.value(key).size();
    return {int(priced.size()), sum};
}

// ---- the web road ------------------------------------------------------------

int nextGuest = 100000;

SimRezervace webGuest(int i)
{
    // Stays of 1 to 7 days in the second year, the first one being full.
    const QDate od = today.addDays(366 + (i * 37) % 330);
    return {QString::number(i), QString::number(1 + i % roomTypes), od.toString(Qt::ISODate),
            od.addDays(i % 7).toString(Qt::ISODate), QStringLiteral("2000"), QStringLiteral("Host %1").arg(i),
            QStringLiteral("+420 777 000 000"), QStringLiteral("host@example.cz"), QStringLiteral("Česko")};
}

QByteArray guestRequest(const QString &id)
{
    return "GET /?cislo_rezervace=" + id.toLatin1()
           + "&skript_zpet=http://127.0.0.1/navrat.php&vzhled_stranek=1&konec_dat=true HTTP/1.1\r\n"
             "Host: 127.0.0.1\r\n\r\n";
}

void forgetWebImports(Hotel &h)
{
    TMojeQuery q(h.db());
    q.exec(QStringLiteral("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky > %1").arg(h.seededMax));
    q.exec(QStringLiteral("DELETE FROM klienti_tab WHERE klient_id > %1").arg(clients));
    q.exec(QStringLiteral("DELETE FROM webove_rezervace_tab"));
    h.site->call([](WebSimulator &s) {
        s.zapomenPozadavky();
        s.zapomenCekajici();
    });
}

/** Queues n new guests' reservations at the site: their ids. */
QStringList queueGuests(Hotel &h, int n)
{
    const int first = nextGuest;
    nextGuest += n;
    return h.site->call([&](WebSimulator &s) {
        QStringList ids;
        for (int k = 0; k < n; ++k)
            ids << s.pridejRezervaci(webGuest(first + k));
        return ids;
    });
}

void waitImportIdle(Hotel &h)
{
    waitFor([&] { return h.engine().stavImportu() == StavImportu::Nic; }, 120000);
}

/** The database's own time to store n web reservations: clients, stays and ids in multi-row INSERTs. */
double insertFloor(Hotel &h, int n)
{
    QStringList klienti, pobyty, ids;
    for (int k = 0; k < n; ++k) {
        const SimRezervace r = webGuest(k);
        klienti << QStringLiteral("(%1, 1, 'Host %2', '+420 777 000 000', 'host@example.cz', 'Česko')")
                       .arg(900000 + k)
                       .arg(k);
        pobyty << QStringLiteral("(%1, %2, %3, '%4', '%5', %6, 2000)")
                      .arg(900000 + k)
                      .arg(9000000 + k)
                      .arg(sqlDay(today), r.datum_od, r.datum_do)
                      .arg(1 + k % rooms);
        ids << QStringLiteral("('podlaha%1', %2, %3, '%4', '%5', %6)")
                   .arg(k)
                   .arg(9000000 + k)
                   .arg(r.pokojid, r.datum_od, r.datum_do, sqlDay(today));
    }
    QStringList statements{QStringLiteral("START TRANSACTION")};
    const auto batches = [&](const QString &head, const QStringList &rows) {
        for (qsizetype i = 0; i < rows.size(); i += 1000)
            statements << head + rows.mid(i, 1000).join(QStringLiteral(", "));
    };
    batches(QStringLiteral("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email, stat) VALUES "),
            klienti);
    batches(QStringLiteral("INSERT INTO objednavky_pokoje_tab (klient_id, cislo_objednavky, datum_objednavky, od_kdy, "
                           "do_kdy, pokoj_id, cena) VALUES "),
            pobyty);
    batches(QStringLiteral("INSERT INTO webove_rezervace_tab (rezervaceid, cislo_objednavky, typ_pokoje_id, od_kdy, "
                           "do_kdy, datum_importu) VALUES "),
            ids);
    statements << QStringLiteral("COMMIT");
    const double ms = timeMs([&] { rawExec(h, statements); });
    rawExec(h, {QStringLiteral("DELETE FROM klienti_tab WHERE klient_id >= 900000"),
                QStringLiteral("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky >= 9000000"),
                QStringLiteral("DELETE FROM webove_rezervace_tab WHERE rezervaceid LIKE 'podlaha%'")});
    return ms;
}

void exportFigures()
{
    Figure time{QStringLiteral("prices+occupancy export, to site's receipt"), QStringLiteral("< 50 ms"), 50};
    Figure stall{QStringLiteral("  window's longest stall during it"), QStringLiteral("<= 20 ms"), 20, true};
    const QString script = QStringLiteral("ceny_a_obsazenost.php");
    for (int c : allCopies) {
        Hotel &h = hotels[c];
        h.use();
        std::vector<double> times, stalls, floors;
        for (int i = -1; i < repeat; ++i) {
            const int before = h.site->call([&](WebSimulator &s) { return s.pocetPrijeti(script); });
            const qint64 start = nowNs();
            const double callMs = timeMs([&] { h.engine().ExportCenObsazenosti(); });
            double gap = 0;
            if (!waitSite(h, [&](WebSimulator &s) { return s.pocetPrijeti(script) > before; }, 120000, &gap))
                break;
            const double ms = double(h.site->call([&](WebSimulator &s) { return s.casPrijeti(script); }) - start) / 1e6;
            // the engine's work after the receipt (the site's answer) is not the export's
            waitFor([&] { return h.engine().stavExportuCen() == StavExportuCen::Nic; }, 10000);
            if (i < 0) {
                const auto [rows, sum] = exportExpected(h);
                const auto ceny = h.site->call([](WebSimulator &s) { return s.ceny(); });
                qint64 sent = 0;
                for (const auto &row : ceny)
                    sent += row.value(QStringLiteral("rezervovano")).toLongLong();
                if (rows != ceny.size() || sum != sent)
                    note(QStringLiteral("EXPORT WRONG at %1 past: %2 rows with %3 booked, the database has %4 with %5")
                             .arg(copyNames[c])
                             .arg(ceny.size())
                             .arg(sent)
                             .arg(rows)
                             .arg(sum));
                continue;
            }
            times.push_back(ms);
            stalls.push_back(std::max(callMs, gap));
            floors.push_back(rawRead(h, exportReads()));
            if (i >= 1 && ms > 1000)
                break;
        }
        time.at[c] = median(times);
        stall.at[c] = median(stalls);
        time.floor[c] = median(floors);
    }
    printFigure(time);
    printFigure(stall);
}

void guestFigures()
{
    for (int n : {1, 10, 100, 1000}) {
        Figure answered{QStringLiteral("%1 guest(s) at once: answered with 302 (fewest)").arg(n),
                        QStringLiteral("all %1").arg(n), double(n), true};
        answered.decimals = 0;
        answered.ratioGoal = false;
        answered.atLeast = true;
        Figure p50{QStringLiteral("  p50 ms, connect to complete 302"), QStringLiteral("-")};
        Figure p99{QStringLiteral("  p99 ms"), n == 100 ? QStringLiteral("< 100 ms") : QStringLiteral("-")};
        if (n == 100)
            p99.goalValue = 100;
        const int runs = n >= 1000 ? std::min(repeat, 3) : repeat;
        for (int c : endCopies) {
            Hotel &h = hotels[c];
            h.use();
            h.engine().nastaveni().adresa = siteAddress(h);
            std::vector<double> p50s, p99s, floors;
            double fewest = n;
            for (int i = -1; i < runs; ++i) {
                forgetWebImports(h);
                std::vector<QByteArray> requests;
                for (const QString &id : queueGuests(h, n))
                    requests.push_back(guestRequest(id));
                GuestBurst burst(h.engine().portNaslouchani(), std::move(requests), 60000);
                burst.start();
                waitFor([&] { return burst.done(); }, 90000);
                waitImportIdle(h);
                if (i < 0)
                    continue;
                const Burst &r = burst.result();
                fewest = std::min(fewest, double(r.answered));
                p50s.push_back(percentile(r.ms, 0.5));
                p99s.push_back(percentile(r.ms, 0.99));
                if (i == 0 && (r.failed || r.timedOut))
                    note(QStringLiteral("%1 at once, %2 past: %3 failed (refused, reset or no 302), %4 unanswered "
                                        "within 60 s; the first failure: %5")
                             .arg(n)
                             .arg(copyNames[c])
                             .arg(r.failed)
                             .arg(r.timedOut)
                             .arg(QString::fromLatin1(r.firstFailure.left(80)).simplified()));
                floors.push_back(insertFloor(h, n));
            }
            answered.at[c] = fewest;
            p50.at[c] = median(p50s);
            p99.at[c] = median(p99s);
            p50.floor[c] = p99.floor[c] = median(floors);
        }
        printFigure(answered);
        printFigure(p50);
        printFigure(p99);
    }
}

void importFigure()
{
    constexpr int count = 10000;
    Figure f{QStringLiteral("import of 10,000 web reservations"), QStringLiteral("< 400 ms"), 400};
    const QString script = QStringLiteral("rezervace_na_vitrane2.php");
    int stored = -1;
    for (int c : endCopies) {
        Hotel &h = hotels[c];
        h.use();
        h.engine().nastaveni().adresa = siteAddress(h);
        std::vector<double> times, floors;
        for (int i = -1; i < std::min(repeat, 3); ++i) {
            forgetWebImports(h);
            const QStringList ids = queueGuests(h, count);
            const qint64 start = nowNs();
            h.engine().ImportRezervaci();
            waitSite(h, [](WebSimulator &s) { return s.cekajici().isEmpty(); }, 300000);
            const double ms = double(h.site->call([&](WebSimulator &s) { return s.casPrijeti(script); }) - start) / 1e6;
            waitImportIdle(h);
            if (i < 0) {
                stored = h.site->call([&](WebSimulator &s) {
                    return int(std::count_if(ids.cbegin(), ids.cend(), [&](const QString &id) {
                        return s.vysledky().value(id) == QLatin1String("1");
                    }));
                });
                continue;
            }
            times.push_back(ms);
            floors.push_back(insertFloor(h, count));
        }
        f.at[c] = median(times);
        f.floor[c] = median(floors);
    }
    printFigure(f);
    note(QStringLiteral("(%1 of the 10,000 stored, the rest refused; the floor inserts the 10,000 clients, stays "
                        "and ids in INSERTs of 1,000 rows)")
             .arg(stored));
    forgetWebImports(hotels[0]);
    forgetWebImports(hotels[2]);
}

// ---- the client dialogs --------------------------------------------------------

struct ClientDialogs
{
    TNovaRezervace nova;
    TKlientiUpravUdaje uprav;
    TRezervaceSmazRezervaci smaz;

    /** show() to shown with its client list filled, then hidden again: milliseconds. */
    static double open(QDialog &dialog, const char *combo)
    {
        auto *list = dialog.findChild<QComboBox *>(QLatin1String(combo));
        const qint64 start = nowNs();
        dialog.show();
        QCoreApplication::processEvents();
        waitFor([&] { return dialog.isVisible() && list && list->count() >= clients; }, 60000);
        const double ms = double(nowNs() - start) / 1e6;
        dialog.hide();
        QCoreApplication::processEvents();
        return ms;
    }
};

void clientDialogFigures()
{
    hotels[2].use();
    const double idle = residentMb();
    auto dialogs = std::make_unique<ClientDialogs>();
    const double first[] = {ClientDialogs::open(dialogs->nova, "KlientComboBox"),
                            ClientDialogs::open(dialogs->uprav, "KlientiComboBox"),
                            ClientDialogs::open(dialogs->smaz, "KlientComboBox")};
    const double opened = residentMb();

    const struct
    {
        const char *name;
        QDialog *dialog;
        const char *combo;
    } each[] = {{"\"Nová rezervace\"", &dialogs->nova, "KlientComboBox"},
                {"\"Údaje klientů\"", &dialogs->uprav, "KlientiComboBox"},
                {"\"Smazání rezervace\"", &dialogs->smaz, "KlientComboBox"}};
    for (const auto &d : each) {
        Figure f{QStringLiteral("open %1, 100,000 clients").arg(QString::fromUtf8(d.name)), QStringLiteral("< 20 ms"),
                 20};
        f.at = timeCopies(allCopies, [&](Hotel &) { ClientDialogs::open(*d.dialog, d.combo); });
        f.floor[0] = f.floor[1] = f.floor[2] = none;
        printFigure(f);
    }
    const auto clientsRead = measureCopies(allCopies, [](Hotel &h) {
        return rawRead(h, {QStringLiteral("SELECT klient_id, typ_klienta_id, jmeno, telefon, email FROM klienti_tab")});
    });
    note(QStringLiteral("(the first openings after start: %1, %2, %3 ms; reading every client plainly takes %4 ms)")
             .arg(first[0], 0, 'f', 1)
             .arg(first[1], 0, 'f', 1)
             .arg(first[2], 0, 'f', 1)
             .arg(clientsRead[2], 0, 'f', 1));
    Figure memory{QStringLiteral("memory after opening all three (MB)"), QStringLiteral("<= +10 MB"), 10, true};
    memory.at[2] = opened - idle;
    memory.ratioGoal = false;
    printFigure(memory);
    note(QStringLiteral("(resident memory %1 MB idle, %2 MB with the three dialogs opened once)")
             .arg(idle, 0, 'f', 1)
             .arg(opened, 0, 'f', 1));
}

// ---- the grid and the desk's other reads -----------------------------------------

void gridAndOtherFigures()
{
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
    Figure g{QStringLiteral("grid 100 rooms x 60 days, read + drawn"), QStringLiteral("< 2 ms"), 2};
    g.at = timeCopies(allCopies, gridOf(QStringLiteral("Vše"), 60));
    QStringList shown;
    for (int room = 1; room <= 100; ++room)
        shown << QString::number(room);
    g.floor = measureCopies(allCopies, [&](Hotel &h) {
        return rawRead(h, {QStringLiteral("SELECT pokoj_id, cislo_objednavky, klient_id, od_kdy, do_kdy "
                                          "FROM objednavky_pokoje_tab FORCE INDEX (pokoj_konec) "
                                          "WHERE pokoj_id IN (%1) AND do_kdy >= %2 AND od_kdy <= %3")
                               .arg(shown.join(u','), sqlDay(today), sqlDay(today.addDays(59)))});
    });
    printFigure(g);

    const auto other = [](const QString &name, const std::array<double, copies> &at) {
        Figure f{name, QStringLiteral("-")};
        f.at = at;
        printFigure(f);
    };
    other(QStringLiteral("grid 1,000 rooms x 365 days, read + drawn"), timeCopies(allCopies, gridOf(QStringLiteral("Celý hotel"), 365)));
    other(QStringLiteral("stay price, 365 days"), timeCopies(allCopies, [](Hotel &) {
              RozpisCeny::Nacti(1, 1, today, today.addDays(364));
          }));
    const Objednavka pobyt(1, 0, today, today.addDays(40), today.addDays(46), 50, 0);
    other(QStringLiteral("collision count, one room, 7 days"), timeCopies(allCopies, [&](Hotel &) {
              TMojeQuery q;
              pobyt.JeKolize(q);
          }));
    other(QStringLiteral("free-room search, 250 rooms, 7 days"), timeCopies(allCopies, [](Hotel &) {
              TMojeQuery q;
              Objednavka::NajdiVolnyPokoj(q, 1, today.addDays(40), today.addDays(46));
          }));
    other(QStringLiteral("reservations of a client (100)"), timeCopies(allCopies, [](Hotel &) {
              Objednavky().NactiProKlienta(1);
          }));
    const QString typy = QStringLiteral("typy_pokoju.php");
    other(QStringLiteral("room types export, to site's receipt"), measureCopies(allCopies, [&](Hotel &h) {
              const int before = h.site->call([&](WebSimulator &s) { return s.pocetPrijeti(typy); });
              const qint64 start = nowNs();
              h.engine().ExportTypuPokoju();
              waitSite(h, [&](WebSimulator &s) { return s.pocetPrijeti(typy) > before; }, 10000);
              return double(h.site->call([&](WebSimulator &s) { return s.casPrijeti(typy); }) - start) / 1e6;
          }));

    // The new reservation dialog rebuilds at every change: the price, its tooltip, the collision test.
    TNovaRezervace dialog;
    auto *klient = dialog.findChild<QComboBox *>(QStringLiteral("KlientComboBox"));
    auto *pokoj = dialog.findChild<QComboBox *>(QStringLiteral("PokojComboBox"));
    auto *od = dialog.findChild<QDateEdit *>(QStringLiteral("OdDateTimePicker"));
    auto *dO = dialog.findChild<QDateEdit *>(QStringLiteral("DoDateTimePicker"));
    int room = 0;
    Hotel *shownFor = nullptr;
    other(QStringLiteral("new reservation's rebuild, 14 days"), measureCopies(allCopies, [&](Hotel &h) {
              if (shownFor != &h) {   // the dialog reads the hotel it is shown on
                  dialog.hide();
                  dialog.show();
                  QCoreApplication::processEvents();
                  klient->hidePopup();
                  klient->setCurrentIndex(0);
                  od->setDate(today);
                  dO->setDate(today.addDays(13));
                  shownFor = &h;
              }
              return timeMs([&] { pokoj->setCurrentIndex(room = 1 - room); });
          }));
    dialog.hide();
}

void connectSite(Hotel &h)
{
    WebSimulator::Nastaveni n;
    n.portDesky = h.engine().portNaslouchani();
    h.site = std::make_unique<Site>(n);
    h.engine().nastaveni().adresa = siteAddress(h);
    h.engine().Pripoj();
    waitFor([&] { return h.engine().jePripojeno(); }, 10000);
}

void backupFigure()
{
    // One copy: a backup reads every row, so it grows with the stays, as it must.
    constexpr int c = 1;
    Hotel &h = hotels[c];
    h.use();
    Figure f{QStringLiteral("backup of the 200,000-stay copy (gzip)"), QStringLiteral("–")};
    f.ratioGoal = false;
    f.decimals = 0;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vitrana-bench-backup-XXXXXX"));
    const QString file = dir.filePath(QStringLiteral("hotel.sql.gz"));
    std::vector<double> times;
    qint64 rows = 0;
    for (int i = 0; i < std::min(repeat, 3); ++i)
        times.push_back(timeMs([&] {
            rows = 0;
            for (const KontrolaTabulky &k : Zaloha::zapis(h.db(), file))
                rows += k.radku;
        }));
    f.at[c] = median(times);
    printFigure(f);
    TMojeQuery q(h.db());
    q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM objednavky_pokoje_tab"));
    q.open();
    note(QStringLiteral("(%1 reservations, %2 rows in all; the file has %3 MB; no restore: the desk's export "
                        "worker is connected, and a restore must be alone)")
             .arg(q.integer(QStringLiteral("pocet")))
             .arg(rows)
             .arg(QString::number(double(QFileInfo(file).size()) / 1e6, 'f', 1)));
}

// ---- one server and the cluster ------------------------------------------------

QString privateSocket;   // the benchmark's private server
constexpr int deskRounds = 200;
constexpr int importCount = 1000;

/** A desk's connection, to one server or to the given node of the cluster. */
using Connect = std::function<std::unique_ptr<TMojeDatabaze>(int node)>;

/** What the desk measured on one server or on the cluster. */
struct Place
{
    std::vector<double> bookings;   // ms, each one
    double import = none;
    std::vector<double> raceSaves;  // ms, each desk's each one
    double retries = none;          // runs again per save of the race
    int booked = 0;
    int imported = 0;
    int oneWinner = 0;              // race rounds where exactly one desk stored
    QStringList errors;
};

/** A reply of 1,000 reservations spread over the second year, as the web road's guests. */
RezervaceZWebu webReply(int run)
{
    RezervaceZWebu reply;
    reply.pocet_rezervaci = QString::number(importCount);
    for (int k = 0; k < importCount; ++k) {
        WebRezervace r;
        r.rezervaceid = QStringLiteral("cluster%1-%2").arg(run).arg(k);
        r.typ_pokoje_id = 1 + k % roomTypes;
        r.od_kdy = today.addDays(366 + (k * 37) % 330);
        r.do_kdy = r.od_kdy.addDays(k % 7);
        r.cena = 2000;
        r.jmeno = QStringLiteral("Host %1").arg(k);
        r.telefon = QStringLiteral("+420 777 000 000");
        r.email = QStringLiteral("host@example.cz");
        r.stat = QStringLiteral("Česko");
        reply.rezervace.push_back(r);
    }
    return reply;
}

void forgetNew(TMojeDatabaze &db, int seededMax)
{
    TMojeQuery q(db);
    q.exec(QStringLiteral("DELETE FROM objednavky_pokoje_tab WHERE cislo_objednavky > %1").arg(seededMax));
    q.exec(QStringLiteral("DELETE FROM klienti_tab WHERE klient_id > %1").arg(clients));
    q.exec(QStringLiteral("DELETE FROM webove_rezervace_tab"));
}

/** Seeds the hotel through desk 0, then its bookings, web imports and two desks racing. */
Place measurePlace(const Connect &connect)
{
    Place p;
    const std::unique_ptr<TMojeDatabaze> db = connect(0);
    db->makeCurrent();
    Indexes::addMissing(*db);   // as a desk's start adds them
    int seededMax = 0;
    {
        TMojeQuery q(*db);
        seedHotel(q, today);
        q.setSql(QStringLiteral("SELECT MAX(cislo_objednavky) AS nejvyssi FROM objednavky_pokoje_tab"));
        q.open();
        seededMax = q.integer(QStringLiteral("nejvyssi"));
    }

    // Each a free room: the seed books the coming year only.
    const QDate od = today.addDays(400);
    Objednavka(1, 0, today, od, od.addDays(2), rooms, 1000).Zarezervuj();   // only warms up
    for (int i = 0; i < deskRounds; ++i) {
        const Objednavka o(1 + i % 200, 0, today, od, od.addDays(2), 1 + i, 1000);
        bool stored = false;
        p.bookings.push_back(timeMs([&] { stored = o.Zarezervuj(); }));
        p.booked += stored;
    }
    forgetNew(*db, seededMax);

    std::vector<double> times;
    for (int run = -1; run < std::min(repeat, 3); ++run) {
        const RezervaceZWebu reply = webReply(run + 1);
        ImportRezervaci::Vysledek v;
        const double ms = timeMs([&] { v = ImportRezervaci::ulozRezervace(reply, today); });
        if (!v.preruseno.isEmpty())
            p.errors << v.preruseno;
        p.imported = v.ulozeno;
        forgetNew(*db, seededMax);
        if (run >= 0)
            times.push_back(ms);
    }
    p.import = median(times);

    // Round r: desk 0 wants nights 4r..4r+2 of room 5, desk 1 nights 4r+1..4r+3.
    std::array<std::vector<double>, 2> saves;
    std::vector<std::atomic<int>> stored(deskRounds);
    const qint64 repeated = TMojeDatabaze::savesRepeated();
    p.errors << souboj(deskRounds, connect, [&](int d, int round) {
        const QDate first = today.addDays(420 + 4 * round + d);
        const Objednavka o(1 + d, 0, today, first, first.addDays(2), 5, 1000);
        bool won = false;
        saves[d].push_back(timeMs([&] { won = o.Zarezervuj(); }));
        stored[round] += won;
    });
    p.retries = double(TMojeDatabaze::savesRepeated() - repeated) / (2.0 * deskRounds);
    p.raceSaves = saves[0];
    p.raceSaves.insert(p.raceSaves.end(), saves[1].begin(), saves[1].end());
    p.oneWinner = int(std::count_if(stored.begin(), stored.end(), [](const std::atomic<int> &n) { return n == 1; }));
    db->makeCurrent();   // the race's desk of this thread is gone
    forgetNew(*db, seededMax);
    return p;
}

void clusterFigures()
{
    printClusterHeader(
        QStringLiteral("One server and a three-node Galera cluster on loopback, 1,000 rooms of 4 types (ms)"));
    QString reason;
    if (!GaleraCluster::available(&reason)) {
        note(QStringLiteral("(no cluster: %1)").arg(reason));
        return;
    }
    const QString name = QStringLiteral("bench_cluster");
    const auto account = [](Configuration c, const QString &user, const QString &password) {
        c.timeoutSeconds = 300;   // the seed's statements take seconds on three nodes of two cores
        auto db = std::make_unique<TMojeDatabaze>(c);
        db->open(user, password);
        return db;
    };
    Installation::createDatabaseIfMissing(privateSocket, name, false);
    Configuration single;
    single.mode = Configuration::Mode::MySql;
    single.socket = privateSocket;
    single.name = name;
    single.listenPort = 0;
    const Place one = measurePlace([&](int) { return account(single, PrivateServer::osUser(), QString()); });

    GaleraCluster cluster;
    Place many;
    double startMs = none;
    QString folder;
    try {
        startMs = timeMs([&] {
            cluster.start(3);
            cluster.createDatabase(name);
        });
        folder = cluster.logFile(0).section(u'/', 0, -3);
        many = measurePlace([&](int node) {
            return account(cluster.config(node), GaleraCluster::user(), GaleraCluster::password());
        });
    } catch (const std::exception &e) {
        note(QStringLiteral("(the cluster failed: %1)").arg(QString::fromUtf8(e.what()).left(400)));
        return;
    }
    cluster.stop();

    const auto figure = [&](const QString &label, const std::function<double(const Place &)> &of, int decimals = 2,
                            bool judged = true) {
        printClusterFigure({label, of(one), of(many), decimals, judged});
    };
    figure(QStringLiteral("booking at the desk, p50 (200 rounds)"),
           [](const Place &p) { return percentile(p.bookings, 0.5); });
    figure(QStringLiteral("  p99"), [](const Place &p) { return percentile(p.bookings, 0.99); });
    figure(QStringLiteral("web import of 1,000 reservations"), [](const Place &p) { return p.import; }, 0);
    figure(QStringLiteral("two desks booking one room, p50 per save"),
           [](const Place &p) { return percentile(p.raceSaves, 0.5); });
    figure(QStringLiteral("  p99 per save"), [](const Place &p) { return percentile(p.raceSaves, 0.99); });
    figure(QStringLiteral("  saves run again, per save"), [](const Place &p) { return p.retries; }, 3, false);
    const auto tell = [](const QString &where, const Place &p) {
        note(QStringLiteral("(%1: %2 of %3 bookings stored, %4 of %5 imported, %6 of %7 race rounds with one winner%8)")
                 .arg(where)
                 .arg(p.booked)
                 .arg(deskRounds)
                 .arg(p.imported)
                 .arg(importCount)
                 .arg(p.oneWinner)
                 .arg(deskRounds)
                 .arg(p.errors.isEmpty() ? QString() : QStringLiteral("; failed: ") + p.errors.first()));
    };
    tell(QStringLiteral("one server"), one);
    tell(QStringLiteral("cluster"), many);
    note(QStringLiteral("(the desk on node 0, the racing desks on nodes 0 and 1; on one server two connections; the "
                        "cluster started in %1 s, its data under %2)")
             .arg(startMs / 1000, 0, 'f', 1)
             .arg(folder));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vitrana.web.info=false\nvitrana.web.warning=false"));
    const QStringList args = app.arguments();
    const int r = args.indexOf(QStringLiteral("--repeat"));
    if (r > 0 && r + 1 < args.size())
        repeat = qMax(1, args[r + 1].toInt());
    const int o = args.indexOf(QStringLiteral("--only"));
    const QString only = o > 0 && o + 1 < args.size() ? args[o + 1] : QString();

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vitrana-bench-XXXXXX"));
    PrivateServer server(dir.path());
    server.start();
    privateSocket = server.socketPath();
    today = QDate::currentDate();
    const int pasts[copies] = {2000, 200000, 1000000};
    // the cluster part seeds hotels of its own
    const int seeded = only == QLatin1String("cluster") ? 0 : copies;
    out << "Vitrana benchmark: 1,000 rooms of 4 types, every room priced and booked over the coming year, "
        << "100,000 clients;\nthree copies with 2,000, 200,000 and 1,000,000 past stays. Medians of "
        << repeat << " runs (a run over a second: of 2).\n";
    for (int c = 0; c < seeded; ++c) {
        Hotel &h = hotels[c];
        h.name = QStringLiteral("bench_%1").arg(pasts[c]);
        h.past = pasts[c];
        const double ms = timeMs([&] {
            Installation::createDatabaseIfMissing(server.socketPath(), h.name, false);
            Configuration config;
            config.mode = Configuration::Mode::MySql;
            config.socket = server.socketPath();
            config.name = h.name;
            config.listenPort = 0;
            config.timeoutSeconds = 300;   // seeding a million stays takes statements of many seconds
            h.desk = std::make_unique<Recepce>(config, true);
            h.desk->pripoj([](const QString &, const QString &user) { return Prihlaseni{user, QString()}; });
            h.use();
            TMojeQuery q(h.db());
            const int coming = seedHotel(q, today);
            seedPast(q, today, h.past);
            q.setSql(QStringLiteral("SELECT MAX(cislo_objednavky) AS nejvyssi FROM objednavky_pokoje_tab"));
            q.open();
            h.seededMax = q.integer(QStringLiteral("nejvyssi"));
            h.skupiny = std::make_unique<SkupinyPokoju>();
            if (c == 0)
                out << "Coming stays: " << coming << "\n";
        });
        connectSite(h);
        out << "Seeded the copy with " << copyNames[c] << " past stays in " << QString::number(ms / 1000, 'f', 1)
            << " s\n";
        out.flush();
    }
    // the server merges the new index entries in the background for a while
    if (seeded > 0)
        QThread::sleep(5);

    out << "\nmeasured: the worst copy; floor: the database's own time for the same rows in that copy, by plain "
           "statements;\nratio: the 1,000,000 copy's figure over the 2,000 copy's (goal: within 1.5x). Milliseconds.\n";
    const auto part = [&](const QString &name, const QString &title, void (*figures)()) {
        if (only.isEmpty() || only == name) {
            printGoalsHeader(title);
            figures();
        }
    };
    part(QStringLiteral("dialogs"), QStringLiteral("Client dialogs (each shown, filled and hidden again)"),
         clientDialogFigures);
    part(QStringLiteral("export"), QStringLiteral("Prices-and-occupancy export, 1,000 priced rooms fully booked"),
         exportFigures);
    part(QStringLiteral("grid"), QStringLiteral("Occupancy grid and the desk's other reads"), gridAndOtherFigures);
    part(QStringLiteral("guests"),
         QStringLiteral("Guests forwarded by the site to the desk's listener (their reservations waiting)"),
         guestFigures);
    part(QStringLiteral("import"), QStringLiteral("Web import (the site holds 10,000 waiting reservations)"),
         importFigure);
    part(QStringLiteral("backup"), QStringLiteral("Backup of the hotel database"), backupFigure);
    if (only.isEmpty() || only == QLatin1String("cluster"))
        clusterFigures();
    for (Hotel &h : hotels) {   // before the server and the application go
        h.site.reset();
        h.skupiny.reset();
        h.desk.reset();
    }
    return 0;
}
