// The reservation import against the companion site, over the desk's real
// sockets: what is stored, what the site is told, replies in pieces, and
// replies that cannot be used.

#include "TestDatabase.h"
#include "WebTestSupport.h"

#include "app/Startup.h"
#include "app/VitranaApplication.h"
#include "db/SqlObjednavky.h"
#include "db/SqlWeb.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Objednavky.h"
#include "web/TAdministraceSpolupraceSWebem.h"
#include "web/engine/UlozeniRezervaci.h"
#include "web/protocol/OdpovedWebu.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <algorithm>

using namespace WebTest;

Q_DECLARE_METATYPE(SimRezervace)

namespace {
SimRezervace guest(const QString &id, const QString &typ, int od, int doKdy, const QString &jmeno,
                   const QString &cena = QStringLiteral("3000"))
{
    return {id, typ, day(od), day(doKdy), cena, jmeno, "+420 777 123 456", "host@example.cz", "Česko"};
}

QByteArray lastBody(const WebSimulator &web, const QString &skript)
{
    const SimPozadavek *p = lastRequest(web, skript);
    return p ? p->telo : QByteArray();
}

// The process's resident memory.
qint64 rssKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// A stay given by its texts, as a hostile site may write them.
SimRezervace stay(const QString &id, const QString &typ, const QString &od, const QString &doKdy,
                  const QString &cena = QStringLiteral("3000"), const QString &jmeno = QStringLiteral("Host"))
{
    return {id, typ, od, doKdy, cena, jmeno, "+420 777 123 456", "host@example.cz", "Cesko"};
}

// The import script's reply offering these reservations, in code page 1250.
QByteArray replyOffering(const QList<SimRezervace> &guests)
{
    QString text = QString("pocet_rezervaci=%1\n").arg(guests.size());
    for (int i = 0; i < guests.size(); ++i) {
        const SimRezervace &g = guests[i];
        const QStringList values{g.id, g.pokojid, g.datum_od, g.datum_do, g.cena, g.jmeno, g.telefon, g.email, g.stat};
        const QStringList names{"rezervaceid", "pokojid", "datum_od", "datum_do", "cena", "jmeno", "telefon", "email", "stat"};
        for (int n = 0; n < names.size(); ++n)
            text += names[n] + QString::number(i) + '=' + values[n] + '\n';
    }
    QStringEncoder cp1250("windows-1250");
    return cp1250.encode(text + "konec_dat=true\n");
}

// The web road's warnings as they go to the log.
QStringList webLog;
QtMessageHandler previousHandler = nullptr;
void keepWebLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "vitrana.web") == 0)
        webLog << message;
    previousHandler(type, context, message);
}

int count(const char *select)
{
    return TestDatabase::value(select).toInt();
}

QStringList clients()
{
    return TestDatabase::rows("SELECT klient_id, typ_klienta_id, jmeno, telefon, email, stat FROM klienti_tab ORDER BY klient_id");
}

QStringList reservations()
{
    return TestDatabase::rows("SELECT klient_id, cislo_objednavky, datum_objednavky, od_kdy, do_kdy, pokoj_id, cena "
                              "FROM objednavky_pokoje_tab ORDER BY cislo_objednavky");
}
} // namespace

class TestWebImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<Pracoviste> m_desk;

    // Starts the import and waits until the site has been told the outcome.
    bool importAndWait()
    {
        const int before = requests(*m_desk->web, "rezervace_na_vitrane2.php");
        m_desk->desk->ImportRezervaci();
        return QTest::qWaitFor([&] { return requests(*m_desk->web, "rezervace_na_vitrane2.php") > before; }, 10000);
    }

private slots:
    void initTestCase()
    {
        TestDatabase::setUp();
        previousHandler = qInstallMessageHandler(keepWebLog);
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        webLog.clear();
        // Type 3 has one room, type 4 two, type 9 none.
        TestDatabase::exec("INSERT INTO typy_pokoju_tab VALUES (3, 'Jednolůžkový', 1), (4, 'Dvoulůžkový', 2), (9, 'Zrušený', 2)");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (5, '105', 3), (8, '201', 4), (7, '202', 4)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (40, 2, 'Stálý host')");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (40, 11, '%1', '%2', '%2', 7, 800)").arg(day(-5), day(30)));
        m_desk = std::make_unique<Pracoviste>();
        QVERIFY(m_desk->pripoj());
    }
    void cleanup()
    {
        m_desk.reset();
        TestDatabase::exec("DROP TRIGGER IF EXISTS plny_disk");
    }

    void storesClientsAndReservations()
    {
        m_desk->web->pridejRezervaci(guest("17", "4", 1, 3, "Jana Dvořáková", "1200.5"));
        m_desk->web->pridejRezervaci(guest("A-17", "4", 1, 3, "Jan Novák"));
        QVERIFY(importAndWait());

        // New clients of type 1, numbered on from the highest; the first free
        // rooms of the type, lowest id first; the site's price; made today.
        QCOMPARE(clients(), (QStringList{"40|2|Stálý host|||",
                                         "41|1|Jana Dvořáková|+420 777 123 456|host@example.cz|Česko",
                                         "42|1|Jan Novák|+420 777 123 456|host@example.cz|Česko"}));
        QCOMPARE(reservations(), (QStringList{QString("40|11|%1|%2|%2|7|800").arg(day(-5), day(30)),
                                              QString("41|12|%1|%2|%3|7|1200.5").arg(day(0), day(1), day(3)),
                                              QString("42|13|%1|%2|%3|8|3000").arg(day(0), day(1), day(3))}));
        QCOMPARE(lastBody(*m_desk->web, "rezervace_na_vitrane.php"), QByteArray("id=1&heslo="));
        QCOMPARE(lastBody(*m_desk->web, "rezervace_na_vitrane2.php"),
                 QByteArray("id=1&heslo=&pocet_rezervaci=2&rezervace[17]=1&rezervace[A-17]=1"));
        QCOMPARE(m_desk->desk->vysledekImportu(), QStringLiteral("pocet_rezervaci=2&rezervace[17]=1&rezervace[A-17]=1"));
        QCOMPARE(m_desk->web->vysledky(), (QMap<QString, QString>{{"17", "1"}, {"A-17", "1"}}));
        QTRY_COMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        QCOMPARE(m_desk->chyby.size(), 0);
        QCOMPARE(m_desk->desk->posledniImport().text, QStringLiteral("uloženo 2"));
    }

    void theReservationPointsAtItsOwnClient()
    {
        // The client's id comes from the same series as the desk's clients
        // take theirs: the reservation points at the client stored with it,
        // on an empty table too.
        TestDatabase::exec("DELETE FROM objednavky_pokoje_tab");
        TestDatabase::exec("DELETE FROM klienti_tab");
        m_desk->web->pridejRezervaci(guest("5", "3", 1, 2, "Eva"));
        QVERIFY(importAndWait());
        QCOMPARE(TestDatabase::rows("SELECT k.klient_id, k.jmeno FROM klienti_tab k JOIN objednavky_pokoje_tab o "
                                    "ON o.klient_id = k.klient_id"),
                 QStringList{"1|Eva"});
        QCOMPARE(m_desk->web->vysledky(), (QMap<QString, QString>{{"5", "1"}}));
    }

    void outcomes_data()
    {
        QTest::addColumn<QList<SimRezervace>>("guests");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("storedClients");
        QTest::newRow("two for the one free room")
            << QList<SimRezervace>{guest("1", "3", 2, 4, "První"), guest("2", "3", 4, 6, "Druhý")}
            << QByteArray("pocet_rezervaci=2&rezervace[1]=1&rezervace[2]=-1") << 1;
        QTest::newRow("spans that do not meet")
            << QList<SimRezervace>{guest("1", "3", 2, 4, "První"), guest("2", "3", 5, 6, "Druhý")}
            << QByteArray("pocet_rezervaci=2&rezervace[1]=1&rezervace[2]=1") << 2;
        QTest::newRow("a room type without rooms")
            << QList<SimRezervace>{guest("5", "9", 1, 2, "Nikdo")} << QByteArray("pocet_rezervaci=1&rezervace[5]=-1") << 0;
        QTest::newRow("an unknown room type")
            << QList<SimRezervace>{guest("5", "77", 1, 2, "Nikdo")} << QByteArray("pocet_rezervaci=1&rezervace[5]=-1") << 0;
        QTest::newRow("the stay ends before it begins")
            << QList<SimRezervace>{guest("6", "4", 5, 3, "Obráceně")} << QByteArray("pocet_rezervaci=1&rezervace[6]=-1") << 0;
        QTest::newRow("the same guest twice is two clients")
            << QList<SimRezervace>{guest("7", "4", 1, 1, "Eva"), guest("8", "4", 2, 2, "Eva")}
            << QByteArray("pocet_rezervaci=2&rezervace[7]=1&rezervace[8]=1") << 2;
        QTest::newRow("no reservations") << QList<SimRezervace>{} << QByteArray("pocet_rezervaci=0") << 0;
        // The identifier goes into a name of the form: its separators are encoded.
        QTest::newRow("an identifier with separators")
            << QList<SimRezervace>{guest("x&y=1", "4", 1, 1, "Eva")}
            << QByteArray("pocet_rezervaci=1&rezervace[x%26y%3D1]=1") << 1;
    }
    void outcomes()
    {
        QFETCH(QList<SimRezervace>, guests);
        QFETCH(QByteArray, answer);
        QFETCH(int, storedClients);
        for (const SimRezervace &g : guests)
            m_desk->web->pridejRezervaci(g);
        QVERIFY(importAndWait());
        QCOMPARE(lastBody(*m_desk->web, "rezervace_na_vitrane2.php"), "id=1&heslo=&" + answer);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM klienti_tab WHERE typ_klienta_id = 1").toInt(), storedClients);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab").toInt(), storedClients + 1);
        for (const SimRezervace &g : guests)
            QVERIFY2(m_desk->web->vysledky().contains(g.id), qPrintable(g.id));   // the site decodes the name
        QVERIFY(m_desk->web->cekajici().isEmpty());
    }

    // A stored stay whose last day is before its first: the desk and the
    // import must both refuse a room the other one would refuse.
    void corruptStayCountsAlike_data()
    {
        QTest::addColumn<int>("od");
        QTest::addColumn<int>("doKdy");
        QTest::addColumn<bool>("kolize");
        // room 5, the only room of type 3, holds a stay from day 10 "to" day 5
        QTest::newRow("inside the reversed span") << 6 << 8 << false;
        QTest::newRow("holds its first day") << 9 << 11 << true;
        QTest::newRow("holds its last day") << 4 << 6 << true;
        QTest::newRow("encloses both") << 3 << 12 << true;
        QTest::newRow("after both") << 12 << 13 << false;
    }
    void corruptStayCountsAlike()
    {
        QFETCH(int, od);
        QFETCH(int, doKdy);
        QFETCH(bool, kolize);
        const QDate dnes = QDate::currentDate();
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (40, 12, '%1', '%2', '%3', 5, 800)")
                               .arg(day(0), day(10), day(5)));
        TMojeQuery q;
        QCOMPARE(Objednavka(40, 0, dnes, dnes.addDays(od), dnes.addDays(doKdy), 5, 0).JeKolize(q), kolize);

        RezervaceZWebu web;
        web.pocet_rezervaci = QStringLiteral("1");
        WebRezervace r;
        r.rezervaceid = QStringLiteral("c1");
        r.typ_pokoje_id = 3;
        r.od_kdy = dnes.addDays(od);
        r.do_kdy = dnes.addDays(doKdy);
        r.jmeno = QStringLiteral("Host");
        web.rezervace.push_back(r);
        const ImportRezervaci::Vysledek vysledek = ImportRezervaci::ulozRezervace(web, dnes);
        QCOMPARE(vysledek.odpoved, kolize ? QStringLiteral("pocet_rezervaci=1&rezervace[c1]=-1")
                                          : QStringLiteral("pocet_rezervaci=1&rezervace[c1]=1"));
        QCOMPARE(count("SELECT COUNT(*) FROM objednavky_pokoje_tab WHERE pokoj_id = 5"), kolize ? 1 : 2);
    }

    // The import chooses its rooms in memory from one read of the stays; the
    // desk asks the database stay by stay. On random hotels, corrupt stays
    // and rooms of no type asked among them, both choose the same room for
    // every stay of a run, each chosen stay counting for the next ones and
    // each rolled-back one no longer.
    void freeRoomsInMemoryMatchTheDesk()
    {
        QRandomGenerator nahoda(18);
        const auto mezi = [&](int od, int doKdy) { return int(nahoda.bounded(od, doKdy + 1)); };
        const QDate dnes = QDate::currentDate();
        QStringList rozdily;
        int vybrano = 0;
        for (int hotel = 0; hotel < 8; ++hotel) {
            TestDatabase::exec("DELETE FROM objednavky_pokoje_tab");
            TestDatabase::exec("DELETE FROM pokoje_tab");
            QList<int> pokoje;
            while (pokoje.size() < 10)
                if (const int id = mezi(1, 60); !pokoje.contains(id)) {
                    pokoje << id;
                    TestDatabase::exec(QString("INSERT INTO pokoje_tab VALUES (%1, '%1', %2)").arg(id).arg(mezi(1, 3)));
                }
            for (int n = 0; n < 40; ++n) {
                const int od = mezi(-30, 60);
                // One in five ends before it begins, one in seven is long (reaching spans that begin weeks later).
                const int doKdy = od + (n % 5 == 0 ? -mezi(1, 6) : n % 7 == 0 ? mezi(15, 40) : mezi(0, 8));
                TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (40, %1, '%2', '%3', '%4', %5, 800)")
                                       .arg(100 + n)
                                       .arg(day(0), day(od), day(doKdy))
                                       .arg(pokoje[mezi(0, 9)]));
            }
            QList<std::tuple<int, QDate, QDate>> pobyty;   // type 4 has no rooms
            for (int n = 0; n < 40; ++n) {
                const QDate od = dnes.addDays(mezi(0, 40));
                pobyty.append({mezi(1, 4), od, od.addDays(mezi(0, 6))});
            }
            TMojeDatabaze::current().save(SqlWeb::lockImport(pokoje), [&](TMojeQuery &q) {
                VolnePokoje volne = VolnePokoje::Nacti(q, {1, 2, 3, 4}, dnes, dnes.addDays(46));
                for (qsizetype n = 0; n < pobyty.size(); ++n) {
                    const auto &[typ, od, doKdy] = pobyty[n];
                    const int vPameti = volne.NajdiVolnyPokoj(typ, od, doKdy);
                    const int stul = Objednavka::NajdiVolnyPokoj(q, typ, od, doKdy);
                    if (vPameti != stul)
                        rozdily << QString("hotel %1, type %2, %3..%4: %5 in memory, %6 at the desk")
                                       .arg(hotel).arg(typ).arg(dnes.daysTo(od)).arg(dnes.daysTo(doKdy)).arg(vPameti).arg(stul);
                    if (stul != 0) {
                        q.exec(SqlObjednavky::insertReservation(40, 1000 + ++vybrano, dnes, od, doKdy, stul, 0));
                        volne.Pridej(stul, od, doKdy);
                    }
                }
            });
        }
        QVERIFY2(rozdily.isEmpty(), qPrintable(rozdily.join('\n')));
        QVERIFY2(vybrano > 50 && vybrano < 8 * 40 - 50, qPrintable(QString::number(vybrano)));   // both outcomes met
    }

    // The reply box of a dialog shown after the import: the end of the
    // site's reply, from a line's beginning, not megabytes of it; shown, it
    // follows the replies as they come.
    void replyBoxShowsTheEndWhenOpened()
    {
        QList<SimRezervace> guests;
        for (int i = 0; i < 1500; ++i)
            guests << guest(QString::number(i), "9", 1, 2, QString("Host %1").arg(i));   // no room: nothing stored
        m_desk->web->setOdpovedImportu(replyOffering(guests));
        TAdministraceSpolupraceSWebem dialog(m_desk->desk.get());
        auto *memo = dialog.findChild<QPlainTextEdit *>("OdpovedServeruMemo");
        QVERIFY(importAndWait());
        QTRY_COMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        QTRY_VERIFY(m_desk->desk->odpovedServeru().contains("konec_dat=true"));
        QVERIFY(m_desk->desk->odpovedServeru().size() > 4 * SpolupraceSWebem::konecOdpovediZnaku);

        dialog.show();
        const QString shown = memo->toPlainText();
        QVERIFY(shown.size() <= SpolupraceSWebem::konecOdpovediZnaku);
        QVERIFY(shown.size() > SpolupraceSWebem::konecOdpovediZnaku / 2);
        QVERIFY(shown.contains("jmeno1499=Host 1499\n") && shown.contains("stat1499=Česko\nkonec_dat=true\n"));
        QVERIFY(QString(m_desk->desk->odpovedServeru()).remove('\r').endsWith(shown));
        QVERIFY2(QRegularExpression("^[a-z_]+[0-9]+=").match(shown).hasMatch(), qPrintable(shown.left(40)));

        m_desk->desk->nastaveni().lokalniIP = "10.0.0.5";
        m_desk->desk->UlozIPAdresu();
        QTRY_VERIFY(memo->toPlainText().endsWith("OK\n"));
        QVERIFY(!memo->toPlainText().contains("konec_dat"));
    }

    void replyInPieces()
    {
        m_desk->web->pridejRezervaci(guest("17", "4", 1, 3, "Jana"));
        m_desk->web->setChovani(WebSimulator::Chovani::PoKusech);
        m_desk->web->setProdlevaKusu(-1);
        m_desk->desk->ImportRezervaci();
        QTRY_VERIFY(m_desk->desk->odpovedServeru().contains("rezervaceid0=17"));
        // The first piece ends inside a line; the watchdog's ticks find it incomplete.
        QVERIFY(m_desk->dalsiTiky());
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::CekaNaOdpoved);
        QCOMPARE(reservations().size(), 1);

        m_desk->web->posliZbytek();
        QTRY_COMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 1);
        QCOMPARE(reservations().size(), 2);
        QCOMPARE(clients().size(), 2);
        // Later ticks and data store nothing more.
        QVERIFY(m_desk->dalsiTiky());
        QCOMPARE(reservations().size(), 2);
        QCOMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 1);
    }

    void endOfData_data()
    {
        QTest::addColumn<QByteArray>("lastLine");
        QTest::addColumn<bool>("complete");
        QTest::newRow("KONEC_DAT=true") << QByteArray("KONEC_DAT=true\n") << true;
        QTest::newRow("konec_dat=TRUE") << QByteArray("konec_dat=TRUE\n") << false;
    }
    void endOfData()
    {
        QFETCH(QByteArray, lastLine);
        QFETCH(bool, complete);
        m_desk->web->setOdpovedImportu("pocet_rezervaci=1\nrezervaceid0=3\npokojid0=4\ndatum_od0=" + day(1).toLatin1()
                                       + "\ndatum_do0=" + day(2).toLatin1() + "\ncena0=900\njmeno0=Petr\n" + lastLine);
        m_desk->desk->ImportRezervaci();
        QTRY_VERIFY(m_desk->desk->odpovedServeru().contains(lastLine));
        if (complete) {
            QTRY_COMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 1);
            QCOMPARE(reservations().size(), 2);
        } else {
            QVERIFY(m_desk->dalsiTiky());
            QCOMPARE(m_desk->desk->stavImportu(), StavImportu::CekaNaOdpoved);
            QCOMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 0);
            QCOMPARE(reservations().size(), 1);
        }
    }

    // Only a reply whose frame is broken is refused whole (one reservation's
    // own values are in hostileReplies).
    void malformedReplyEndsTheImport_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("detail");
        const QString good = QString("rezervaceid0=1\npokojid0=4\ndatum_od0=%1\ndatum_do0=%2\ncena0=900\njmeno0=Petr\n")
                                 .arg(day(1), day(2));
        const QString second = QString("rezervaceid1=2\npokojid1=4\ndatum_od1=%1\ndatum_do1=%2\ncena1=900\njmeno1=Pavel\n")
                                   .arg(day(5), day(6));
        QTest::newRow("count not a number") << "pocet_rezervaci=x\n" + good << "Počet rezervací \"x\"";
        QTest::newRow("more announced than present") << "pocet_rezervaci=3\n" + good + second << "Rezervace 2: v odpovědi chybí";
    }
    void malformedReplyEndsTheImport()
    {
        QFETCH(QString, reply);
        QFETCH(QString, detail);
        m_desk->web->setOdpovedImportu(reply.toUtf8() + "konec_dat=true\n");
        m_desk->desk->ImportRezervaci();
        QTRY_COMPARE(m_desk->chyby.size(), 1);
        QVERIFY2(m_desk->chyby[0].text.contains(detail), qPrintable(m_desk->chyby[0].text));
        QVERIFY(m_desk->chyby[0].odRecepcniho);
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        QVERIFY(!m_desk->desk->posledniImport().uspech);
        // Nothing of the reply is stored, now or at later ticks, and the site is told nothing.
        QVERIFY(m_desk->dalsiTiky());
        QCOMPARE(reservations().size(), 1);
        QCOMPARE(clients().size(), 1);
        QCOMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 0);
        QCOMPARE(m_desk->chyby.size(), 1);
    }

    void databaseErrorIsNotRepeated()
    {
        m_desk->web->pridejRezervaci(guest("1", "4", 1, 1, "Eva"));
        m_desk->web->pridejRezervaci(guest("2", "4", 2, 2, "Ema"));
        TestDatabase::exec("RENAME TABLE klienti_tab TO klienti_jinde");
        m_desk->desk->ImportRezervaci();
        QTRY_COMPARE(m_desk->chyby.size(), 1);
        TestDatabase::exec("RENAME TABLE klienti_jinde TO klienti_tab");
        QVERIFY2(m_desk->chyby[0].text.contains("klienti_tab"), qPrintable(m_desk->chyby[0].text));
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        // With the table back, no later tick runs the pass again.
        QVERIFY(m_desk->dalsiTiky());
        QCOMPARE(reservations().size(), 1);
        QCOMPARE(clients().size(), 1);
        // Still waiting at the site, so the next import stores them once.
        QCOMPARE(m_desk->web->cekajici().size(), 2);
        QVERIFY(importAndWait());
        QCOMPARE(reservations().size(), 3);
        QCOMPARE(clients().size(), 3);
    }

    void refusedReservationDoesNotStopThePass()
    {
        // The site keeps offering all three (it never takes the outcomes):
        // the good ones are stored once over three passes, the refused one
        // never, and each pass tells the site 1, -1, 1.
        m_desk->web->nastaveni().ztraciVysledky = true;
        m_desk->web->pridejRezervaci(guest("1", "4", 1, 2, "Eva"));
        m_desk->web->pridejRezervaci(guest("2", "4", 5, 6, QString(300, u'x')));   // longer than the column
        m_desk->web->pridejRezervaci(guest("3", "4", 8, 9, "Ema"));
        for (int pass = 0; pass < 3; ++pass) {
            QVERIFY(importAndWait());
            QCOMPARE(lastBody(*m_desk->web, "rezervace_na_vitrane2.php"),
                     QByteArray("id=1&heslo=&pocet_rezervaci=3&rezervace[1]=1&rezervace[2]=-1&rezervace[3]=1"));
            QTRY_COMPARE(m_desk->chyby.size(), pass + 1);
            QVERIFY2(m_desk->chyby.last().text.contains("Rezervace 2"), qPrintable(m_desk->chyby.last().text));
        }
        QCOMPARE(reservations(), (QStringList{QString("40|11|%1|%2|%2|7|800").arg(day(-5), day(30)),
                                              QString("41|12|%1|%2|%3|7|3000").arg(day(0), day(1), day(2)),
                                              QString("42|13|%1|%2|%3|7|3000").arg(day(0), day(8), day(9))}));
        QCOMPARE(clients().size(), 3);
        QCOMPARE(m_desk->desk->posledniImport().text, QStringLiteral("uloženo 0, 2 uloženo už dříve, odmítnuto 1"));
    }

    void offeredAgain_data()
    {
        QTest::addColumn<SimRezervace>("again");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("rows");
        QTest::newRow("the same reservation after a lost answer")
            << guest("A17", "4", 1, 3, "Jana") << QByteArray("pocet_rezervaci=1&rezervace[A17]=1") << 2;
        QTest::newRow("the same reservation, the guest's texts spelled anew")
            << guest("A17", "4", 1, 3, "JANA") << QByteArray("pocet_rezervaci=1&rezervace[A17]=1") << 2;
        // An identifier is stored once, whatever stay the site gives it later.
        QTest::newRow("the identifier given to another stay")
            << guest("A17", "4", 4, 5, "Petr") << QByteArray("pocet_rezervaci=1&rezervace[A17]=1") << 2;
        QTest::newRow("another identifier") << guest("A18", "4", 4, 5, "Jana")
                                            << QByteArray("pocet_rezervaci=1&rezervace[A18]=1") << 3;
        QTest::newRow("identifiers differ in letter case") << guest("a17", "4", 4, 5, "Jana")
                                                           << QByteArray("pocet_rezervaci=1&rezervace[a17]=1") << 3;
    }
    void offeredAgain()
    {
        QFETCH(SimRezervace, again);
        QFETCH(QByteArray, answer);
        QFETCH(int, rows);
        m_desk->web->pridejRezervaci(guest("A17", "4", 1, 3, "Jana"));
        QVERIFY(importAndWait());
        QCOMPARE(reservations().size(), 2);

        // The answer was lost and the desk started anew: only the database remembers.
        Pracoviste later;
        later.web->pridejRezervaci(again);
        later.desk->ImportRezervaci();
        QTRY_VERIFY(later.web->cekajici().isEmpty());
        QCOMPARE(lastBody(*later.web, "rezervace_na_vitrane2.php"), "id=1&heslo=&" + answer);
        QCOMPARE(reservations().size(), rows);
        QCOMPARE(clients().size(), rows);
    }

    void hostileReplies_data()
    {
        QTest::addColumn<QList<SimRezervace>>("first");    // offered by the first pass
        QTest::addColumn<QList<SimRezervace>>("second");   // by the second (empty: the first again, its answer lost)
        QTest::addColumn<QByteArray>("answer");            // what the site hears, both times
        QTest::addColumn<int>("stored");                   // reservations stored after both passes
        QTest::addColumn<QString>("warning");              // logged (empty: no word of other values)
        using List = QList<SimRezervace>;
        // Every reply ends with a good reservation: one bad one blocks no other.
        const SimRezervace ok = guest("ok", "3", 10, 11, "Dobry");
        const QString later = QDate::currentDate().addYears(11).toString(Qt::ISODate);
        const QString laterEnd = QDate::currentDate().addYears(11).addDays(2).toString(Qt::ISODate);
        QTest::newRow("an impossible date between two good ones")
            << List{guest("a", "4", 1, 2, "Eva"), stay("b", "4", "2027-02-30", "2027-03-02"), guest("c", "4", 3, 4, "Ema")}
            << List{} << QByteArray("pocet_rezervaci=3&rezervace[a]=1&rezervace[b]=-1&rezervace[c]=1") << 2 << "";
        QTest::newRow("367 nights") << List{guest("a", "4", 1, 367, "Eva"), ok} << List{}
                                    << QByteArray("pocet_rezervaci=2&rezervace[a]=-1&rezervace[ok]=1") << 1 << "";
        QTest::newRow("eleven years ahead") << List{stay("a", "4", later, laterEnd), ok} << List{}
                                            << QByteArray("pocet_rezervaci=2&rezervace[a]=-1&rezervace[ok]=1") << 1 << "";
        QTest::newRow("a negative price") << List{guest("a", "4", 1, 2, "Eva", "-5000"), ok} << List{}
                                          << QByteArray("pocet_rezervaci=2&rezervace[a]=-1&rezervace[ok]=1") << 1 << "";
        QTest::newRow("a price that is no number") << List{guest("a", "4", 1, 2, "Eva", "tri tisice"), ok} << List{}
                                                   << QByteArray("pocet_rezervaci=2&rezervace[a]=-1&rezervace[ok]=1") << 1 << "";
        QTest::newRow("a room type that is no number") << List{guest("a", "dva", 1, 2, "Eva"), ok} << List{}
                                                       << QByteArray("pocet_rezervaci=2&rezervace[a]=-1&rezervace[ok]=1") << 1
                                                       << "";
        QTest::newRow("a stay that ended before today") << List{guest("a", "4", -10, -8, "Eva"), ok} << List{}
                                                        << QByteArray("pocet_rezervaci=2&rezervace[a]=-1&rezervace[ok]=1") << 1
                                                        << "";
        QTest::newRow("an empty identifier") << List{guest("", "4", 1, 2, "Eva"), ok} << List{}
                                             << QByteArray("pocet_rezervaci=2&rezervace[]=-1&rezervace[ok]=1") << 1 << "";
        QTest::newRow("one identifier twice in a reply, other stays")
            << List{guest("x", "4", 1, 2, "Eva"), guest("x", "4", 5, 6, "Ema"), ok} << List{}
            << QByteArray("pocet_rezervaci=3&rezervace[x]=1&rezervace[x]=1&rezervace[ok]=1") << 2 << "vícekrát s jinými údaji";
        QTest::newRow("one identifier twice in a reply, the same stay")
            << List{guest("x", "4", 1, 2, "Eva"), guest("x", "4", 1, 2, "Eva"), ok} << List{}
            << QByteArray("pocet_rezervaci=3&rezervace[x]=1&rezervace[x]=1&rezervace[ok]=1") << 2 << "";
        // The first offer of an identifier decides for the later ones.
        QTest::newRow("one identifier twice in a reply, the first unusable")
            << List{stay("x", "4", "2027-02-30", "2027-03-02"), guest("x", "4", 1, 2, "Eva"), ok} << List{}
            << QByteArray("pocet_rezervaci=3&rezervace[x]=-1&rezervace[x]=-1&rezervace[ok]=1") << 1
            << "vícekrát s jinými údaji";
        QTest::newRow("one identifier in a later pass with other dates")
            << List{guest("x", "4", 1, 2, "Eva"), ok} << List{guest("x", "4", 5, 6, "Eva"), ok}
            << QByteArray("pocet_rezervaci=2&rezervace[x]=1&rezervace[ok]=1") << 2 << "je už uložena";
    }
    void hostileReplies()
    {
        QFETCH(QList<SimRezervace>, first);
        QFETCH(QList<SimRezervace>, second);
        QFETCH(QByteArray, answer);
        QFETCH(int, stored);
        QFETCH(QString, warning);
        for (const QList<SimRezervace> &offer : {first, second.isEmpty() ? first : second}) {
            m_desk->web->setOdpovedImportu(replyOffering(offer));
            QVERIFY(importAndWait());
            QCOMPARE(lastBody(*m_desk->web, "rezervace_na_vitrane2.php"), "id=1&heslo=&" + answer);
        }
        // Each stored reservation is one stay, one client and one remembered identifier.
        QCOMPARE(count("SELECT COUNT(*) FROM objednavky_pokoje_tab") - 1, stored);
        QCOMPARE(count("SELECT COUNT(*) FROM klienti_tab WHERE typ_klienta_id = 1"), stored);
        QCOMPARE(count("SELECT COUNT(*) FROM webove_rezervace_tab"), stored);
        const QString log = webLog.join('\n');
        if (warning.isEmpty())
            QVERIFY2(!log.contains("jinými údaji"), qPrintable(log));
        else
            QVERIFY2(log.contains(warning), qPrintable(log));
    }

    void databaseFailureLeavesTheRestUnanswered_data()
    {
        QTest::addColumn<QString>("signal");     // what the table says to every stay from failFrom on
        QTest::addColumn<int>("failFrom");
        QTest::addColumn<bool>("someStored");    // groups before the failure are committed and answered
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << "SQLSTATE 'HY000' SET MYSQL_ERRNO = 1114, "
                                      "MESSAGE_TEXT = 'The table ''objednavky_pokoje_tab'' is full'"
                                   << 1100 << true << "is full";
        QTest::newRow("a server error at once") << "SQLSTATE '45000' SET MESSAGE_TEXT = 'Chyba serveru'" << 0 << false
                                                << "Chyba serveru";
        QTest::newRow("a lock wait") << "SQLSTATE 'HY000' SET MYSQL_ERRNO = 1205, "
                                        "MESSAGE_TEXT = 'Lock wait timeout exceeded; try restarting transaction'"
                                     << 1100 << true << "jiná recepce";
        // A value refused for a column the site does not fill is no fault of the reservation.
        QTest::newRow("a number of the desk's own out of range")
            << "SQLSTATE '22003' SET MYSQL_ERRNO = 1264, "
               "MESSAGE_TEXT = 'Out of range value for column ''cislo_objednavky'' at row 1'"
            << 1100 << true << "cislo_objednavky";
    }
    void databaseFailureLeavesTheRestUnanswered()
    {
        QFETCH(QString, signal);
        QFETCH(int, failFrom);
        QFETCH(bool, someStored);
        QFETCH(QString, reason);
        const int offered = 1200;   // more than one group of a commit
        for (int d = 0; d < offered; ++d)
            m_desk->web->pridejRezervaci(guest(QString::number(d), "4", 31 + d, 31 + d, QString("Host %1").arg(d)));
        TestDatabase::exec(QString("CREATE TRIGGER plny_disk BEFORE INSERT ON objednavky_pokoje_tab FOR EACH ROW "
                                   "IF NEW.od_kdy >= '%1' THEN SIGNAL %2; END IF")
                               .arg(day(31 + failFrom), signal));
        m_desk->desk->ImportRezervaci();
        QTRY_COMPARE(m_desk->chyby.size(), 1);
        QVERIFY2(m_desk->chyby[0].text.contains(reason), qPrintable(m_desk->chyby[0].text));
        QVERIFY(!m_desk->desk->posledniImport().uspech);
        QVERIFY2(m_desk->desk->posledniImport().text.startsWith("chyba databáze"),
                 qPrintable(m_desk->desk->posledniImport().text));
        QTRY_COMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), someStored ? 1 : 0);

        // The site hears of the stored ones only, never a refusal: the rest it offers again.
        const QMap<QString, QString> outcomes = m_desk->web->vysledky();
        const int stored = count("SELECT COUNT(*) FROM objednavky_pokoje_tab") - 1;
        QCOMPARE(outcomes.size(), stored);
        QCOMPARE(someStored, stored > 0);
        for (auto it = outcomes.cbegin(); it != outcomes.cend(); ++it) {
            QCOMPARE(it.value(), QStringLiteral("1"));
            QVERIFY2(it.key().toInt() < failFrom, qPrintable(it.key()));
        }
        QCOMPARE(m_desk->web->cekajici().size(), offered - stored);

        // With the table writable again the next import stores the rest, each once.
        TestDatabase::exec("DROP TRIGGER plny_disk");
        QVERIFY(importAndWait());
        QVERIFY(m_desk->web->cekajici().isEmpty());
        QCOMPARE(m_desk->web->vysledky().values(), QStringList(offered, "1"));
        QCOMPARE(count("SELECT COUNT(*) FROM objednavky_pokoje_tab") - 1, offered);
        QCOMPARE(count("SELECT COUNT(*) FROM klienti_tab WHERE typ_klienta_id = 1"), offered);
        QCOMPARE(count("SELECT COUNT(*) FROM webove_rezervace_tab"), offered);
    }

    void manyReservationsWithARefusalAmongThem()
    {
        // More than one statement's worth: three guests for each of 350
        // days, two rooms of the type, one guest the database refuses.
        const int days = 350;
        QStringList expected;
        for (int copy = 0; copy < 3; ++copy) {
            for (int d = 0; d < days; ++d) {
                const QString id = QString("%1-%2").arg(copy).arg(d);
                const bool refused = copy == 0 && d == 123;
                m_desk->web->pridejRezervaci(guest(id, "4", 31 + d, 31 + d, refused ? QString(300, u'x') : id));
            }
        }
        QVERIFY(importAndWait());
        const QMap<QString, QString> outcomes = m_desk->web->vysledky();
        QCOMPARE(outcomes.size(), 3 * days);
        const int stored = int(std::count(outcomes.cbegin(), outcomes.cend(), QStringLiteral("1")));
        // Every day has two rooms: two of its three guests get one, the refused one's day takes the third.
        QCOMPARE(stored, 2 * days);
        QCOMPARE(outcomes.value("0-123"), QStringLiteral("-1"));
        QCOMPARE(outcomes.value("2-123"), QStringLiteral("1"));
        QCOMPARE(outcomes.value("2-124"), QStringLiteral("-1"));
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab WHERE klient_id > 40").toInt(), stored);
        QCOMPARE(TestDatabase::value("SELECT COUNT(DISTINCT cislo_objednavky) FROM objednavky_pokoje_tab").toInt(), stored + 1);
        QCOMPARE(TestDatabase::value("SELECT COUNT(DISTINCT klient_id) FROM klienti_tab").toInt(), stored + 1);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM webove_rezervace_tab").toInt(), stored);
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM objednavky_pokoje_tab a, objednavky_pokoje_tab b "
                                     "WHERE a.pokoj_id = b.pokoj_id AND a.cislo_objednavky < b.cislo_objednavky "
                                     "AND a.od_kdy <= b.do_kdy AND a.do_kdy >= b.od_kdy")
                     .toInt(),
                 0);
    }

    void endlessReplyIsCut()
    {
        const qint64 before = rssKiB();
        m_desk->web->setChovani(WebSimulator::Chovani::Nekonecne);
        m_desk->desk->ImportRezervaci();
        QTRY_COMPARE_WITH_TIMEOUT(m_desk->chyby.size(), 1, 20000);
        QVERIFY2(m_desk->chyby[0].text.contains("delší než 4 MiB"), qPrintable(m_desk->chyby[0].text));
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        // The desk stopped reading: once the site sees the connection go, it
        // could have sent little more than the limit.
        QTRY_COMPARE_WITH_TIMEOUT(m_desk->web->pocetSpojeni(), 0, 10000);
        QVERIFY2(m_desk->web->odeslanoNekonecne() < 16 * 1024 * 1024, QByteArray::number(m_desk->web->odeslanoNekonecne()));
        QVERIFY2(rssKiB() - before < 64 * 1024, QByteArray::number(rssKiB() - before));
        QCOMPARE(reservations().size(), 1);
        QCOMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 0);
    }

    void tablesAddedSinceAreCreated()
    {
        // A database made before the remembered web identifiers existed: the
        // desk's start creates the table, and the next start changes nothing.
        TestDatabase::exec("DROP TABLE webove_rezervace_tab");
        for (int start = 0; start < 2; ++start)
            Recepce(TestDatabase::config(), false).pripoj();
        m_desk->web->pridejRezervaci(guest("17", "4", 1, 3, "Jana"));
        QVERIFY(importAndWait());
        QCOMPARE(TestDatabase::rows("SELECT rezervaceid, cislo_objednavky FROM webove_rezervace_tab"),
                 QStringList{"17|12"});
    }

    void serverClosingAfterEachReply_data()
    {
        QTest::addColumn<int>("lingering");
        QTest::newRow("closed at once") << 0;
        // The desk sends into a connection the server no longer reads.
        QTest::newRow("closed later") << 150;
    }
    void serverClosingAfterEachReply()
    {
        QFETCH(int, lingering);
        // The second request goes over a new connection.
        m_desk->web->nastaveni().zavriPoOdpovedi = true;
        m_desk->web->nastaveni().prodlevaZavreni = lingering;
        m_desk->web->pridejRezervaci(guest("9", "4", 1, 1, "Eva"));
        QVERIFY(importAndWait());
        QCOMPARE(m_desk->web->vysledky().value("9"), QStringLiteral("1"));
        QVERIFY(m_desk->web->prijatoSpojenimi().size() >= 2);
    }

    void replyCutShortByTheServer()
    {
        m_desk->web->pridejRezervaci(guest("9", "4", 1, 1, "Eva"));
        m_desk->web->setChovani(WebSimulator::Chovani::ZavriPredcasne);
        m_desk->desk->ImportRezervaci();
        // The rest of the reply will never come: the import ends at once.
        QTRY_COMPARE(m_desk->chyby.size(), 1);
        QVERIFY2(m_desk->chyby[0].text.contains("ukončil spojení"), qPrintable(m_desk->chyby[0].text));
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::Nic);
        QCOMPARE(reservations().size(), 1);
        // Started again with a site that behaves, it completes.
        m_desk->web->setChovani(WebSimulator::Chovani::Normalne);
        QVERIFY(importAndWait());
        QCOMPARE(reservations().size(), 2);
    }

    void replyThatNeverCompletes()
    {
        CasovaniWebu c = rychleCasovani();
        c.pripojeno = 150;   // twenty ticks: long enough to see it wait
        m_desk = std::make_unique<Pracoviste>(c);
        m_desk->web->pridejRezervaci(guest("9", "4", 1, 1, "Eva"));
        m_desk->web->setChovani(WebSimulator::Chovani::NikdyNedokonci);
        m_desk->desk->ImportRezervaci();
        QTRY_VERIFY(m_desk->desk->odpovedServeru().contains("pocet_rezervaci=1"));
        QCOMPARE(m_desk->desk->stavImportu(), StavImportu::CekaNaOdpoved);
        // After the twenty ticks it gives up and drops the connection, so
        // that nothing of this reply mixes with the next one.
        QTRY_COMPARE_WITH_TIMEOUT(m_desk->desk->stavImportu(), StavImportu::Nic, 10000);
        QCOMPARE(m_desk->chyby.size(), 1);
        m_desk->web->setChovani(WebSimulator::Chovani::Normalne);
        QVERIFY(importAndWait());
        QCOMPARE(m_desk->web->vysledky().value("9"), QStringLiteral("1"));
        QCOMPARE(reservations().size(), 2);
    }

    void exportDuringTheImportKeepsItsReply()
    {
        // A prices export empties the reply box while the import's reply is
        // half in: the import still reads all of its own reply.
        m_desk->web->pridejRezervaci(guest("17", "4", 1, 3, "Jana"));
        m_desk->web->setChovani(WebSimulator::Chovani::PoKusech);
        m_desk->web->setProdlevaKusu(-1);
        m_desk->desk->ImportRezervaci();
        QTRY_VERIFY(m_desk->desk->odpovedServeru().contains("rezervaceid0=17"));
        m_desk->desk->ExportCenObsazenosti();
        QVERIFY(!m_desk->desk->odpovedServeru().contains("rezervaceid0=17"));
        m_desk->web->posliZbytek();
        QTRY_COMPARE(requests(*m_desk->web, "rezervace_na_vitrane2.php"), 1);
        QCOMPARE(m_desk->web->vysledky().value("17"), QStringLiteral("1"));
        QCOMPARE(requests(*m_desk->web, "ceny_a_obsazenost.php"), 1);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestWebImport test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_web_import.moc"
