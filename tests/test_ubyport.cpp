// The report of foreign guests: the file's bytes, the deadline, and (against
// the test server) the window and the terminal command that write it.

#include "model/Ubyport.h"

#include <QtTest>

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

private slots:
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
