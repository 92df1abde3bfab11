// The reception listener with the desk's real sockets: a browser forwarded
// by the web site, the import it starts, the redirect back, and browsers
// that misbehave.

#include "TestDatabase.h"
#include "WebTestSupport.h"

#include "gui/MessageBox.h"
#include "app/VitranaApplication.h"

using namespace WebTest;

namespace {
QString day(int offset)
{
    return QDate::currentDate().addDays(offset).toString(Qt::ISODate);
}

const QByteArray request = "GET /?cislo_rezervace=17&skript_zpet=zpet.php&vzhled_stranek=2&konec_dat=true HTTP/1.1\r\n"
                           "Host: recepce:9876\r\nUser-Agent: test\r\n\r\n";

QByteArray redirectTo(const QByteArray &location)
{
    return "HTTP/1.1 302 Moved Temporarily\n"
           "Connection: close\n"
           "Content-type: text/html\n"
           "Expires: Thu, 19 Nov 1981 08:52:00 GMT\n"
           "Cache-Control: no-store, no-cache\n"
           "Pragma: no-cache\n"
           "Location: " + location + "\n"
           "\n"
           "<html>\n"
           "<head>\n"
           "<title>P\xF8\x65sm\xECrov\xE1n\xED</title>\n"
           "</head>\n"
           "<body>\n"
           "\tPokud nebudete automaticky p\xF8\x65sm\xECrov\xE1ni, pokra\xE8ujte pros\xEDm t\xEDmto odkazem:<br>\n"
           "\t<a href=\"" + location + "\">P\xF8\x65sm\xECrov\xE1n\xED</a>\n"
           "</body>\n"
           "</html>\n";
}

// The Location header of a reply, empty without one.
QByteArray location(const QByteArray &reply)
{
    for (const QByteArray &line : reply.left(reply.indexOf("\n\n")).split('\n'))
        if (line.startsWith("Location: "))
            return line.mid(10);
    return QByteArray();
}
} // namespace

class TestWebListener : public QObject
{
    Q_OBJECT

    std::unique_ptr<Pracoviste> m_desk;

    quint16 port() const { return m_desk->dialog->portNaslouchani(); }

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3)");
        m_desk = std::make_unique<Pracoviste>();
        QVERIFY(m_desk->dialog->portNaslouchani() != 0);
        m_desk->web->pridejRezervaci({"17", "3", day(1), day(2), "2000", "Jana", "", "", ""});
    }
    void cleanup() { m_desk.reset(); }

    void browserIsSentBackWithTheOutcome_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::newRow("one piece") << QList<QByteArray>{request};
        QTest::newRow("split before konec_dat") << QList<QByteArray>{request.left(request.indexOf("konec_dat")),
                                                                     request.mid(request.indexOf("konec_dat"))};
        QTest::newRow("split inside konec_dat=true") << QList<QByteArray>{request.left(request.indexOf("_dat=")),
                                                                          request.mid(request.indexOf("_dat="))};
        QTest::newRow("a POST body") << QList<QByteArray>{
            "POST / HTTP/1.1\r\nContent-Length: 71\r\n\r\n",
            "cislo_rezervace=17&skript_zpet=zpet.php&vzhled_stranek=2&konec_dat=true"};
    }
    void browserIsSentBackWithTheOutcome()
    {
        QFETCH(QList<QByteArray>, pieces);
        Prohlizec browser(port());
        for (const QByteArray &piece : pieces) {
            // Each piece on its own: the listener sees it before the next one comes.
            QVERIFY(m_desk->web->pozadavky().isEmpty());
            browser.posli(piece);
            QTest::qWait(50);
        }
        QTRY_COMPARE(browser.prijato,
                     redirectTo("zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2"));
        QCOMPARE(TestDatabase::rows("SELECT pokoj_id, od_kdy FROM objednavky_pokoje_tab"),
                 QStringList{QString("5|%1").arg(day(1))});
        QCOMPARE(m_desk->web->vysledky().value("17"), QStringLiteral("1"));
        // Closed by the desk after its pause.
        QTRY_VERIFY(browser.odpojen());
    }

    void roomTakenAnswersMinusOne()
    {
        m_desk->web->pridejRezervaci({"18", "3", day(2), day(3), "2000", "Petr", "", "", ""});
        Prohlizec browser(port());
        browser.posli(request);
        QTRY_COMPARE(location(browser.prijato),
                     QByteArray("zpet.php?pocet_rezervaci=2&rezervace[17]=1&rezervace[18]=-1&cislo_rezervace=17&vzhled_stranek=2"));
    }

    void valuesEndAtTheRequestLine_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("vzhled_stranek last, after konec_dat")
            << QByteArray("GET /?cislo_rezervace=17&skript_zpet=zpet.php&konec_dat=true&vzhled_stranek=2 HTTP/1.1\r\n"
                          "Host: recepce\r\nCookie: a=b\r\n\r\n")
            << QByteArray("zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2");
        QTest::newRow("header injection through a body")
            << QByteArray("POST / HTTP/1.1\r\n\r\nkonec_dat=true&cislo_rezervace=17&vzhled_stranek=2&skript_zpet=zpet.php\r\n"
                          "Set-Cookie: ukradeno=1\r\nRefresh: 0\r\n")
            << QByteArray("zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2");
        QTest::newRow("no skript_zpet") << QByteArray("GET /?cislo_rezervace=17&konec_dat=true HTTP/1.1\r\n\r\n")
                                        << QByteArray("?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=");
    }
    void valuesEndAtTheRequestLine()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        Prohlizec browser(port());
        browser.posli(data);
        QTRY_VERIFY(browser.prijato.contains("</html>\n"));
        QCOMPARE(location(browser.prijato), expected);
        const QByteArray head = browser.prijato.left(browser.prijato.indexOf("\n\n"));
        QCOMPARE(head.count('\n'), 6);   // seven header lines, none smuggled in
        QVERIFY(!browser.prijato.contains('\r'));
    }

    void unreachableSiteGivesAnErrorAfterTheWait()
    {
        napis(m_desk->dialog.get(), "AdresaEdit", QStringLiteral("127.0.0.1:%1").arg(volnyPort()));
        Prohlizec browser(port());
        browser.posli(request);
        QTRY_COMPARE_WITH_TIMEOUT(browser.prijato, redirectTo("zpet.php?chyba=1&cislo_rezervace=17&vzhled_stranek=2"), 10000);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 0);
        QTRY_VERIFY(browser.odpojen());
        // The import goes on trying in the background.
        QCOMPARE(m_desk->dialog->stavImportu(), 0);
        QCOMPARE(MessageBox::history().size(), 0);
    }

    void laterBrowserDoesNotGetAnotherGuestsResult()
    {
        napis(m_desk->dialog.get(), "AdresaEdit", QStringLiteral("127.0.0.1:%1").arg(volnyPort()));
        {
            Prohlizec gone(port());
            gone.posli(request);
            QTRY_COMPARE(m_desk->dialog->stavImportu(), 0);   // the wait runs
        }
        QTest::qWait(50);
        Prohlizec later(port());
        later.posli("GET /?cislo_rezervace=55");
        QTest::qWait(50);
        QVERIFY(!later.odpojen());   // served, not cut off as a second browser
        QTRY_VERIFY_WITH_TIMEOUT(later.odpojen(), 5000);
        QCOMPARE(later.prijato, QByteArray());
    }

    void malformedReplyGivesAnError()
    {
        m_desk->web->setChovani(WebSimulator::Chovani::ChybneHodnoty);
        Prohlizec browser(port());
        browser.posli(request);
        QTRY_COMPARE(location(browser.prijato), QByteArray("zpet.php?chyba=1&cislo_rezervace=17&vzhled_stranek=2"));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 0);
    }

    void secondBrowserIsCutOff()
    {
        Prohlizec first(port());
        first.posli("GET /?cislo_rezervace=17");
        Prohlizec second(port());
        second.posli(request);
        QTRY_VERIFY(second.odpojen());
        QVERIFY(second.prijato.isEmpty());
        QVERIFY(!first.odpojen());
        // Its request was not read: no import started.
        QTest::qWait(50);
        QVERIFY(m_desk->web->pozadavky().isEmpty());
        first.posli("&skript_zpet=zpet.php&vzhled_stranek=2&konec_dat=true HTTP/1.1\r\n\r\n");
        QTRY_COMPARE(location(first.prijato),
                     QByteArray("zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2"));
    }

    void idleBrowserIsDroppedAndTheNextOneServed()
    {
        // Neither a browser that never completes its request nor what it sent
        // stands in the way of the next guest.
        Prohlizec idle(port());
        idle.posli("GET /?cislo_rezervace=99&skript_zpet=jinam.php");
        QTRY_VERIFY_WITH_TIMEOUT(idle.odpojen(), 5000);
        QVERIFY(idle.prijato.isEmpty());

        Prohlizec next(port());
        next.posli(request);
        QTRY_COMPARE(location(next.prijato),
                     QByteArray("zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2"));
    }

    void requestWithoutNumberIsNeverAnswered()
    {
        Prohlizec browser(port());
        browser.posli("GET /?skript_zpet=zpet.php&konec_dat=true HTTP/1.1\r\n\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(browser.odpojen(), 5000);
        QVERIFY(browser.prijato.isEmpty());
        QVERIFY(m_desk->web->pozadavky().isEmpty());
    }

    void oversizedRequestIsDropped()
    {
        Prohlizec big(port());
        big.posli("GET /?cislo_rezervace=17&x=" + QByteArray(PrijataData::limit, 'a'));
        QTRY_VERIFY(big.odpojen());
        QVERIFY(big.prijato.isEmpty());
        Prohlizec next(port());
        next.posli(request);
        QTRY_COMPARE(location(next.prijato),
                     QByteArray("zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2"));
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestWebListener test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_web_listener.moc"
