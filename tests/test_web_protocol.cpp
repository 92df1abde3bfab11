// The protocol half of the web cooperation, without sockets: request
// framing, body values, the web site's reply, the listener's pairs and the
// redirect it answers with.

#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"
#include "web/protocol/Presmerovani.h"

#include <QtTest>

class TestWebProtocol : public QObject
{
    Q_OBJECT

private slots:
    void requestFraming_data()
    {
        QTest::addColumn<QString>("adresar");
        QTest::addColumn<QString>("adresa");
        QTest::addColumn<QString>("telo");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray headers = "Accept: text/html, text/plain\n"
                                   "Content-Type: application/x-www-form-urlencoded\n"
                                   "User-Agent: Vitrana.exe version 1.0\n";
        const QByteArray tail = "Connection: Keep-Alive\nCache-Control: no-cache\n\n";
        QTest::newRow("the IP registration with the defaults")
            << "/zarventocz/www/vitrana" << "localhost" << "id=1&heslo=&ip_adresa="
            << "POST /zarventocz/www/vitrana/uloz_ip_adresu.php HTTP/1.1\n" + headers
                   + "Host: localhost\nContent-Length: 22\n" + tail + "id=1&heslo=&ip_adresa=";
        QTest::newRow("an empty directory")
            << "" << "web.example:8080" << "id=1"
            << "POST /uloz_ip_adresu.php HTTP/1.1\n" + headers + "Host: web.example:8080\nContent-Length: 4\n" + tail + "id=1";
        QTest::newRow("a directory ending in a slash")
            << "/www/" << "localhost" << ""
            << "POST /www//uloz_ip_adresu.php HTTP/1.1\n" + headers + "Host: localhost\nContent-Length: 0\n" + tail;
        // Content-Length counts the bytes of code page 1250, one per letter.
        QTest::newRow("national characters")
            << "/w" << "localhost" << "jmeno=Žluťoučký kůň"
            << "POST /w/uloz_ip_adresu.php HTTP/1.1\n" + headers + "Host: localhost\nContent-Length: 19\n" + tail
                   + QByteArray("jmeno=\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2");
    }
    void requestFraming()
    {
        QFETCH(QString, adresar);
        QFETCH(QString, adresa);
        QFETCH(QString, telo);
        QFETCH(QByteArray, expected);
        QCOMPARE(Pozadavek::SestavPozadavek(adresar, adresa, QStringLiteral("uloz_ip_adresu.php"), telo), expected);
    }

    void bodyValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("sent");
        QTest::newRow("ordinary text stays") << "Dvoulůžkový pokoj [A]" << "Dvoulůžkový pokoj [A]";
        QTest::newRow("separators") << "Hotel & spa = 1+1 za 50%" << "Hotel %26 spa %3D 1%2B1 za 50%25";
        QTest::newRow("control characters") << "a\tb\r\nc\x7f" << "a%09b%0D%0Ac%7F";
        QTest::newRow("empty") << "" << "";
    }
    void bodyValues()
    {
        QFETCH(QString, value);
        QFETCH(QString, sent);
        QCOMPARE(Pozadavek::hodnota(value), sent);
    }

    void commonStartEncodesTheInputs()
    {
        QCOMPARE(Pozadavek::spolecnyZacatek("1", ""), QStringLiteral("id=1&heslo="));
        QCOMPARE(Pozadavek::spolecnyZacatek("7", "a&b=c"), QStringLiteral("id=7&heslo=a%26b%3Dc"));
    }

    void codePage1250()
    {
        QCOMPARE(Pozadavek::doCp1250("Přesměrování"), QByteArray("P\xF8\x65sm\xECrov\xE1n\xED"));
        QCOMPARE(Pozadavek::zCp1250("P\xF8\x65sm\xECrov\xE1n\xED"), QStringLiteral("Přesměrování"));
        // What the code page lacks becomes one '?' each, the rest survives.
        QCOMPARE(Pozadavek::doCp1250(QString::fromUtf8("a\u4e2d\U0001F600č")), QByteArray("a??\xE8"));
    }

    void serverAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host") << "localhost" << true << "localhost" << 80;
        QTest::newRow("host and port") << "127.0.0.1:8080" << true << "127.0.0.1" << 8080;
        QTest::newRow("IPv6 alone") << "::1" << true << "::1" << 80;
        QTest::newRow("IPv6 with port") << "[::1]:81" << true << "::1" << 81;
        QTest::newRow("empty") << "" << false << "" << 80;
        QTest::newRow("port 0") << "web:0" << false << "" << 80;
        QTest::newRow("port too big") << "web:65536" << false << "" << 80;
        QTest::newRow("port not a number") << "web:http" << false << "" << 80;
        QTest::newRow("colon without port") << "web:" << false << "" << 80;
    }
    void serverAddress()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QFETCH(QString, host);
        QFETCH(int, port);
        const Pozadavek::CilServeru cil = Pozadavek::rozeberAdresu(typed);
        QCOMPARE(cil.platny, valid);
        if (valid) {
            QCOMPARE(cil.host, host);
            QCOMPARE(int(cil.port), port);
        }
    }

    void replyLookup()
    {
        const OdpovedWebu odpoved("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n"
                                  "Pocet_Rezervaci=2\rjmeno0=Jan=Novák\njmeno0=druhý\r\nprazdne=\n");
        QCOMPARE(odpoved.hodnota("pocet_rezervaci"), QStringLiteral("2"));   // letter case of names ignored
        QCOMPARE(odpoved.hodnota("JMENO0"), QStringLiteral("Jan=Novák"));    // the first "=" divides, the first line counts
        QCOMPARE(odpoved.najdi("prazdne"), std::optional<QString>(QString()));
        QCOMPARE(odpoved.najdi("chybi"), std::optional<QString>());
        QCOMPARE(odpoved.najdi("HTTP/1.1 200 OK"), std::optional<QString>());
    }

    void replyComplete_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("complete");
        QTest::newRow("konec_dat=true") << "pocet_rezervaci=0\nkonec_dat=true\n" << true;
        QTest::newRow("name in capitals") << "pocet_rezervaci=0\nKONEC_DAT=true" << true;
        QTest::newRow("value in capitals") << "pocet_rezervaci=0\nkonec_dat=TRUE\n" << false;
        QTest::newRow("missing") << "pocet_rezervaci=0\n" << false;
        QTest::newRow("cut in the middle") << "pocet_rezervaci=0\nkonec_dat=tr" << false;
    }
    void replyComplete()
    {
        QFETCH(QString, text);
        QFETCH(bool, complete);
        QCOMPARE(OdpovedWebu(text).jeUplna(), complete);
    }

    void replyReadInPieces()
    {
        // However the data are cut, the reply reads as if it came whole.
        const QByteArray reply = "HTTP/1.1 200 OK\r\nX: y\r\n\r\npocet_rezervaci=2\r\njmeno0=Jan\rjmeno1=\n"
                                 "jmeno0=druh\xFD\r\nstat1=\xC8R\r\n\r\nkonec_dat=true";
        const QStringList names{"pocet_rezervaci", "jmeno0", "jmeno1", "stat1", "x", "konec_dat", "chybi"};
        OdpovedWebu whole;
        QVERIFY(whole.pridej(reply));
        QCOMPARE(whole.hodnota("jmeno0"), QStringLiteral("Jan"));
        QCOMPARE(whole.hodnota("stat1"), QStringLiteral("ČR"));
        QVERIFY(whole.jeUplna());   // the last line counts without its line end
        for (qsizetype a = 0; a <= reply.size(); ++a) {
            for (qsizetype b = a; b <= reply.size(); b += 7) {
                OdpovedWebu pieces;
                for (const QByteArray &piece : {reply.left(a), reply.mid(a, b - a), reply.mid(b)})
                    QVERIFY(pieces.pridej(piece));
                for (const QString &name : names)
                    QVERIFY2(pieces.najdi(name) == whole.najdi(name),
                             qPrintable(QString("%1 cut at %2 and %3").arg(name).arg(a).arg(b)));
            }
        }
    }

    void replyIsBounded()
    {
        OdpovedWebu reply;
        QVERIFY(reply.pridej(QByteArray(OdpovedWebu::limit - 1, 'x')));
        QVERIFY(reply.pridej("\n"));
        QVERIFY(!reply.pridej("k"));   // one byte more is refused, and not taken
        QCOMPARE(reply.velikost(), OdpovedWebu::limit);
    }

    void webDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("full") << "2002-06-01" << QDate(2002, 6, 1);
        QTest::newRow("short") << "2002-6-1" << QDate(2002, 6, 1);
        QTest::newRow("leap day") << "2024-02-29" << QDate(2024, 2, 29);
        QTest::newRow("no such day") << "2002-02-30" << QDate();
        QTest::newRow("month 13") << "2002-13-01" << QDate();
        QTest::newRow("letters") << "2002-06-xx" << QDate();
        QTest::newRow("one part missing") << "2002-06" << QDate();
        QTest::newRow("a fourth part") << "2002-06-01-5" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void webDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(datumZWebu(text), date);
    }

    void reservationsOfAReply()
    {
        const RezervaceZWebu r = nactiRezervace(OdpovedWebu(
            "pocet_rezervaci=2\n"
            "rezervaceid0=A-17\npokojid0=3\ndatum_od0=2002-6-1\ndatum_do0=2002-06-03\ncena0=1200.5\n"
            "jmeno0=Jan Novák\ntelefon0=+420 123\nemail0=jan@example.cz\nstat0=CZ\n"
            "rezervaceid1=\npokojid1=4\ndatum_od1=2002-06-02\ndatum_do1=2002-06-02\ncena1=900\n"
            "konec_dat=true\n"), QDate(2002, 5, 20));
        QCOMPARE(r.chyba, QString());
        QCOMPARE(r.pocet_rezervaci, QStringLiteral("2"));
        QCOMPARE(r.rezervace.size(), std::size_t(2));
        const WebRezervace &a = r.rezervace[0];
        QCOMPARE(a.rezervaceid, QStringLiteral("A-17"));
        QCOMPARE(a.typ_pokoje_id, 3);
        QCOMPARE(a.od_kdy, QDate(2002, 6, 1));
        QCOMPARE(a.do_kdy, QDate(2002, 6, 3));
        QCOMPARE(a.cena, 1200.5);
        QCOMPARE(a.jmeno + '|' + a.telefon + '|' + a.email + '|' + a.stat,
                 QStringLiteral("Jan Novák|+420 123|jan@example.cz|CZ"));
        // Attributes the site left out are empty, and one reservation's fault leaves the other usable.
        QCOMPARE(r.rezervace[1].jmeno, QString());
        QCOMPARE(a.chyba, QString());
        QVERIFY(r.rezervace[1].chyba.contains("identifikátor"));
    }

    void unusableValues_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("replyError");   // the reply refused whole
        QTest::addColumn<QString>("reason");       // reservation 0 refused alone (empty: kept)
        const QString good = "rezervaceid0=1\npokojid0=3\ndatum_od0=2002-06-01\ndatum_do0=2002-06-03\ncena0=1500\n";
        const QString next = "rezervaceid1=2\npokojid1=3\ndatum_od1=2002-07-01\ndatum_do1=2002-07-03\ncena1=1500\n";
        const auto first = [&](const QString &from, const QString &to) {
            return "pocet_rezervaci=2\n" + QString(good).replace(from, to) + next;
        };
        const QString stay = "datum_od0=2002-06-01\ndatum_do0=2002-06-03";
        // The reply itself is broken: nothing of it is used.
        QTest::newRow("count not a number") << "pocet_rezervaci=dva\n" + good << "Počet rezervací \"dva\"" << "";
        QTest::newRow("count missing") << good << "Počet rezervací \"\"" << "";
        QTest::newRow("negative count") << "pocet_rezervaci=-1\n" << "Počet rezervací \"-1\"" << "";
        QTest::newRow("count larger than the reservations") << "pocet_rezervaci=3\n" + good + next
                                                            << "Rezervace 2: v odpovědi chybí" << "";
        // One reservation's own values (the import's table has the rest). The
        // import day is 20 May 2002: ten years either side, a year of stay at
        // most, nothing ended before it.
        QTest::newRow("room type missing") << first("pokojid0=3\n", "") << "" << "typ pokoje \"\"";
        QTest::newRow("malformed date") << first("2002-06-01", "1.6.2002") << "" << "datum \"1.6.2002\"";
        QTest::newRow("decimal comma") << first("1500", "1500,5") << "" << "cena \"1500,5\" není číslo";
        QTest::newRow("a year far away") << first("2002-06-03", "200000000-06-03") << "" << "datum \"200000000-06-03\"";
        QTest::newRow("eleven years back") << first("2002-06-01", "1991-06-01") << "" << "datum \"1991-06-01\"";
        QTest::newRow("ends before it begins") << first("2002-06-03", "2002-05-31") << "" << "pobyt končí 2002-05-31";
        QTest::newRow("identifier of spaces") << first("rezervaceid0=1", "rezervaceid0=  ") << ""
                                              << "web neuvedl identifikátor";
        QTest::newRow("identifier over 255 bytes") << first("rezervaceid0=1", "rezervaceid0=" + QString(128, u'č')) << ""
                                                   << "identifikátor je delší než 255 bajtů";
        // The limits themselves are kept.
        QTest::newRow("366 days, both ends included") << first("2002-06-03", "2003-06-01") << "" << "";
        QTest::newRow("begun before the import day, ending on it")
            << first(stay, "datum_od0=2002-05-01\ndatum_do0=2002-05-20") << "" << "";
        QTest::newRow("free of charge") << first("1500", "0") << "" << "";
    }
    void unusableValues()
    {
        QFETCH(QString, reply);
        QFETCH(QString, replyError);
        QFETCH(QString, reason);
        const RezervaceZWebu r = nactiRezervace(OdpovedWebu(reply + "konec_dat=true\n"), QDate(2002, 5, 20));
        if (!replyError.isEmpty()) {
            QVERIFY2(r.chyba.startsWith(replyError), qPrintable(r.chyba));
            QVERIFY(r.rezervace.empty());   // nothing of a broken reply is to be stored
            return;
        }
        QCOMPARE(r.chyba, QString());
        QCOMPARE(r.rezervace.size(), std::size_t(2));
        if (reason.isEmpty())
            QCOMPARE(r.rezervace[0].chyba, QString());
        else
            QVERIFY2(r.rezervace[0].chyba.startsWith(reason), qPrintable(r.rezervace[0].chyba));
        QCOMPARE(r.rezervace[1].chyba, QString());
        QCOMPARE(r.rezervace[1].od_kdy, QDate(2002, 7, 1));
    }

    void pairsOfTheBrowserRequest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        const QString get = "GET /?cislo_rezervace=17&skript_zpet=zpet.php&vzhled_stranek=2&konec_dat=true HTTP/1.1\r\n"
                            "Host: recepce:9876\r\n\r\n";
        QTest::newRow("number") << get << "cislo_rezervace" << "17";
        QTest::newRow("return script") << get << "skript_zpet" << "zpet.php";
        QTest::newRow("missing") << get << "chyba" << "";
        QTest::newRow("last pair ends at the space before the version")
            << "GET /?cislo_rezervace=17&konec_dat=true&vzhled_stranek=2 HTTP/1.1\r\nHost: x\r\n\r\n"
            << "vzhled_stranek" << "2";
        QTest::newRow("last pair of a body ends at the line end")
            << "POST / HTTP/1.1\r\n\r\ncislo_rezervace=5&vzhled_stranek=3\r\nSet-Cookie: a=b" << "vzhled_stranek" << "3";
        QTest::newRow("found inside a longer name") << "xcislo_rezervace=9&cislo_rezervace=1" << "cislo_rezervace" << "9";
        QTest::newRow("letter case counts") << "CISLO_REZERVACE=9&cislo_rezervace=1" << "cislo_rezervace" << "1";
        QTest::newRow("percent-encoding kept") << "skript_zpet=http%3A%2F%2Fweb%2Fz.php&" << "skript_zpet"
                                               << "http%3A%2F%2Fweb%2Fz.php";
        QTest::newRow("to the end of the text") << "vzhled_stranek=2" << "vzhled_stranek" << "2";
    }
    void pairsOfTheBrowserRequest()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QCOMPARE(Presmerovani::HodnotaParametru(text, name), value);
    }

    void redirect()
    {
        const QByteArray expected =
            "HTTP/1.1 302 Moved Temporarily\n"
            "Connection: close\n"
            "Content-type: text/html\n"
            "Expires: Thu, 19 Nov 1981 08:52:00 GMT\n"
            "Cache-Control: no-store, no-cache\n"
            "Pragma: no-cache\n"
            "Location: zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2\n"
            "\n"
            "<html>\n"
            "<head>\n"
            "<title>P\xF8\x65sm\xECrov\xE1n\xED</title>\n"
            "</head>\n"
            "<body>\n"
            "\tPokud nebudete automaticky p\xF8\x65sm\xECrov\xE1ni, pokra\xE8ujte pros\xEDm t\xEDmto odkazem:<br>\n"
            "\t<a href=\"zpet.php?pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2\">"
            "P\xF8\x65sm\xECrov\xE1n\xED</a>\n"
            "</body>\n"
            "</html>\n";
        QCOMPARE(Presmerovani::OdpovedPresmerovani("zpet.php",
                                                   "pocet_rezervaci=1&rezervace[17]=1&cislo_rezervace=17&vzhled_stranek=2"),
                 expected);
    }

    void redirectCannotBeInjected()
    {
        const QByteArray reply = Presmerovani::OdpovedPresmerovani("zpet.php\r\nSet-Cookie: a=b\"><script>x</script>",
                                                                   "chyba=1\n\nx");
        const QList<QByteArray> head = reply.left(reply.indexOf("\n\n")).split('\n');
        QCOMPARE(head.size(), 7);
        QCOMPARE(head.last(), QByteArray("Location: zpet.phpSet-Cookie: a=b\"><script>x</script>?chyba=1x"));
        QVERIFY(!reply.contains("\r"));
        const QByteArray page = reply.mid(reply.indexOf("\n\n"));
        QVERIFY(!page.contains("<script>"));   // the link cannot break out of its attribute
        QVERIFY(page.contains("<a href=\"zpet.phpSet-Cookie: a=b&quot;&gt;&lt;script&gt;"));
    }

    void receivedData()
    {
        PrijataData data;
        // A pair split between two pieces is found whole.
        QVERIFY(data.pridej("GET /?cislo_rezervace=17&konec_d"));
        QVERIFY(!data.jeUplny());
        QVERIFY(data.pridej("at=true HTTP/1.1\r\n"));
        QVERIFY(data.jeUplny());
        QCOMPARE(Presmerovani::HodnotaParametru(data.text(), "cislo_rezervace"), QStringLiteral("17"));

        data.vyprazdni();
        QVERIFY(data.isEmpty());
        QVERIFY(data.pridej("konec_dat=true"));
        QVERIFY(!data.jeUplny());   // no reservation number: never answered

        // The bound counts every byte kept.
        data.vyprazdni();
        QVERIFY(data.pridej(QByteArray(PrijataData::limit - 1, 'x')));
        QVERIFY(data.pridej("y"));
        QVERIFY(!data.pridej("z"));
        data.vyprazdni();
        QVERIFY(data.pridej(QByteArray(PrijataData::limit, 'x')));
    }
};

QTEST_GUILESS_MAIN(TestWebProtocol)
#include "test_web_protocol.moc"
