// The reception listener with the desk's real sockets: a browser forwarded
// by the web site, the import it starts, the redirect back; several guests
// at once, and browsers and sites that misbehave.

#include "GuiTestSupport.h"
#include "TestDatabase.h"
#include "WebTestSupport.h"

#include "app/VitranaApplication.h"
#include "web/IndikatorWebu.h"
#include "web/engine/NaslouchaniRecepce.h"
#include "web/TAdministraceSpolupraceSWebem.h"

#include <QLabel>
#include <QLineEdit>
#include <sys/socket.h>

using namespace WebTest;

namespace {
QByteArray requestFor(const QByteArray &cislo, const QByteArray &zpet = "http://web.example/zpet.php")
{
    return "GET /?cislo_rezervace=" + cislo + "&skript_zpet=" + zpet + "&vzhled_stranek=2&konec_dat=true HTTP/1.1\r\n"
           "Host: recepce:9876\r\nUser-Agent: test\r\n\r\n";
}

const QByteArray request = requestFor("17");

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

const QByteArray stored17 = "http://web.example/zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2";

// A guest waits the whole 20 ticks of a second for the import, so a slow
// machine never turns an answer into chyba=1; and an answered connection is
// closed by force only after a minute, so it must end with its answer.
CasovaniWebu casovani()
{
    CasovaniWebu c = rychleCasovani();
    c.cekaniNaImport = 1000;
    c.odpojeni = 60000;
    c.neuplnyPozadavek = 2000;
    return c;
}

// Clients that connect and stay; connectToHost does not block, so the desk
// takes them while they come.
struct Prohlizece
{
    std::vector<std::unique_ptr<QTcpSocket>> sockets;

    Prohlizece(int kolik, quint16 port)
    {
        for (int i = 0; i < kolik; ++i) {
            sockets.push_back(std::make_unique<QTcpSocket>());
            sockets.back()->connectToHost(QHostAddress::LocalHost, port);
        }
    }
    ~Prohlizece()
    {
        for (const auto &s : sockets)
            s->disconnect();
    }
    int pocet(QAbstractSocket::SocketState stav) const
    {
        return int(std::count_if(sockets.cbegin(), sockets.cend(), [&](const auto &s) { return s->state() == stav; }));
    }
};

// "64ac 1bo": oldest first, a count, an address letter and c (reading), w (waiting) or o (answered);
// C and O are the same within their chance (fresh).
std::vector<NaslouchaniRecepce::UdajSpojeni> spojeni(const QString &popis)
{
    std::vector<NaslouchaniRecepce::UdajSpojeni> out;
    for (const QString &skupina : popis.split(u' ', Qt::SkipEmptyParts)) {
        const QChar stav = skupina.back().toLower();
        const auto s = stav == u'c' ? NaslouchaniRecepce::Stav::Cte
                       : stav == u'w' ? NaslouchaniRecepce::Stav::Ceka
                                      : NaslouchaniRecepce::Stav::Odchazi;
        for (int i = skupina.chopped(2).toInt(); i > 0; --i)
            out.push_back({quint64(out.size() + 1), skupina.chopped(1).right(1).toLatin1(), s, skupina.back().isUpper()});
    }
    return out;
}
} // namespace

class TestWebListener : public QObject
{
    Q_OBJECT

    std::unique_ptr<Pracoviste> m_desk;

    quint16 port() const { return m_desk->port(); }
    NaslouchaniRecepce *listener() const { return m_desk->desk->findChild<NaslouchaniRecepce *>(); }

    void newDesk(const CasovaniWebu &casovani)
    {
        m_desk = std::make_unique<Pracoviste>(casovani);
        m_desk->web->pridejRezervaci({"17", "3", day(1), day(2), "2000", "Jana", "", "", ""});
    }

private slots:
    void initTestCase() { TestDatabase::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3), (6, '106', 3)");
        newDesk(casovani());
        QVERIFY(port() != 0);
    }
    void cleanup() { m_desk.reset(); }

    void browserIsSentBackWithTheOutcome_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<bool>("halfClosed");
        QTest::newRow("one piece") << QList<QByteArray>{request} << false;
        QTest::newRow("split before konec_dat") << QList<QByteArray>{request.left(request.indexOf("konec_dat")),
                                                                     request.mid(request.indexOf("konec_dat"))} << false;
        QTest::newRow("split inside konec_dat=true") << QList<QByteArray>{request.left(request.indexOf("_dat=")),
                                                                          request.mid(request.indexOf("_dat="))} << false;
        QTest::newRow("a POST body") << QList<QByteArray>{
            "POST / HTTP/1.1\r\nContent-Length: 90\r\n\r\n",
            "cislo_rezervace=17&skript_zpet=http://web.example/zpet.php&vzhled_stranek=2&konec_dat=true"} << false;
        QTest::newRow("sending side closed after the request") << QList<QByteArray>{request} << true;
    }
    void browserIsSentBackWithTheOutcome()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(bool, halfClosed);
        Prohlizec browser(port());
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const qint64 precteno = listener()->prectenoBajtu();
            browser.posli(pieces[i]);
            if (i + 1 == pieces.size())
                break;
            // Each piece on its own: the listener has it before the next one comes, and waits for the rest.
            QTRY_COMPARE(listener()->prectenoBajtu(), precteno + pieces[i].size());
            QCOMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        }
        if (halfClosed) {
            QTRY_COMPARE(browser.socket.bytesToWrite(), qint64(0));
            QCOMPARE(::shutdown(int(browser.socket.socketDescriptor()), SHUT_WR), 0);
        }
        QTRY_COMPARE(browser.prijato, redirectTo(stored17));
        QCOMPARE(TestDatabase::rows("SELECT pokoj_id, od_kdy FROM objednavky_pokoje_tab"),
                 QStringList{QString("5|%1").arg(day(1))});
        QCOMPARE(m_desk->web->vysledky().value("17"), QStringLiteral("1"));
        // Ended by the desk with its answer, long before the forced close.
        QTRY_VERIFY(browser.odpojen());
        QTRY_COMPARE(listener()->pocetSpojeni(), 0);
        QCOMPARE(m_desk->chyby.size(), 0);
    }

    void roomTakenAnswersMinusOne()
    {
        m_desk->web->pridejRezervaci({"18", "3", day(2), day(3), "2000", "Petr", "", "", ""});
        m_desk->web->pridejRezervaci({"19", "3", day(1), day(3), "2000", "Pavel", "", "", ""});
        Prohlizec browser(port());
        browser.posli(request);
        QTRY_COMPARE(location(browser.prijato),
                     QByteArray("http://web.example/zpet.php?pocet_rezervaci=3&rezervace[17]=1&rezervace[18]=1"
                                "&rezervace[19]=-1&cislo_rezervace=17&vzhled_stranek=2"));
    }

    void valuesEndAtTheRequestLine_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("vzhled_stranek last, after konec_dat")
            << QByteArray("GET /?cislo_rezervace=17&skript_zpet=http://web.example/zpet.php&konec_dat=true&vzhled_stranek=2 "
                          "HTTP/1.1\r\nHost: recepce\r\nCookie: a=b\r\n\r\n");
        QTest::newRow("header injection through a body")
            << QByteArray("POST / HTTP/1.1\r\n\r\nkonec_dat=true&cislo_rezervace=17&vzhled_stranek=2"
                          "&skript_zpet=http://web.example/zpet.php\r\nSet-Cookie: ukradeno=1\r\nRefresh: 0\r\n");
    }
    void valuesEndAtTheRequestLine()
    {
        QFETCH(QByteArray, data);
        Prohlizec browser(port());
        browser.posli(data);
        QTRY_VERIFY(browser.prijato.contains("</html>\n"));
        QCOMPARE(location(browser.prijato), stored17);
        const QByteArray head = browser.prijato.left(browser.prijato.indexOf("\n\n"));
        QCOMPARE(head.count('\n'), 6);   // seven header lines, none smuggled in
        QVERIFY(!browser.prijato.contains('\r'));
    }

    void returnAddresses_data()
    {
        QTest::addColumn<QByteArray>("zpet");
        QTest::addColumn<bool>("redirected");
        QTest::newRow("http") << QByteArray("http://web.example/zpet.php") << true;
        QTest::newRow("https with a port and a query") << QByteArray("https://web.example:8443/a/zpet.php?x=1") << true;
        QTest::newRow("scheme in capitals") << QByteArray("HTTP://web.example/zpet.php") << true;
        QTest::newRow("javascript:") << QByteArray("javascript:alert(document.cookie)//") << false;
        QTest::newRow("data:") << QByteArray("data:text/html;base64,PHNjcmlwdD4=") << false;
        QTest::newRow("a relative path") << QByteArray("zpet.php") << false;
        QTest::newRow("no host") << QByteArray("http:///zpet.php") << false;
        QTest::newRow("scheme only") << QByteArray("https://") << false;
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("a raw NUL") << QByteArray("http://web.example/z\0pet.php", 28) << false;
        QTest::newRow("a raw tab") << QByteArray("http://web.example/z\tpet.php") << false;
    }
    void returnAddresses()
    {
        QFETCH(QByteArray, zpet);
        QFETCH(bool, redirected);
        Prohlizec browser(port());
        browser.posli(zpet.isEmpty() ? QByteArray("GET /?cislo_rezervace=17&vzhled_stranek=2&konec_dat=true HTTP/1.1\r\n\r\n")
                                     : requestFor("17", zpet));
        QTRY_VERIFY(browser.prijato.contains("</html>\n"));
        if (redirected) {
            QVERIFY(browser.prijato.startsWith("HTTP/1.1 302 Moved Temporarily\n"));
            QCOMPARE(location(browser.prijato), zpet + "?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2");
        } else {
            // A plain page: nothing to follow, nothing echoed, no import.
            QVERIFY(browser.prijato.startsWith("HTTP/1.1 400 Bad Request\n"));
            QCOMPARE(location(browser.prijato), QByteArray());
            QVERIFY(zpet.isEmpty() || !browser.prijato.contains(zpet));
            QVERIFY(!browser.prijato.contains("href"));
            QVERIFY(m_desk->web->pozadavky().isEmpty());
        }
        QTRY_VERIFY(browser.odpojen());
    }

    void unreachableSiteGivesAnErrorAfterTheWait()
    {
        CasovaniWebu c = casovani();
        c.cekaniNaImport = 20;
        newDesk(c);
        m_desk->desk->nastaveni().adresa = QStringLiteral("127.0.0.1:%1").arg(volnyPort());
        Prohlizec browser(port());
        browser.posli(request);
        QTRY_COMPARE_WITH_TIMEOUT(browser.prijato,
                                  redirectTo("http://web.example/zpet.php?chyba=1&cislo_rezervace=17&vzhled_stranek=2"), 10000);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 0);
        QTRY_VERIFY(browser.odpojen());
        // The import goes on trying in the background.
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::PrvniPozadavek);
        QCOMPARE(m_desk->chyby.size(), 0);
    }

    void twoGuestsAtTheSameMoment()
    {
        m_desk->web->pridejRezervaci({"18", "3", day(1), day(2), "2000", "Petr", "", "", ""});
        Prohlizec first(port());
        Prohlizec second(port());
        first.posli(request);
        second.posli(requestFor("18"));
        // Each gets its own answer, with its own number, and both were stored.
        const QByteArray both = "http://web.example/zpet.php?pocet_rezervaci=2&rezervace[17]=1&rezervace[18]=1";
        QTRY_COMPARE(location(first.prijato), both + "&cislo_rezervace=17&vzhled_stranek=2");
        QTRY_COMPARE(location(second.prijato), both + "&cislo_rezervace=18&vzhled_stranek=2");
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 2);
    }

    void guestBookingWhileAnImportRuns()
    {
        // The second guest booked after the first guest's import asked the
        // site: a new import follows, so the second learns its own outcome.
        m_desk->web->setChovani(WebSimulator::Chovani::PoKusech);
        m_desk->web->setProdlevaKusu(-1);
        QSignalSpy requests(listener(), &NaslouchaniRecepce::pozadavek);
        Prohlizec first(port());
        first.posli(request);
        QTRY_COMPARE(m_desk->desk->stavImportu(), StavImportu::CekaNaOdpoved);
        // The site has made its reply (the first piece is here) before the second guest books.
        QTRY_VERIFY(m_desk->desk->odpovedServeru().contains("rezervaceid0=17"));
        m_desk->web->pridejRezervaci({"18", "3", day(1), day(2), "2000", "Petr", "", "", ""});
        Prohlizec second(port());
        second.posli(requestFor("18"));
        QTRY_COMPARE(requests.size(), 2);
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::CekaNaOdpoved);
        m_desk->web->setChovani(WebSimulator::Chovani::Normalne);
        m_desk->web->posliZbytek();
        QTRY_COMPARE(location(first.prijato), stored17);
        QTRY_VERIFY(second.prijato.contains("</html>\n"));
        QVERIFY2(location(second.prijato).contains("rezervace[18]=1&cislo_rezervace=18"), location(second.prijato));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 2);
    }

    void guestRightAfterAnothersRedirect()
    {
        CasovaniWebu c = casovani();
        c.neuplnyPozadavek = 5000;
        newDesk(c);
        Prohlizec first(port());
        first.posli(request);
        QTRY_COMPARE(location(first.prijato), stored17);
        // The next guest's request is still coming when the first one's
        // connection is closed after its answer: only the first one's is.
        m_desk->web->pridejRezervaci({"18", "3", day(5), day(6), "2000", "Petr", "", "", ""});
        Prohlizec second(port());
        const QByteArray next = requestFor("18");
        second.posli(next.left(20));
        QTRY_VERIFY(first.odpojen());
        QVERIFY(!second.odpojen());
        second.posli(next.mid(20));
        QTRY_VERIFY2(location(second.prijato).contains("rezervace[18]=1&cislo_rezervace=18"), second.prijato);
    }

    void slowClientDoesNotHoldTheGuests()
    {
        CasovaniWebu c = casovani();
        c.neuplnyPozadavek = 6000;
        newDesk(c);
        // One byte at a time, never a complete request.
        Prohlizec slow(port());
        QTimer drip;
        QObject::connect(&drip, &QTimer::timeout, [&] { slow.posli("x"); });
        drip.start(100);
        QTRY_VERIFY(listener()->prectenoBajtu() > 0);
        Prohlizec guest(port());
        guest.posli(request);
        QTRY_COMPARE(location(guest.prijato), stored17);
        QVERIFY(!slow.odpojen());   // served while the slow one still trickled
        // Its grace ends it whatever it sends.
        QTRY_VERIFY_WITH_TIMEOUT(slow.odpojen(), 20000);
        QVERIFY(slow.prijato.isEmpty());
    }

    void idleConnectionsDoNotKeepAGuestOut()
    {
        // A hundred connections that never send a byte and a grace that
        // outlasts the test. Once their chance to send is over they count:
        // a guest from their address takes the place of the oldest, and the
        // newest are kept up to the limit.
        CasovaniWebu c = casovani();
        c.neuplnyPozadavek = 600000;
        newDesk(c);
        const int kept = NaslouchaniRecepce::maxRozpracovanychZAdresy;
        Prohlizece idle(100, port());
        QTRY_COMPARE_WITH_TIMEOUT(listener()->pocetPomalych(), 100, 20000);
        QCOMPARE(idle.pocet(QAbstractSocket::ConnectedState), 100);

        Prohlizec guest(port());
        guest.posli(request);
        QTRY_COMPARE_WITH_TIMEOUT(location(guest.prijato), stored17, 20000);
        QTRY_COMPARE(idle.pocet(QAbstractSocket::UnconnectedState), 100 - kept + 1);
        for (int i = 0; i < 100; ++i)
            QCOMPARE(idle.sockets[i]->state() == QAbstractSocket::ConnectedState, i > 100 - kept);
        QTRY_COMPARE(listener()->pocetSpojeni(), kept - 1);
    }

    void reconnectingClientsDoNotKeepGuestsOut()
    {
        // Forty clients each send a byte now and then, never a whole request,
        // and come back at once when cut off; ten guests come among them.
        CasovaniWebu c = casovani();
        c.neuplnyPozadavek = 500;
        newDesk(c);
        Prohlizece slow(40, port());
        int cutOff = 0;
        for (const auto &s : slow.sockets) {
            QTcpSocket *socket = s.get();
            connect(socket, &QTcpSocket::stateChanged, socket, [&, socket](QAbstractSocket::SocketState state) {
                if (state != QAbstractSocket::UnconnectedState)
                    return;
                ++cutOff;
                QMetaObject::invokeMethod(socket, [&, socket] { socket->connectToHost(QHostAddress::LocalHost, port()); },
                                          Qt::QueuedConnection);
            });
        }
        QTimer drip;
        connect(&drip, &QTimer::timeout, &drip, [&] {
            for (const auto &s : slow.sockets)
                if (s->state() == QAbstractSocket::ConnectedState)
                    s->write("x");
        });
        drip.start(100);
        QTRY_VERIFY_WITH_TIMEOUT(cutOff >= 40, 20000);

        QList<std::shared_ptr<Prohlizec>> guests;
        for (int i = 0; i < 10; ++i) {
            guests << std::make_shared<Prohlizec>(port());
            guests.last()->posli(requestFor(QByteArray::number(100 + i)));
        }
        for (int i = 0; i < 10; ++i) {
            QTRY_VERIFY_WITH_TIMEOUT(guests[i]->prijato.contains("</html>\n"), 20000);
            const QByteArray to = location(guests[i]->prijato);
            QVERIFY2(to.startsWith("http://web.example/zpet.php?pocet_rezervaci=")
                         && to.endsWith("&cislo_rezervace=" + QByteArray::number(100 + i) + "&vzhled_stranek=2"),
                     to);
        }
    }

    void everyGuestOfABurstIsAnswered_data()
    {
        QTest::addColumn<int>("guests");
        QTest::addColumn<int>("places");
        QTest::newRow("300") << 300 << NaslouchaniRecepce::maxSpojeni;
        QTest::newRow("1000") << 1000 << NaslouchaniRecepce::maxSpojeni;
        // Most wait outside the table for a place, in turn.
        QTest::newRow("300 through 8 places") << 300 << 8;
    }
    void everyGuestOfABurstIsAnswered()
    {
        // All from one address, as behind a proxy: each sends its request
        // the moment it is connected, and each gets its own redirect.
        QFETCH(int, guests);
        QFETCH(int, places);
        listener()->setMist(places);
        struct Host
        {
            QTcpSocket socket;
            QByteArray prijato;
        };
        std::vector<std::unique_ptr<Host>> hosts;
        for (int i = 0; i < guests; ++i) {
            Host *h = hosts.emplace_back(std::make_unique<Host>()).get();
            connect(&h->socket, &QTcpSocket::connected, &h->socket,
                    [h, i] { h->socket.write(requestFor(QByteArray::number(1000 + i))); });
            connect(&h->socket, &QTcpSocket::readyRead, &h->socket, [h] { h->prijato += h->socket.readAll(); });
            h->socket.connectToHost(QHostAddress::LocalHost, port());
        }
        const auto ended = [&] {
            return std::count_if(hosts.cbegin(), hosts.cend(), [](const auto &h) {
                return h->socket.state() == QAbstractSocket::UnconnectedState;
            });
        };
        QTRY_COMPARE_WITH_TIMEOUT(ended(), qsizetype(guests), 60000);
        for (int i = 0; i < guests; ++i) {
            const QByteArray &got = hosts[i]->prijato;
            const QByteArray to = location(got);
            QVERIFY2(got.startsWith("HTTP/1.1 302 ") && got.endsWith("</html>\n")
                         && to.endsWith("&cislo_rezervace=" + QByteArray::number(1000 + i) + "&vzhled_stranek=2")
                         && !to.contains("chyba"),
                     qPrintable(QString("guest %1: %2").arg(i).arg(QString::fromLatin1(got.left(300)))));
        }
        QTRY_COMPARE(listener()->pocetSpojeni(), 0);
    }

    void takenPortIsSaid()
    {
        // Another desk on this machine holds the port: the port is never
        // shared, and the log says so (ignoreMessage fails without the line).
        const quint16 taken = port();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString("Port %1 je obsazen").arg(taken)));
        SpolupraceSWebem second(taken, casovani());
        QCOMPARE(second.portNaslouchani(), quint16(0));
        QVERIFY(second.portObsazen());
        QVERIFY2(second.chybaNaslouchani().contains("obsazen"), qPrintable(second.chybaNaslouchani()));
        // and so does the status bar's indicator
        QCOMPARE(IndikatorWebu(&second).text(), QString("Web: port %1 je obsazen").arg(taken));
        // Guests still reach the desk that holds it.
        Prohlizec guest(taken);
        guest.posli(request);
        QTRY_COMPARE(location(guest.prijato), stored17);
    }

    void roomForANewcomer_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("closed");   // its position from 1; 0 none, -1 the newcomer waits
        QTest::newRow("room left") << "10ac 5bw" << "a" << 0;
        QTest::newRow("an address at its limit gives its own oldest") << "1bc 64ac" << "a" << 2;
        QTest::newRow("its answered one before") << "1bc 63ac 1ao" << "a" << 65;
        QTest::newRow("guests waiting do not count") << "200aw 10ac" << "a" << 0;
        QTest::newRow("fresh ones do not count") << "64aC 63ac" << "a" << 0;
        QTest::newRow("a fresh one is passed over") << "30aC 1aO 64ac" << "a" << 32;
        const int full = NaslouchaniRecepce::maxSpojeni;
        QTest::newRow("full: an answered one first") << QString("1bc %1aw 1co").arg(full - 2) << "d" << full;
        QTest::newRow("full: the address with most unfinished") << QString("2bc 60ac %1dw").arg(full - 62) << "e" << 3;
        QTest::newRow("full: a fresh answered one is passed over") << QString("1bO 1cc %1aw").arg(full - 2) << "e" << 2;
        QTest::newRow("full: fresh ones keep their places") << QString("1bC 1cO %1aw").arg(full - 2) << "d" << -1;
        QTest::newRow("full of waiting guests") << QString("%1aw").arg(full) << "b" << -1;
    }
    void roomForANewcomer()
    {
        QFETCH(QString, open);
        QFETCH(QString, from);
        QFETCH(int, closed);
        const std::optional<quint64> gives = NaslouchaniRecepce::ustoupi(spojeni(open), from.toLatin1());
        QCOMPARE(gives ? int(*gives) : -1, closed);
    }

    void addressesCountedAsOne_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("IPv4 and its mapped form") << "192.0.2.7" << "::ffff:192.0.2.7" << true;
        QTest::newRow("two IPv4") << "192.0.2.7" << "192.0.2.8" << false;
        QTest::newRow("one IPv6 /64") << "2001:db8:1:2::1" << "2001:db8:1:2:ffff::9" << true;
        QTest::newRow("two IPv6 /64") << "2001:db8:1:2::1" << "2001:db8:1:3::1" << false;
    }
    void addressesCountedAsOne()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(NaslouchaniRecepce::klicAdresy(QHostAddress(a)) == NaslouchaniRecepce::klicAdresy(QHostAddress(b)), same);
    }

    void eachGuestGetsOnlyItsOwnAnswer()
    {
        {
            Prohlizec gone(port());
            gone.posli(request);
        }
        m_desk->web->pridejRezervaci({"18", "3", day(5), day(6), "2000", "Petr", "", "", ""});
        Prohlizec later(port());
        later.posli(requestFor("18"));
        Prohlizec unfinished(port());
        unfinished.posli("GET /?cislo_rezervace=55");
        QTRY_VERIFY(later.prijato.contains("</html>\n"));
        QVERIFY2(location(later.prijato).endsWith("&cislo_rezervace=18&vzhled_stranek=2"), later.prijato);
        QTRY_VERIFY(unfinished.odpojen());
        QCOMPARE(unfinished.prijato, QByteArray());
    }

    void brokenReplyIsAnsweredAtOnce()
    {
        // The guest's wait is long; the import ends on the reply itself.
        m_desk->web->setOdpovedImportu("pocet_rezervaci=2\nrezervaceid0=17\npokojid0=3\ndatum_od0=" + day(1).toLatin1()
                                       + "\ndatum_do0=" + day(2).toLatin1() + "\ncena0=2000\njmeno0=Jana\nkonec_dat=true\n");
        Prohlizec browser(port());
        browser.posli(request);
        QTRY_COMPARE(location(browser.prijato),
                     QByteArray("http://web.example/zpet.php?chyba=1&cislo_rezervace=17&vzhled_stranek=2"));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), 0);
        QCOMPARE(m_desk->chyby.size(), 1);
        QVERIFY(!m_desk->chyby[0].odRecepcniho);
    }

    void guestsImportErrorsOpenNoBox()
    {
        // Five guests and a site that answers nonsense: no box for anyone to
        // close, but the dialog's line and the status bar say it.
        SpolupraceSWebem engine(0, rychleCasovani());
        TAdministraceSpolupraceSWebem dialog(&engine);
        IndikatorWebu indikator(dialog.spoluprace());
        m_desk->web->setChovani(WebSimulator::Chovani::ChybneHodnoty);
        dialog.findChild<QLineEdit *>("AdresaEdit")->setText(QStringLiteral("127.0.0.1:%1").arg(m_desk->web->port()));
        QList<std::shared_ptr<Prohlizec>> guests;
        for (int i = 0; i < 5; ++i) {
            guests << std::make_shared<Prohlizec>(dialog.portNaslouchani());
            guests.last()->posli(request);
        }
        for (const auto &g : guests)
            QTRY_COMPARE(location(g->prijato), QByteArray("http://web.example/zpet.php?chyba=1&cislo_rezervace=17&vzhled_stranek=2"));
        QCOMPARE(MessageBox::history().size(), 0);
        CONTROL(QLabel, stav, &dialog, "StavLabel");
        QVERIFY2(stav->text().contains("selhal"), qPrintable(stav->text()));
        QVERIFY(stav->toolTip().contains("Odpověď webu na import rezervací je chybná"));
        QVERIFY2(indikator.text().contains("import") && indikator.text().contains("selhal"), qPrintable(indikator.text()));
    }

    void idleBrowserIsDroppedAndTheNextOneServed()
    {
        // Neither a browser that never completes its request nor what it sent
        // stands in the way of the next guest.
        Prohlizec idle(port());
        idle.posli("GET /?cislo_rezervace=99&skript_zpet=http://jinam.example/");
        QTRY_VERIFY_WITH_TIMEOUT(idle.odpojen(), 5000);
        QVERIFY(idle.prijato.isEmpty());

        Prohlizec next(port());
        next.posli(request);
        QTRY_COMPARE(location(next.prijato), stored17);
    }

    void requestWithoutNumberIsNeverAnswered()
    {
        Prohlizec browser(port());
        browser.posli("GET /?skript_zpet=http://web.example/zpet.php&konec_dat=true HTTP/1.1\r\n\r\n");
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
        QTRY_COMPARE(location(next.prijato), stored17);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestWebListener test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_web_listener.moc"
