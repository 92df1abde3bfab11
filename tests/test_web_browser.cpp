// The road of one web reservation in a real browser: headless Chromium,
// driven through chromedriver, books a room on the companion site, is
// forwarded to the desk's listener and sent back to the site's result page;
// the desk then holds the client and the reservation.

#include "TestDatabase.h"
#include "WebTestSupport.h"

#include "gui/MessageBox.h"
#include "app/VitranaApplication.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <signal.h>

using namespace WebTest;

namespace {
const char *const elementKey = "element-6066-11e4-a52e-4f735466cecf";

// A chromedriver process and one browser session, spoken to over its HTTP API.
class WebDriver
{
public:
    QString chyba;   // what went wrong, for the failure message

    bool start(const QString &userDataDir, const QString &logFile)
    {
        m_userDataDir = userDataDir;
        m_network.setProxy(QNetworkProxy::NoProxy);
        const quint16 port = volnyPort();
        m_base = QStringLiteral("http://127.0.0.1:%1").arg(port);
        m_driver.setProcessChannelMode(QProcess::MergedChannels);
        m_driver.start(QStringLiteral("chromedriver"),
                       {QStringLiteral("--port=%1").arg(port), QStringLiteral("--log-path=") + logFile});
        if (!m_driver.waitForStarted(10000)) {
            chyba = QStringLiteral("chromedriver does not start: ") + m_driver.errorString();
            return false;
        }
        const bool ready = QTest::qWaitFor([&] {
            return call("GET", QStringLiteral("/status")).toObject().value("ready").toBool();
        }, 20000);
        if (!ready) {
            chyba = QStringLiteral("chromedriver is not ready: ") + chyba;
            return false;
        }

        const QJsonArray args{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                              "--disable-background-networking", "--disable-component-update", "--disable-sync",
                              "--disable-dev-shm-usage", "--no-proxy-server", "--user-data-dir=" + userDataDir};
        const QJsonObject options{{"binary", QStringLiteral("/usr/bin/chromium")}, {"args", args}};
        const QJsonObject capabilities{
            {"alwaysMatch", QJsonObject{{"browserName", "chrome"}, {"goog:chromeOptions", options},
                                        {"timeouts", QJsonObject{{"pageLoad", 60000}}}}}};
        const QJsonValue session = call("POST", QStringLiteral("/session"), {{"capabilities", capabilities}}, 60000);
        m_session = session.toObject().value("sessionId").toString();
        if (m_session.isEmpty()) {
            chyba = QStringLiteral("no browser session: ") + chyba;
            return false;
        }
        return true;
    }

    ~WebDriver()
    {
        if (!m_session.isEmpty())
            call("DELETE", QStringLiteral("/session/") + m_session, {}, 30000);
        if (m_driver.state() != QProcess::NotRunning) {
            m_driver.terminate();
            if (!m_driver.waitForFinished(5000)) {
                m_driver.kill();
                m_driver.waitForFinished(5000);
            }
        }
        killOurBrowser();
    }

    QJsonValue session(const char *op, const QString &path, const QJsonObject &body = {}, int timeout = 60000)
    {
        return call(op, QStringLiteral("/session/") + m_session + path, body, timeout);
    }

    QString element(const QString &css)
    {
        return session("POST", "/element", {{"using", "css selector"}, {"value", css}}).toObject().value(elementKey).toString();
    }

    bool type(const QString &css, const QString &text)
    {
        const QString id = element(css);
        return !id.isEmpty() && session("POST", "/element/" + id + "/value", {{"text", text}}).isNull();
    }

    bool click(const QString &css)
    {
        const QString id = element(css);
        return !id.isEmpty() && session("POST", "/element/" + id + "/click").isNull();
    }

    QString text(const QString &css)
    {
        const QString id = element(css);
        return id.isEmpty() ? QString() : session("GET", "/element/" + id + "/text").toString();
    }

private:
    // One command; the event loop runs meanwhile, so the desk and the site go on working.
    QJsonValue call(const char *op, const QString &path, const QJsonObject &body = {}, int timeout = 10000)
    {
        QNetworkRequest request(QUrl(m_base + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        QNetworkReply *reply = nullptr;
        if (qstrcmp(op, "GET") == 0)
            reply = m_network.get(request);
        else if (qstrcmp(op, "DELETE") == 0)
            reply = m_network.deleteResource(request);
        else
            reply = m_network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
        loop.exec();
        if (!reply->isFinished()) {
            reply->abort();
            chyba = QStringLiteral("%1 %2: no answer in time").arg(QLatin1String(op), path);
        }
        const QByteArray data = reply->readAll();
        reply->deleteLater();
        const QJsonValue value = QJsonDocument::fromJson(data).object().value("value");
        if (value.isObject() && value.toObject().contains("error"))
            chyba = QStringLiteral("%1 %2: %3").arg(QLatin1String(op), path, value.toObject().value("message").toString());
        return value;
    }

    // Should the session not end normally, the browser of this test (known
    // by its own profile folder) must not outlive it.
    void killOurBrowser()
    {
        if (m_userDataDir.isEmpty())
            return;
        QDirIterator proc(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
        while (proc.hasNext()) {
            const QString dir = proc.next();
            bool numeric = false;
            const int pid = QFileInfo(dir).fileName().toInt(&numeric);
            if (!numeric)
                continue;
            QFile cmdline(dir + QStringLiteral("/cmdline"));
            if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(m_userDataDir.toLocal8Bit()))
                ::kill(pid, SIGKILL);
        }
    }

    QNetworkAccessManager m_network;
    QProcess m_driver;
    QString m_base;
    QString m_session;
    QString m_userDataDir;
};
} // namespace

class TestWebBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // scripts/setup.sh installs both.
        QVERIFY2(QFile::exists("/usr/bin/chromium"), "Chromium is missing: install the chromium package");
        QVERIFY2(!QStandardPaths::findExecutable("chromedriver").isEmpty(),
                 "chromedriver is missing: install the chromium-driver package");
        TestDatabase::setUp();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }

    void guestBooksInTheBrowser()
    {
        MessageBox::clearHistory();
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (3, 'Dvoulůžkový', 2), (4, 'Apartmá', 4)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3), (6, '106', 3), (7, '301', 4)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední')");
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab (datum, typ_dne_id) "
                           "WITH RECURSIVE dny(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM dny WHERE n < 30) "
                           "SELECT CURDATE() + INTERVAL n DAY, 1 FROM dny");
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (3, 1, 1, 1500), (4, 1, 1, 3200)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (9, 2, 'Stálý host')");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (9, 1, '%1', '%2', '%3', 5, 100)")
                               .arg(day(0), day(3), day(3)));

        // The desk tells the site its room types, prices and occupancy.
        Pracoviste desk;
        QVERIFY(desk.pripoj());
        desk.desk->ExportTypuPokoju();
        QTRY_COMPARE(desk.web->typyPokoju().size(), 2);
        desk.desk->ExportCenObsazenosti();
        QTRY_COMPARE(desk.web->ceny().size(), 62);

        QTemporaryDir profile;
        QVERIFY(profile.isValid());
        const QString log = profile.filePath("chromedriver.log");
        QVERIFY(QDir().mkpath(profile.filePath("profile")));
        WebDriver browser;
        const bool started = browser.start(profile.filePath("profile"), log);
        auto explain = [&] {
            QFile file(log);
            file.open(QIODevice::ReadOnly);
            return (browser.chyba + "\n" + QString::fromUtf8(file.readAll().right(3000))).toLocal8Bit();
        };
        QVERIFY2(started, explain());

        QVERIFY2(browser.session("POST", "/url", {{"url", desk.web->adresaWebu() + "/"}}).isNull(), explain());
        QCOMPARE(browser.text("h1"), QStringLiteral("Rezervace pokoje"));
        QVERIFY2(browser.click("#pokojid option[value='3']"), explain());
        QVERIFY2(browser.type("#datum_od", day(2)), explain());
        QVERIFY2(browser.type("#datum_do", day(4)), explain());
        QVERIFY2(browser.type("#jmeno", "Božena Němcová"), explain());
        QVERIFY2(browser.type("#telefon", "+420 601 234 567"), explain());
        QVERIFY2(browser.type("#email", "bozena@example.cz"), explain());
        QVERIFY2(browser.type("#stat", "Česko"), explain());
        QVERIFY2(browser.click("#odeslat"), explain());

        // Site -> desk's listener -> import -> back to the site's result page.
        QTRY_VERIFY2_WITH_TIMEOUT(browser.session("GET", "/url").toString().contains("/navrat.php"), explain(), 60000);
        QCOMPARE(browser.text("#vysledek"), QStringLiteral("Rezervace č. 1 je potvrzena."));

        // Room 5 is taken on day 3: the first room of the type free on days 2 to 4 is 6.
        QCOMPARE(TestDatabase::rows("SELECT klient_id, typ_klienta_id, jmeno, telefon, email, stat FROM klienti_tab "
                                    "WHERE klient_id > 9"),
                 QStringList{"10|1|Božena Němcová|+420 601 234 567|bozena@example.cz|Česko"});
        QCOMPARE(TestDatabase::rows("SELECT klient_id, cislo_objednavky, datum_objednavky, od_kdy, do_kdy, pokoj_id, cena "
                                    "FROM objednavky_pokoje_tab WHERE klient_id = 10"),
                 QStringList{QString("10|2|%1|%2|%3|6|4500").arg(day(0), day(2), day(4))});
        QCOMPARE(desk.web->vysledky(), (QMap<QString, QString>{{"1", "1"}}));
        QVERIFY(desk.web->cekajici().isEmpty());
        QCOMPARE(MessageBox::history().size(), 0);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestWebBrowser test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_web_browser.moc"
