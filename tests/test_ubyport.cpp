// The report of foreign guests: the file's bytes, the deadline, and (against
// the test server) the window and the terminal command that write it.

#include "GuiTestSupport.h"
#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TUbyport.h"
#include "model/NahlaseniCizincu.h"
#include "model/Ubyport.h"

#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using RecepceTest::den;
using RecepceTest::sql;

namespace {
UdajeOHotelu hotel()
{
    UdajeOHotelu u;
    u.idub = QStringLiteral("123456789012");
    u.zkratka = QStringLiteral("VITRA");
    u.zarizeni = QStringLiteral("Hotel Vitrana");
    u.kontakt = QStringLiteral("+420 777 123 456");
    u.okres = QStringLiteral("Český Krumlov");
    u.obec = QStringLiteral("Český Krumlov");
    u.cast_obce = QStringLiteral("Vnitřní Město");
    u.ulice = QStringLiteral("Radniční");
    u.cislo_domovni = QStringLiteral("29");
    u.cislo_orientacni = QStringLiteral("2");
    u.psc = QStringLiteral("381 01");
    return u;
}

HlaseniHosta novak()
{
    HlaseniHosta h;
    h.host.jmeno = QStringLiteral("Jan");
    h.host.prijmeni = QStringLiteral("Novák");
    h.host.datum_narozeni = QDate(1980, 5, 12);
    h.host.statni_prislusnost = QStringLiteral("SVK");
    h.host.stat = QStringLiteral("SVK");
    h.host.mesto = QStringLiteral("Bratislava");
    h.host.ulice = QStringLiteral("Hlavná 1");
    h.host.doklad_cislo = QStringLiteral("AK4711");
    h.host.vizum = QStringLiteral("V123");
    h.host.ucel = QStringLiteral("10");
    h.cislo_pokoje = QStringLiteral("101");
    h.prvniDen = QDate(2026, 6, 27);
    h.posledniDen = QDate(2026, 6, 30);
    return h;
}

const QDate dnes(2026, 6, 28);
const QDateTime vytvoreno(QDate(2026, 6, 28), QTime(9, 5, 7));
/** A stay of the room from od to its last night doKdy, arrived on od unless prijezd is empty, departed on odjezd. */
void pobyt(int cislo, int pokoj, int od, int doKdy, bool prijezd = true, const QString &odjezd = "NULL")
{
    TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, %1, '%2', '%3', '%4', %5, 1000)")
                           .arg(cislo).arg(sql(-60), sql(od), sql(doKdy)).arg(pokoj));
    if (prijezd)
        TestDatabase::exec(QString("INSERT INTO prijezdy_tab VALUES (%1, %2, '%3', '%3 14:00:00', %4)")
                               .arg(cislo).arg(pokoj).arg(sql(od), odjezd));
}

void host(int id, int cislo, int pokoj, int od, const QString &jmeno, const QString &prijmeni, const QString &zeme,
          const QString &mesto, const QString &doklad)
{
    TestDatabase::exec(QString("INSERT INTO hoste_tab (host_id, cislo_objednavky, pokoj_id, od_kdy, jmeno, prijmeni, "
                               "datum_narozeni, statni_prislusnost, ulice, mesto, stat, doklad_cislo, ucel) VALUES "
                               "(%1, %2, %3, '%4', '%5', '%6', '1990-03-04', '%7', 'Rynek 1', '%8', '%7', '%9', '10')")
                           .arg(id).arg(cislo).arg(pokoj)
                           .arg(sql(od), jmeno, prijmeni, zeme, mesto, doklad));
}

/** Who the list names, in its order. */
QStringList jmena(const std::vector<HlaseniHosta> &hoste)
{
    QStringList out;
    for (const HlaseniHosta &h : hoste)
        out << h.host.celeJmeno() + (h.opraven() ? " (opraven)" : "");
    return out;
}

const QByteArray radekHotelu = "A|2|123456789012|VITRA|Hotel Vitrana|+420 777 123 456|\xC8"
                               "esk\xFD Krumlov|\xC8"
                               "esk\xFD Krumlov|Vnit\xF8n\xED M\xECsto|Radni\xE8n\xED|29|2|38101|"
                               "28.06.2026 09:05:07||\r\n";
} // namespace

using Uprava = std::function<void(HlaseniHosta &)>;
Q_DECLARE_METATYPE(Uprava)

class TestUbyport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { RecepceTest::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        // A Czech guest, an overdue Pole, a German arrived today, a guest departed yesterday, one not yet
        // checked in and one who left long ago.
        TestDatabase::clearTables();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1)");
        TestDatabase::exec("INSERT INTO hotel_udaje_tab (id, zarizeni, obec, psc, idub, zkratka) "
                           "VALUES (1, 'Hotel Vitrana', 'Třeboň', '37901', '123456789012', 'VITRA')");
        pobyt(7, 1, -10, 2);
        host(1, 7, 1, -10, "Jan", "Novák", "CZE", "Praha", "123456789");
        host(2, 7, 1, -10, "Anna", "Kowalska", "POL", "Kraków", "PL123");
        pobyt(8, 2, 0, 3);
        host(3, 8, 2, 0, "Hans", "Müller", "DEU", "Köln", "C01X00T47");
        pobyt(9, 3, 1, 2, false);
        host(4, 9, 3, 1, "Ivan", "Petrov", "UKR", "Kyjiv", "FE123");
        pobyt(10, 3, -40, -39, true, "'" + sql(-38) + " 10:00:00'");
        host(5, 10, 3, -40, "Olga", "Dávná", "SVK", "Žilina", "SK1");
        pobyt(11, 2, -3, -2, true, "'" + sql(-1) + " 10:00:00'");
        host(6, 11, 2, -3, "Petra", "Odjetá", "AUT", "Wien", "AT9");
        MessageBox::clearHistory();
    }

    void seznamANahlaseni()
    {
        const std::vector<HlaseniHosta> hoste = NahlaseniCizincu::kNahlaseni(den(0));
        QCOMPARE(jmena(hoste), QStringList({"Anna Kowalska", "Petra Odjetá", "Hans Müller"}));
        QCOMPARE(NahlaseniCizincu::poTerminu(hoste, den(0)), 1);
        QCOMPARE(hoste[0].posledniDen, den(3));

        NahlaseniCizincu::oznacNahlasene({hoste[0]});
        QCOMPARE(jmena(NahlaseniCizincu::kNahlaseni(den(0))), QStringList({"Petra Odjetá", "Hans Müller"}));
        QCOMPARE(TestDatabase::rows("SELECT host_id, uzivatel FROM ubyport_tab"),
                 QStringList{"2|" + PrivateServer::osUser()});
        QCOMPARE(TestDatabase::rows("SELECT popis, ids FROM historie_zmen_tab"),
                 QStringList{"Nahlášení cizinců policii (Ubyport): Anna Kowalska (pokoj 101)|host=2"});

        // A corrected passport number must reach the police too.
        TestDatabase::exec("UPDATE hoste_tab SET doklad_cislo = 'PL124' WHERE host_id = 2");
        QCOMPARE(jmena(NahlaseniCizincu::kNahlaseni(den(0))),
                 QStringList({"Anna Kowalska (opraven)", "Petra Odjetá", "Hans Müller"}));
    }

    void nahlaseniOdmitnutoPoOpraveJinouRecepci()
    {
        const std::vector<HlaseniHosta> hoste = NahlaseniCizincu::kNahlaseni(den(0));
        auto jina = TestDatabase::openAnother();
        TMojeQuery(*jina).exec("UPDATE hoste_tab SET prijmeni = 'Müllerová' WHERE host_id = 3");
        try {
            NahlaseniCizincu::oznacNahlasene(hoste);
            QFAIL("marked a guest reported whose particulars changed since the list");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Conflict);
            QVERIFY2(e.text().contains("Hans Müller (pokoj 102)"), qPrintable(e.text()));
        }
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM ubyport_tab").toInt(), 0);
    }

    void oknoZapiseSouborAOznaci()
    {
        TUbyport okno;
        okno.show();
        CONTROL(QTableWidget, tabulka, &okno, "HosteTable");
        QTRY_COMPARE(tabulka->rowCount(), 3);
        QCOMPARE(tabulka->item(0, 0)->foreground().color(), QColor(Qt::red));
        QVERIFY(tabulka->item(0, 0)->data(Qt::AccessibleTextRole).toString().contains("po termínu"));
        QVERIFY(tabulka->item(0, 5)->text().contains("po termínu"));
        QVERIFY(!tabulka->item(2, 0)->data(Qt::AccessibleTextRole).toString().contains("po termínu"));

        const QString soubor = m_dir.filePath("okno.unl");
        QVERIFY(okno.ulozSoubor(soubor));
        QFile f(soubor);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> radky = f.readAll().split('\n');
        QCOMPARE(radky.size(), 5);
        QVERIFY(radky[0].startsWith("A|2|123456789012|VITRA|Hotel Vitrana||"));
        QCOMPARE(radky[1], "U|" + den(-10).toString("dd.MM.yyyy").toLatin1() + "|" + den(3).toString("dd.MM.yyyy").toLatin1()
                               + "|Kowalska|Anna||04.03.1990|||POL|Krak\xF3w, Rynek 1|PL123||10||\r");
        QVERIFY(radky[3].startsWith("U|" + den(0).toString("dd.MM.yyyy").toLatin1() + "|"));
        QVERIFY(radky[3].contains("|M\xFCller|Hans||"));

        // Only the chosen row is marked, after the receptionist confirms.
        tabulka->clearSelection();
        tabulka->selectRow(1);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        CONTROL(QPushButton, oznacit, &okno, "OznacitButton");
        QTest::mouseClick(oznacit, Qt::LeftButton);
        QTRY_COMPARE(tabulka->rowCount(), 2);
        QCOMPARE(TestDatabase::rows("SELECT host_id FROM ubyport_tab"), QStringList{"6"});

        // A guest lacking the document: the file is refused naming them.
        TestDatabase::exec("UPDATE hoste_tab SET doklad_cislo = '' WHERE host_id = 3");
        okno.hide();
        okno.show();
        QTRY_COMPARE(tabulka->rowCount(), 2);
        QVERIFY(!okno.ulozSoubor(m_dir.filePath("odmitnuty.unl")));
        QVERIFY(!QFile::exists(m_dir.filePath("odmitnuty.unl")));
        QVERIFY(MessageBox::history().last().text.contains("Hans Müller (pokoj 102): chybí číslo cestovního dokladu"));
    }

    void prikaz_data()
    {
        QTest::addColumn<QStringList>("argumenty");
        QTest::addColumn<QString>("prikaz");   // run before, on the test's connection
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stderr");
        QTest::addColumn<int>("radku");       // of the file written; -1 none
        QTest::newRow("every unreported guest") << QStringList{"--ubyport", "FILE"} << "" << 0
                                                << "cizinců: 3, z toho po termínu: 1" << 4;
        QTest::newRow("the = form") << QStringList{"--ubyport=FILE"} << "" << 0 << "cizinců: 3" << 4;
        QTest::newRow("nobody to report, no file") << QStringList{"--ubyport", "FILE"} << "DELETE FROM hoste_tab" << 0
                                                   << "Žádný cizinec nečeká na nahlášení" << -1;
        QTest::newRow("a missing field named")
            << QStringList{"--ubyport", "FILE"} << "UPDATE hoste_tab SET jmeno = '' WHERE host_id = 6" << 1
            << "Host Odjetá (pokoj 102): chybí jméno" << -1;
        QTest::newRow("no file named") << QStringList{"--ubyport"} << "" << 2 << "Za --ubyport chybí jméno souboru" << -1;
        QTest::newRow("with another command") << QStringList{"--ubyport", "FILE", "--backup", "x"} << "" << 2
                                              << "nejde spojit" << -1;
    }
    void prikaz()
    {
        QFETCH(QStringList, argumenty);
        QFETCH(QString, prikaz);
        QFETCH(int, status);
        QFETCH(QString, stderr);
        QFETCH(int, radku);
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../vitrana");
        QVERIFY2(QFileInfo(program).isExecutable(), "vitrana is not built");
        if (!prikaz.isEmpty())
            TestDatabase::exec(prikaz);
        const Configuration c = TestDatabase::config();
        const QString konfigurace = m_dir.filePath("hotel.conf");
        QFile conf(konfigurace);
        QVERIFY(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
        conf.write(QString("[database]\nmode = mysql\nsocket = %1\nname = %2\n").arg(c.socket, c.name).toUtf8());
        conf.close();
        const QString soubor = m_dir.filePath(QString("prikaz-%1.unl").arg(QTest::currentDataTag()).replace(' ', '-'));
        argumenty.replaceInStrings("FILE", soubor);
        QProcess desk;
        desk.start(program, QStringList{"--config", konfigurace} + argumenty);
        QVERIFY(desk.waitForFinished(120000));
        const QString err = QString::fromUtf8(desk.readAllStandardError());
        QCOMPARE(desk.exitCode(), status);
        QVERIFY2(err.contains(stderr), qPrintable(err));
        QCOMPARE(QFile::exists(soubor), radku >= 0);
        if (radku >= 0) {
            QFile f(soubor);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll().count("\r\n"), radku);
        }
    }

    void soubor_data()
    {
        QTest::addColumn<Uprava>("uprava");
        QTest::addColumn<QByteArray>("radek");
        QTest::addColumn<QString>("chyba");
        QTest::newRow("the police's example")
            << Uprava([](HlaseniHosta &) {})
            << QByteArray("U|27.06.2026|30.06.2026|Nov\xE1k|Jan||12.05.1980|||SVK|Bratislava, Hlavn\xE1 1|AK4711|V123|10||\r\n")
            << QString();
        QTest::newRow("Czech, Polish and German letters in Windows-1250")
            << Uprava([](HlaseniHosta &h) {
                   h.host.prijmeni = QStringLiteral("Łukasiewicz-Größe");
                   h.host.jmeno = QStringLiteral("Żaneta Ňůřa");
                   h.host.vizum.clear();
               })
            << QByteArray("U|27.06.2026|30.06.2026|\xA3ukasiewicz-Gr\xF6\xDF" "e|\xAF" "aneta \xD2\xF9\xF8" "a||12.05.1980|||SVK|"
                          "Bratislava, Hlavn\xE1 1|AK4711||10||\r\n")
            << QString();
        QTest::newRow("one-digit days padded, spaces around values left out")
            << Uprava([](HlaseniHosta &h) {
                   h.prvniDen = QDate(2027, 1, 2);
                   h.posledniDen = QDate(2027, 1, 9);
                   h.host.datum_narozeni = QDate(2001, 2, 3);
                   h.host.jmeno = QStringLiteral("  Jan ");
                   h.host.ulice.clear();
               })
            << QByteArray("U|02.01.2027|09.01.2027|Nov\xE1k|Jan||03.02.2001|||SVK|Bratislava|AK4711|V123|10||\r\n")
            << QString();
        QTest::newRow("a separator in a name is refused, naming guest and field")
            << Uprava([](HlaseniHosta &h) { h.host.prijmeni = QStringLiteral("Novák|Horák"); }) << QByteArray()
            << QStringLiteral("Host Jan Novák|Horák (pokoj 101): příjmení obsahuje znak „|“");
        QTest::newRow("a line break in the address is refused")
            << Uprava([](HlaseniHosta &h) { h.host.ulice = QStringLiteral("Hlavná 1\r\nbyt 4"); }) << QByteArray()
            << QStringLiteral("Host Jan Novák (pokoj 101): bydliště obsahuje konec řádku");
        QTest::newRow("a letter Windows-1250 lacks is refused, not transliterated")
            << Uprava([](HlaseniHosta &h) { h.host.jmeno = QStringLiteral("Jiří 李"); }) << QByteArray()
            << QStringLiteral("Host Jiří 李 Novák (pokoj 101): jméno obsahuje znak, který nelze zapsat");
        QTest::newRow("a missing document refused")
            << Uprava([](HlaseniHosta &h) { h.host.doklad_cislo = QStringLiteral(" "); }) << QByteArray()
            << QStringLiteral("Host Jan Novák (pokoj 101): chybí číslo cestovního dokladu");
        QTest::newRow("a birth date not in the past refused")
            << Uprava([](HlaseniHosta &h) { h.host.datum_narozeni = dnes; }) << QByteArray()
            << QStringLiteral("chybí datum narození (musí být v minulosti)");
        QTest::newRow("an unknown purpose refused")
            << Uprava([](HlaseniHosta &h) { h.host.ucel = QStringLiteral("42"); }) << QByteArray()
            << QStringLiteral("chybí účel pobytu");
    }
    void soubor()
    {
        QFETCH(Uprava, uprava);
        QFETCH(QByteArray, radek);
        QFETCH(QString, chyba);
        HlaseniHosta h = novak();
        uprava(h);
        const Ubyport::Soubor s = Ubyport::soubor(hotel(), {h}, vytvoreno, dnes);
        if (chyba.isEmpty()) {
            QVERIFY2(s.ok(), qPrintable(s.chyby.join(u'\n')));
            QCOMPARE(s.data, radekHotelu + radek);
        } else {
            QVERIFY(!s.ok());
            QVERIFY(s.data.isEmpty());
            QVERIFY2(s.chyby.join(u'\n').contains(chyba), qPrintable(s.chyby.join(u'\n')));
        }
    }

    void souborBezUdajuHotelu()
    {
        UdajeOHotelu u = hotel();
        u.idub.clear();
        u.zarizeni = QStringLiteral("U Zlatého | lva");
        const Ubyport::Soubor s = Ubyport::soubor(u, {novak()}, vytvoreno, dnes);
        QVERIFY(!s.ok());
        QCOMPARE(s.chyby.size(), 2);
        QVERIFY(s.chyby[0].contains(QStringLiteral("chybí IDUB")));
        QVERIFY(s.chyby[1].contains(QStringLiteral("název zařízení obsahuje znak „|“")));
    }

    void opravenyHost()
    {
        HlaseniHosta h = novak();
        h.nahlaseno = vytvoreno;
        h.nahlasenyOtisk = Ubyport::otisk(h);
        QVERIFY(!h.opraven());
        h.posledniDen = h.posledniDen.addDays(-1);
        QVERIFY2(!h.opraven(), "an early departure is no correction");
        h.host.doklad_cislo = QStringLiteral("AK4712");
        QVERIFY(h.opraven());
    }

    void termin_data()
    {
        QTest::addColumn<QDate>("prijezd");
        QTest::addColumn<QDate>("termin");
        QTest::newRow("Monday: Thursday") << QDate(2026, 6, 22) << QDate(2026, 6, 25);
        QTest::newRow("Thursday: over the weekend to Tuesday") << QDate(2026, 6, 25) << QDate(2026, 6, 30);
        QTest::newRow("Saturday: Wednesday") << QDate(2026, 6, 27) << QDate(2026, 7, 1);
        QTest::newRow("Good Friday 2027 and Easter Monday skipped") << QDate(2027, 3, 25) << QDate(2027, 4, 1);
        QTest::newRow("Friday before Easter Monday 2027") << QDate(2027, 3, 26) << QDate(2027, 4, 1);
        QTest::newRow("Easter 2026: Good Friday 3 April, Monday 6 April") << QDate(2026, 4, 2) << QDate(2026, 4, 9);
        QTest::newRow("28 October on a Wednesday 2026") << QDate(2026, 10, 26) << QDate(2026, 10, 30);
        QTest::newRow("24 to 26 December and a weekend 2026") << QDate(2026, 12, 22) << QDate(2026, 12, 29);
        QTest::newRow("1 January 2027 a Friday") << QDate(2026, 12, 30) << QDate(2027, 1, 5);
        QTest::newRow("5 and 6 July 2027, Monday and Tuesday") << QDate(2027, 7, 2) << QDate(2027, 7, 9);
    }
    void termin()
    {
        QFETCH(QDate, prijezd);
        QFETCH(QDate, termin);
        QCOMPARE(Ubyport::termin(prijezd), termin);
        QVERIFY(!Ubyport::poTerminu(prijezd, termin));
        QVERIFY(Ubyport::poTerminu(prijezd, termin.addDays(1)));
    }

    void velikonoce_data()
    {
        QTest::addColumn<int>("rok");
        QTest::addColumn<QDate>("nedele");
        QTest::newRow("2024") << 2024 << QDate(2024, 3, 31);
        QTest::newRow("2025") << 2025 << QDate(2025, 4, 20);
        QTest::newRow("2027") << 2027 << QDate(2027, 3, 28);
        QTest::newRow("2038, the latest possible") << 2038 << QDate(2038, 4, 25);
        QTest::newRow("2285, the earliest possible") << 2285 << QDate(2285, 3, 22);
    }
    void velikonoce()
    {
        QFETCH(int, rok);
        QFETCH(QDate, nedele);
        QCOMPARE(Ubyport::velikonocniNedele(rok), nedele);
    }
};

QTEST_MAIN(TestUbyport)
#include "test_ubyport.moc"
