// The foreigners' book against the test server: its rows against SQL
// written here, incomplete entries on top, a correction after check-in
// keeping the earlier particulars, a checked-in guest never removed, and
// the PDF's pages.

#include "RecepceTestSupport.h"
#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TDomovniKniha.h"
#include "model/DomovniKniha.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using RecepceTest::sql;

namespace {
/** A stay of room 1 from od (days from today) for noci nights; checked in on od unless prijezd is false. */
void pobyt(int cislo, int od, int noci, bool prijezd = true)
{
    TestDatabase::exec(QString("INSERT INTO objednavky_pokoje_tab VALUES (1, %1, '%2', '%3', '%4', %1, 1000)")
                           .arg(cislo).arg(sql(od - 30), sql(od), sql(od + noci - 1)));
    if (prijezd)
        TestDatabase::exec(QString("INSERT INTO prijezdy_tab VALUES (%1, %1, '%2', '%2 14:%3:00', NULL)")
                               .arg(cislo).arg(sql(od)).arg(cislo % 60, 2, 10, QChar('0')));
}

void host(int id, int cislo, int od, const QString &prijmeni, const QString &zeme, const QString &doklad = "P123")
{
    TestDatabase::exec(QString("INSERT INTO hoste_tab (host_id, cislo_objednavky, pokoj_id, od_kdy, poradi, jmeno, "
                               "prijmeni, datum_narozeni, statni_prislusnost, ulice, mesto, stat, doklad_druh, "
                               "doklad_cislo, ucel) VALUES (%1, %2, %2, '%3', %1, 'Anna', '%4', '1990-03-04', '%5', "
                               "'Rynek 1', 'Kraków', '%5', 'cestovní pas', '%6', '10')")
                           .arg(id).arg(cislo).arg(sql(od), prijmeni, zeme, doklad));
}

KlicPobytu klic(int cislo, int od)
{
    return {cislo, cislo, RecepceTest::den(od)};
}

QStringList radky(const std::vector<ZapisDomovniKnihy> &zapisy)
{
    QStringList out;
    for (const ZapisDomovniKnihy &z : zapisy)
        out << QStringList{z.host.prijmeni, z.prvniDen.toString(Qt::ISODate), z.posledniDen.toString(Qt::ISODate),
                           QString::number(z.delka()), z.chybi.join(',')}
                   .join('|');
    return out;
}

int strankyPdf(const QByteArray &pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page/") + pdf.count("/Type /Page ")
               + pdf.count("/Type /Page>"));
}
} // namespace

class TestDomovniKniha : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RecepceTest::setUp(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("INSERT INTO hotel_udaje_tab (id, zarizeni, ulice, cislo_domovni, obec, psc) "
                           "VALUES (1, 'Hotel Vitrana', 'Radniční', '29', 'Třeboň', '37901')");
        TestDatabase::exec("INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1), (3, '103', 1), "
                           "(4, '104', 1), (5, '105', 1)");
        // A Czech guest, a Pole and a German lacking the passport's number, a Slovak of a stay
        // not checked in, an Austrian who arrived long ago.
        pobyt(1, -3, 2);
        host(1, 1, -3, "Nováková", "CZE");
        host(2, 1, -3, "Kowalska", "POL");
        pobyt(2, -1, 3);
        host(3, 2, -1, "Müller", "DEU", "");
        pobyt(3, 0, 1, false);
        host(4, 3, 0, "Horváthová", "SVK");
        pobyt(4, -40, 5);
        host(5, 4, -40, "Huber", "AUT");
    }

    void rowsAgainstTheTables_data()
    {
        QTest::addColumn<int>("od");
        QTest::addColumn<int>("doKdy");
        QTest::addColumn<QStringList>("ocekavane");   // surnames, the incomplete first
        QTest::newRow("this week") << -7 << 0 << QStringList{"Müller", "Kowalska"};
        QTest::newRow("one day") << -3 << -3 << QStringList{"Kowalska"};
        QTest::newRow("long ago too") << -60 << 0 << QStringList{"Müller", "Huber", "Kowalska"};
        QTest::newRow("nobody") << -20 << -10 << QStringList();
    }
    void rowsAgainstTheTables()
    {
        QFETCH(int, od);
        QFETCH(int, doKdy);
        QFETCH(QStringList, ocekavane);
        TMojeQuery q;
        const std::vector<ZapisDomovniKnihy> zapisy =
            DomovniKniha::nacti(q, RecepceTest::den(od), RecepceTest::den(doKdy));
        const QStringList sql = TestDatabase::rows(
            QString("SELECT h.prijmeni, o.od_kdy, o.do_kdy + INTERVAL 1 DAY, DATEDIFF(o.do_kdy, o.od_kdy) + 1, "
                    "IF(h.doklad_cislo = '', 'číslo cestovního dokladu', '') FROM hoste_tab h "
                    "JOIN prijezdy_tab a ON a.cislo_objednavky = h.cislo_objednavky AND a.pokoj_id = h.pokoj_id "
                    "AND a.od_kdy = h.od_kdy JOIN objednavky_pokoje_tab o ON o.cislo_objednavky = h.cislo_objednavky "
                    "AND o.pokoj_id = h.pokoj_id AND o.od_kdy = h.od_kdy WHERE h.statni_prislusnost <> 'CZE' "
                    "AND DATE(a.prijezd) BETWEEN '%1' AND '%2' ORDER BY h.doklad_cislo = '' DESC, a.prijezd")
                .arg(RecepceTest::sql(od), RecepceTest::sql(doKdy)));
        QCOMPARE(radky(zapisy), sql);
        QStringList prijmeni;
        for (const ZapisDomovniKnihy &z : zapisy)
            prijmeni << z.host.prijmeni;
        QCOMPARE(prijmeni, ocekavane);
    }

    void entriesAreNeverLost_data()
    {
        QTest::addColumn<int>("cislo");
        QTest::addColumn<bool>("odebrat");   // remove the guest, or correct the passport's number
        QTest::addColumn<QString>("odmitnuto");
        QTest::addColumn<QStringList>("opravy");   // the earlier values kept
        QTest::newRow("corrected after check-in") << 2 << false << "" << QStringList{"3||DEU"};
        QTest::newRow("corrected before check-in") << 3 << false << "" << QStringList();
        QTest::newRow("removed after check-in") << 2 << true << "nelze odebrat" << QStringList();
        QTest::newRow("removed before check-in") << 3 << true << "" << QStringList();
    }
    void entriesAreNeverLost()
    {
        QFETCH(int, cislo);
        QFETCH(bool, odebrat);
        QFETCH(QString, odmitnuto);
        QFETCH(QStringList, opravy);
        const KlicPobytu k = klic(cislo, cislo == 2 ? -1 : 0);
        const std::vector<Host> nacteni = Hoste::nacti(k);
        QCOMPARE(int(nacteni.size()), 1);
        std::vector<Host> hoste = nacteni;
        if (odebrat)
            hoste.clear();
        else
            hoste[0].doklad_cislo = "X999";
        QString chyba;
        try {
            TestDatabase::db().save({}, [&](TMojeQuery &q) { Hoste::uloz(q, k, k.od_kdy, nacteni, hoste); });
        } catch (const DatabaseError &e) {
            chyba = e.text();
        }
        QCOMPARE(chyba.contains(odmitnuto) && chyba.isEmpty() == odmitnuto.isEmpty(), true);
        QCOMPARE(TestDatabase::rows("SELECT host_id, doklad_cislo, statni_prislusnost FROM hoste_opravy_tab"),
                 opravy);
        const int zbyva = TestDatabase::value(QString("SELECT COUNT(*) FROM hoste_tab WHERE host_id = %1")
                                                  .arg(nacteni[0].host_id)).toInt();
        QCOMPARE(zbyva, odebrat && odmitnuto.isEmpty() ? 0 : 1);
        if (!opravy.isEmpty()) {
            TMojeQuery q;
            const auto zapisy = DomovniKniha::nacti(q, RecepceTest::den(-7), RecepceTest::den(0));
            const auto it = std::find_if(zapisy.begin(), zapisy.end(),
                                         [](const ZapisDomovniKnihy &z) { return z.host.host_id == 3; });
            QVERIFY(it != zapisy.end());
            QVERIFY(it->opraveno.isValid());
            QVERIFY(!it->opravil.isEmpty());
            QVERIFY(DomovniKniha::bunky(*it).last().startsWith("opraveno "));
        }
    }

    void pdfOnLandscapeA4_data()
    {
        QTest::addColumn<int>("hostu");
        QTest::addColumn<bool>("viceStran");
        QTest::newRow("a few") << 0 << false;
        QTest::newRow("many") << 80 << true;
    }
    void pdfOnLandscapeA4()
    {
        QFETCH(int, hostu);
        QFETCH(bool, viceStran);
        for (int i = 0; i < hostu; ++i)
            host(100 + i, 2, -1, QString("Hostová%1").arg(i), "POL");
        QTemporaryDir dir;
        const QString soubor = dir.filePath("kniha.pdf");
        TDomovniKniha okno;
        okno.show();
        QTRY_VERIFY(okno.isVisible());
        const int stran = okno.ulozPdf(soubor);
        okno.close();
        QFile f(soubor);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QCOMPARE(strankyPdf(pdf), stran);
        QCOMPARE(stran > 1, viceStran);
        QVERIFY(stran >= 1);
        // Landscape: the page is wider than tall.
        const QRegularExpressionMatch m =
            QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(QString::fromLatin1(pdf));
        QVERIFY(m.hasMatch());
        QVERIFY(m.captured(1).toDouble() > m.captured(2).toDouble());
    }
};

QTEST_MAIN(TestDomovniKniha)
#include "test_domovni_kniha.moc"
