// Guests' arrivals and departures against the real server: what the guest
// books need of a Czech and of a foreign guest, the price of a stay
// shortened by an early departure, an early arrival moving the first day
// only into free nights, and two desks checking one stay in or out (the
// second refused, nothing of the first lost). Also the check-in window's
// refusal naming the guest and the field, and a check-in through it.

#include "GuiTestSupport.h"
#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "db/TMojeDatabaze.h"
#include "desk/TOdjezdHosta.h"
#include "desk/TPrijezdHosta.h"
#include "model/Objednavky.h"
#include "model/Ubytovani.h"
#include "model/Zeme.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

using namespace GuiTest;
using namespace RecepceTest;

namespace {
Host uplnyCech()
{
    Host h;
    h.host_id = -2;
    h.jmeno = "Jan";
    h.prijmeni = "Novák";
    h.datum_narozeni = QDate(1980, 5, 12);
    h.ulice = "Dlouhá 5";
    h.mesto = "Brno";
    h.psc = "602 00";
    h.doklad_druh = "občanský průkaz";
    h.doklad_cislo = "123456789";
    return h;
}

Host uplnyCizinec()
{
    Host h = uplnyCech();
    h.statni_prislusnost = h.stat = "SVK";
    h.psc.clear();
    h.doklad_druh.clear();
    h.doklad_cislo = "AK4711";
    return h;
}

/** The stay as the windows load it: number 7 in room 1. */
PobytHosta pobyt(const QString &seznam = "prijezd")
{
    const auto pobyty = seznam == "prijezd" ? Ubytovani::kPrijezdu(den(0)) : Ubytovani::ubytovane(den(0));
    for (const PobytHosta &p : pobyty)
        if (p.klic.cislo_objednavky == 7)
            return p;
    qFatal("stay 7 not listed");
}

QStringList stays()
{
    return TestDatabase::rows("SELECT cislo_objednavky, od_kdy, do_kdy, cena FROM objednavky_pokoje_tab "
                              "ORDER BY cislo_objednavky");
}

QStringList arrivals()
{
    return TestDatabase::rows("SELECT od_kdy, odjezd IS NULL FROM prijezdy_tab");
}

/** Runs as the other desk, on its own connection. */
void naJineRecepci(TMojeDatabaze &jina, const std::function<void()> &akce)
{
    jina.makeCurrent();
    const auto zpet = qScopeGuard([] { TestDatabase::db().makeCurrent(); });
    akce();
}
} // namespace

class TestUbytovani : public QObject
{
    Q_OBJECT

    /** Stay 7 of room 1 (101) from od to doKdy (days from today); every night priced 1000, day 3 at 1500. */
    void zaloz(int od, int doKdy)
    {
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan Novák')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)");
        TestDatabase::exec("INSERT INTO typy_dnu_tab VALUES (1, 'Všední den', 20), (2, 'Svátek', 10)");
        QStringList kalendar;
        for (int d = -5; d <= 10; ++d)
            kalendar << QString("('%1', %2)").arg(sql(d)).arg(d == 3 ? 2 : 1);
        TestDatabase::exec("INSERT INTO kalendar_typy_dnu_tab VALUES " + kalendar.join(", "));
        TestDatabase::exec("INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (1, 1, 2, 1500)");
        TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, 7, '%1', '%2', '%3', 1, 9999)")
                               .arg(sql(-10), sql(od), sql(doKdy)));
    }

private slots:
    void initTestCase() { RecepceTest::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
    }

    void coChybi_data()
    {
        QTest::addColumn<bool>("cizinec");
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("hodnota");
        QTest::addColumn<QStringList>("chybi");
        QTest::newRow("Czech, complete") << false << "" << "" << QStringList();
        QTest::newRow("foreigner, complete") << true << "" << "" << QStringList();
        QTest::newRow("Czech without a name") << false << "jmeno" << "" << QStringList{"jméno"};
        QTest::newRow("foreigner without a surname") << true << "prijmeni" << " " << QStringList{"příjmení"};
        QTest::newRow("Czech born today") << false << "datum_narozeni" << "0" << QStringList{"datum narození (musí být v minulosti)"};
        QTest::newRow("foreigner without a birth date") << true << "datum_narozeni" << "" << QStringList{"datum narození"};
        QTest::newRow("Czech without a postcode") << false << "psc" << "" << QStringList{"PSČ"};
        QTest::newRow("Czech postcode of four digits") << false << "psc" << "6020" << QStringList{"PSČ (pět číslic)"};
        QTest::newRow("foreigner needs no postcode") << true << "psc" << "" << QStringList();
        QTest::newRow("Czech without the document's kind") << false << "doklad_druh" << "" << QStringList{"druh dokladu"};
        QTest::newRow("Czech without the document's number") << false << "doklad_cislo" << "" << QStringList{"číslo dokladu"};
        QTest::newRow("foreigner without the travel document") << true << "doklad_cislo" << "" << QStringList{"číslo cestovního dokladu"};
        QTest::newRow("foreigner without the country of residence") << true << "stat" << "" << QStringList{"stát bydliště"};
        QTest::newRow("no nationality") << false << "statni_prislusnost" << "" << QStringList{"státní příslušnost"};
        QTest::newRow("without a town") << true << "mesto" << "" << QStringList{"obec"};
        QTest::newRow("without a street") << false << "ulice" << "" << QStringList{"ulice"};
    }
    void coChybi()
    {
        QFETCH(bool, cizinec);
        QFETCH(QString, pole);
        QFETCH(QString, hodnota);
        QFETCH(QStringList, chybi);
        Host h = cizinec ? uplnyCizinec() : uplnyCech();
        if (pole == "jmeno") h.jmeno = hodnota;
        if (pole == "prijmeni") h.prijmeni = hodnota;
        if (pole == "datum_narozeni") h.datum_narozeni = hodnota.isEmpty() ? QDate() : den(hodnota.toInt());
        if (pole == "psc") h.psc = hodnota;
        if (pole == "doklad_druh") h.doklad_druh = hodnota;
        if (pole == "doklad_cislo") h.doklad_cislo = hodnota;
        if (pole == "stat") h.stat = hodnota;
        if (pole == "statni_prislusnost") h.statni_prislusnost = hodnota;
        if (pole == "mesto") h.mesto = hodnota;
        if (pole == "ulice") h.ulice = hodnota;
        QCOMPARE(Hoste::coChybi(h, den(0)), chybi);
    }

    void mladsi18_data()
    {
        QTest::addColumn<QDate>("narozen");
        QTest::addColumn<QDate>("prvniDen");
        QTest::addColumn<bool>("mladsi");
        QTest::newRow("18 the day before") << QDate(2008, 6, 1) << QDate(2026, 6, 2) << false;
        QTest::newRow("18 on the first day") << QDate(2008, 6, 2) << QDate(2026, 6, 2) << false;
        QTest::newRow("18 the day after") << QDate(2008, 6, 3) << QDate(2026, 6, 2) << true;
        // The civil code ends a span due on a day the month lacks on its last day.
        QTest::newRow("born 29 February, 18 on 28 February") << QDate(2008, 2, 29) << QDate(2026, 2, 28) << false;
        QTest::newRow("born 29 February, 27 February") << QDate(2008, 2, 29) << QDate(2026, 2, 27) << true;
        QTest::newRow("no birth date") << QDate() << QDate(2026, 6, 2) << false;
    }
    void mladsi18()
    {
        QFETCH(QDate, narozen);
        QFETCH(QDate, prvniDen);
        QFETCH(bool, mladsi);
        Host h;
        h.datum_narozeni = narozen;
        QCOMPARE(Hoste::jeMladsi18(h, prvniDen), mladsi);
    }

    void countriesInCzechOrder()
    {
        QStringList nazvy;
        for (const Zeme::Zeme &z : Zeme::seznam())
            nazvy << z.nazev;
        // "Ch" after "H", "Č" after "C", "Ř" after "R", "Š" after "S".
        QVERIFY(nazvy.indexOf("Chorvatsko") > nazvy.indexOf("Hongkong"));
        QVERIFY(nazvy.indexOf("Chorvatsko") < nazvy.indexOf("Indie"));
        QVERIFY(nazvy.indexOf("Čína") < nazvy.indexOf("Dánsko"));
        QVERIFY(nazvy.indexOf("Řecko") > nazvy.indexOf("Rusko"));
        QVERIFY(nazvy.indexOf("Švýcarsko") > nazvy.indexOf("Srbsko"));
        QCOMPARE(Zeme::nazev("UKR"), QStringLiteral("Ukrajina"));
    }

    void shortenedStay_data()
    {
        QTest::addColumn<int>("odjezd");
        QTest::addColumn<QString>("ulozeno");
        // Stay of nights 0..4 (leaves on day 5); night 3 costs 1500.
        QTest::newRow("on the booked day: not shortened") << 5 << QString("7|%1|%2|9999").arg(sql(0), sql(4));
        QTest::newRow("a day early: the last night freed")
            << 4 << QString("7|%1|%2|4500").arg(sql(0), sql(3));
        QTest::newRow("two days early: the dearer night freed too")
            << 3 << QString("7|%1|%2|3000").arg(sql(0), sql(2));
        QTest::newRow("on the day of arrival: one night stays")
            << 0 << QString("7|%1|%1|1000").arg(sql(0));
    }
    void shortenedStay()
    {
        QFETCH(int, odjezd);
        QFETCH(QString, ulozeno);
        zaloz(0, 4);
        TestDatabase::exec(QString("INSERT INTO prijezdy_tab VALUES (7, 1, '%1', '%1 10:00:00', NULL)").arg(sql(0)));
        const PobytHosta p = pobyt("odjezd");
        const QDateTime kdy(den(odjezd), QTime(11, 0));
        std::optional<double> cena;
        if (Ubytovani::zkracuje(p, kdy.date()))
            cena = Ubytovani::cena(p, p.klic.od_kdy, Ubytovani::posledniNoc(p, kdy.date()));
        Ubytovani::odjezd(p, kdy, cena);
        QCOMPARE(stays(), QStringList{ulozeno});
        QCOMPARE(TestDatabase::rows("SELECT DATE_FORMAT(odjezd, '%Y-%m-%d %H:%i') FROM prijezdy_tab"),
                 QStringList{kdy.toString("yyyy-MM-dd HH:mm")});
        QCOMPARE(TestDatabase::rows("SELECT pokoj_id, stav FROM stav_pokoju_tab"), QStringList{"1|1"});
        QVERIFY(TestDatabase::value("SELECT popis FROM historie_zmen_tab").toString().startsWith("Odjezd "));
        // Undone, the guests are in again and the stay stays as shortened.
        Ubytovani::zrusOdjezd(pobyt("odjezd"));
        QCOMPARE(arrivals(), QStringList{sql(0) + "|1"});
        QCOMPARE(stays(), QStringList{ulozeno});
    }

    void earlyArrival_data()
    {
        QTest::addColumn<QString>("jinyPobyt");
        QTest::addColumn<bool>("posunuto");
        // Stay 7 books nights 2..3; the guests come today.
        QTest::newRow("free nights before: moved") << "" << true;
        QTest::newRow("another stay ends the night before today: moved") << QString("(1, 8, '%1', '%2', '%3', 1, 0)")
                                                                               .arg(sql(-10), sql(-3), sql(-1))
                                                                         << true;
        QTest::newRow("another stay tonight: refused") << QString("(1, 8, '%1', '%2', '%2', 1, 0)").arg(sql(-10), sql(0))
                                                       << false;
        QTest::newRow("another stay tomorrow night: refused")
            << QString("(1, 8, '%1', '%2', '%2', 1, 0)").arg(sql(-10), sql(1)) << false;
        QTest::newRow("another room taken: moved") << QString("(1, 8, '%1', '%2', '%3', 2, 0)").arg(sql(-10), sql(0), sql(1))
                                                   << true;
    }
    void earlyArrival()
    {
        QFETCH(QString, jinyPobyt);
        QFETCH(bool, posunuto);
        zaloz(2, 3);
        if (!jinyPobyt.isEmpty())
            TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES " + jinyPobyt);
        const PobytHosta p = pobyt();
        const std::vector<Host> hoste{uplnyCech()};
        const QDateTime kdy(den(0), QTime(9, 30));
        const auto cena = Ubytovani::cena(p, kdy.date(), p.do_kdy);
        QCOMPARE(cena, std::optional<double>(4500));
        const auto vysledek = Ubytovani::prijezd(p, {}, hoste, kdy, *cena);
        QCOMPARE(vysledek == Ubytovani::Vysledek::Hotovo, posunuto);
        const QString od = posunuto ? sql(0) : sql(2);
        QCOMPARE(TestDatabase::rows("SELECT od_kdy, do_kdy, cena FROM objednavky_pokoje_tab WHERE cislo_objednavky = 7"),
                 QStringList{QString("%1|%2|%3").arg(od, sql(3), posunuto ? "4500" : "9999")});
        // The guests and the arrival under the stay's key as it now is; nothing when refused.
        QCOMPARE(TestDatabase::rows("SELECT od_kdy, prijmeni FROM hoste_tab"),
                 posunuto ? QStringList{sql(0) + "|Novák"} : QStringList());
        QCOMPARE(arrivals(), posunuto ? QStringList{sql(0) + "|1"} : QStringList());
    }

    void twoDesks_data()
    {
        QTest::addColumn<QString>("jina");
        QTest::addColumn<QString>("tato");
        QTest::addColumn<QStringList>("prijezdy");
        QTest::newRow("both check in") << "prijezd" << "prijezd" << QStringList{sql(0) + "|1"};
        QTest::newRow("both check out") << "odjezd" << "odjezd" << QStringList{sql(0) + "|0"};
        QTest::newRow("a check-in undone, then checked out") << "zrusPrijezd" << "odjezd" << QStringList();
        QTest::newRow("checked out, then the check-in undone") << "odjezd" << "zrusPrijezd" << QStringList{sql(0) + "|0"};
        QTest::newRow("the stay deleted, then checked in") << "smaz" << "prijezd" << QStringList();
    }
    void twoDesks()
    {
        QFETCH(QString, jina);
        QFETCH(QString, tato);
        QFETCH(QStringList, prijezdy);
        zaloz(0, 2);
        const bool ubytovany = jina != "prijezd" && jina != "smaz";
        if (ubytovany)
            TestDatabase::exec(QString("INSERT INTO prijezdy_tab VALUES (7, 1, '%1', '%1 10:00:00', NULL)").arg(sql(0)));
        // Both desks load the stay; the other one saves first.
        const PobytHosta nacteny = pobyt(ubytovany ? "odjezd" : "prijezd");
        Host jeho = uplnyCech();
        Host muj = uplnyCizinec();
        muj.prijmeni = "Horváth";
        const auto provest = [&](const QString &co, const Host &host) {
            if (co == "prijezd")
                Ubytovani::prijezd(nacteny, {}, {host}, QDateTime(den(0), QTime(14, 0)));
            else if (co == "odjezd")
                Ubytovani::odjezd(nacteny, QDateTime(den(0), QTime(15, 0)), std::nullopt);
            else if (co == "zrusPrijezd")
                Ubytovani::zrusPrijezd(nacteny);
            else
                Objednavka::SmazObjednavku(7);
        };
        auto druha = TestDatabase::openAnother();
        naJineRecepci(*druha, [&] { provest(jina, jeho); });
        const QStringList hoste = TestDatabase::rows("SELECT host_id, prijmeni FROM hoste_tab");
        const QStringList historie = TestDatabase::rows("SELECT popis FROM historie_zmen_tab");
        try {
            provest(tato, muj);
            QFAIL("the second desk's save went through");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Conflict);
            QVERIFY2(e.text().contains("jiná recepce"), qPrintable(e.text()));
        }
        QCOMPARE(arrivals(), prijezdy);
        QCOMPARE(TestDatabase::rows("SELECT host_id, prijmeni FROM hoste_tab"), hoste);
        QCOMPARE(TestDatabase::rows("SELECT popis FROM historie_zmen_tab"), historie);
    }

    void guestsChangedByAnotherDesk()
    {
        // The other desk corrected a guest this desk loaded: the check-in with this desk's older copy is refused.
        zaloz(0, 2);
        Host h = uplnyCech();
        h.host_id = 5;
        TestDatabase::exec(QString("INSERT INTO hoste_tab (host_id, cislo_objednavky, pokoj_id, od_kdy, prijmeni) "
                                   "VALUES (5, 7, 1, '%1', 'Novák')").arg(sql(0)));
        const PobytHosta p = pobyt();
        const std::vector<Host> nacteni = Hoste::nacti(p.klic);
        std::vector<Host> upraveni = nacteni;
        upraveni[0].jmeno = "Jan";
        TestDatabase::exec("UPDATE hoste_tab SET prijmeni = 'Nováková' WHERE host_id = 5");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Ubytovani::prijezd(p, nacteni, upraveni, QDateTime::currentDateTime()));
        QCOMPARE(TestDatabase::rows("SELECT prijmeni, jmeno FROM hoste_tab"), QStringList{"Nováková|"});
        QCOMPARE(arrivals(), QStringList());
    }

    void checkInWindow_data()
    {
        QTest::addColumn<QString>("statniPrislusnost");
        QTest::addColumn<QString>("doklad");
        QTest::addColumn<QString>("zprava");
        QTest::newRow("Czech guest without a document")
            << "CZE" << "" << "1. host Jan Novák: chybí druh dokladu, číslo dokladu";
        QTest::newRow("Slovak guest without a passport") << "SVK" << "" << "1. host Jan Novák: chybí číslo cestovního dokladu";
        QTest::newRow("Slovak guest, complete") << "SVK" << "AK4711" << "";
    }
    void checkInWindow()
    {
        QFETCH(QString, statniPrislusnost);
        QFETCH(QString, doklad);
        QFETCH(QString, zprava);
        zaloz(0, 2);
        TestDatabase::exec("INSERT INTO stav_pokoju_tab VALUES (1, 1)");
        TPrijezdHosta okno;
        inModal<TPrijezdHosta>(okno, [&](TPrijezdHosta *d) {
            QCOMPARE(control<QComboBox>(d, "PobytComboBox")->currentIndex(), 0);
            QCOMPARE(control<QListWidget>(d, "HosteListWidget")->count(), 1);
            type(control<QLineEdit>(d, "JmenoEdit"), "Jan");
            type(control<QLineEdit>(d, "PrijmeniEdit"), "Novák");
            type(control<QLineEdit>(d, "DatumNarozeniEdit"), "12.5.1980");
            auto *narodnost = control<QComboBox>(d, "StatniPrislusnostComboBox");
            narodnost->setCurrentIndex(narodnost->findData(statniPrislusnost));
            type(control<QLineEdit>(d, "UliceEdit"), "Hlavná 1");
            type(control<QLineEdit>(d, "MestoEdit"), "Bratislava");
            type(control<QLineEdit>(d, "PscEdit"), "811 01");
            type(control<QLineEdit>(d, "DokladCisloEdit"), doklad);
            MessageBox::clearHistory();
            if (zprava.isEmpty())
                MessageBox::setNextAnswer(QMessageBox::Yes);   // the room is not clean: check in all the same
            click(control<QPushButton>(d, "OKButton"));
            if (!zprava.isEmpty()) {
                QCOMPARE(messages().size(), 1);
                QVERIFY2(messages()[0].contains(zprava), qPrintable(messages()[0]));
                QVERIFY(d->isVisible());
            } else {
                QVERIFY2(messages().size() == 1 && messages()[0].contains("není uklizený"), qPrintable(messages().join(";")));
                QVERIFY(!d->isVisible());
            }
        });
        QCOMPARE(arrivals(), zprava.isEmpty() ? QStringList{sql(0) + "|1"} : QStringList());
        QCOMPARE(TestDatabase::rows("SELECT prijmeni, statni_prislusnost, doklad_cislo FROM hoste_tab"),
                 zprava.isEmpty() ? QStringList{"Novák|SVK|AK4711"} : QStringList());
    }
};

QTEST_MAIN(TestUbytovani)
#include "test_ubytovani.moc"
