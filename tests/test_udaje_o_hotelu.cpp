// The hotel's particulars: the checks as typed, the dialog refusing a
// fault and storing the rest with its history, the exemption reasons, and
// a second desk's change since the load not overwritten.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TUdajeOHotelu.h"
#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "model/UdajeOHotelu.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace GuiTest;

class TestUdajeOHotelu : public QObject
{
    Q_OBJECT

    std::unique_ptr<TUdajeOHotelu> m_dialog;

private slots:
    void initTestCase() { setUpDatabase(); }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        TestDatabase::exec("DELETE FROM historie_zmen_tab");
        m_dialog = std::make_unique<TUdajeOHotelu>();
    }
    void cleanup() { m_dialog.reset(); }

    void checks_data()
    {
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("hodnota");
        QTest::addColumn<bool>("platne");
        QTest::newRow("IČO of Prague") << "ico" << "00064581" << true;
        QTest::newRow("IČO, remainder 0 gives 1") << "ico" << "25596641" << true;
        QTest::newRow("IČO, remainder 1 gives 0") << "ico" << "00000060" << true;
        QTest::newRow("IČO, a wrong check digit") << "ico" << "25596642" << false;
        QTest::newRow("IČO of seven digits") << "ico" << "2559664" << false;
        QTest::newRow("IČO with a letter") << "ico" << "2559664A" << false;
        QTest::newRow("DIČ of a company") << "dic" << "CZ25596641" << true;
        QTest::newRow("DIČ of a person") << "dic" << "CZ8001011234" << true;
        QTest::newRow("DIČ without CZ") << "dic" << "25596641" << false;
        QTest::newRow("DIČ too long") << "dic" << "CZ80010112345" << false;
        QTest::newRow("PSČ") << "psc" << "11000" << true;
        QTest::newRow("PSČ with its space") << "psc" << "110 00" << true;
        QTest::newRow("PSČ of four digits") << "psc" << "1100" << false;
        QTest::newRow("PSČ with a space elsewhere") << "psc" << "11 000" << false;
        QTest::newRow("IDUB") << "idub" << "123456789012" << true;
        QTest::newRow("IDUB of eleven digits") << "idub" << "12345678901" << false;
        QTest::newRow("IDUB of fourteen letters and digits") << "idub" << "AB345678901234" << true;
        QTest::newRow("IDUB with a blank") << "idub" << "1234 5678901" << false;
        QTest::newRow("IBAN") << "iban" << "CZ6508000000192000145399" << true;
        QTest::newRow("IBAN in groups") << "iban" << "CZ65 0800 0000 1920 0014 5399" << true;
        QTest::newRow("IBAN, a digit wrong") << "iban" << "CZ6508000000192000145398" << false;
        QTest::newRow("IBAN, two digits swapped") << "iban" << "CZ6508000000192000145939" << false;
        QTest::newRow("IBAN of another country") << "iban" << "DE89370400440532013000" << true;
        QTest::newRow("Czech IBAN too short") << "iban" << "CZ650800000019200014539" << false;
    }
    void checks()
    {
        QFETCH(QString, pole);
        QFETCH(QString, hodnota);
        QFETCH(bool, platne);
        const QHash<QString, bool (*)(const QString &)> kontroly{
            {"ico", KontrolaUdaju::platneIco}, {"dic", KontrolaUdaju::platneDic}, {"psc", KontrolaUdaju::platnaPsc},
            {"idub", KontrolaUdaju::platneIdub}, {"iban", KontrolaUdaju::platnyIban}};
        QCOMPARE(kontroly.value(pole)(hodnota), platne);
    }

    void okRefusesAFault_data()
    {
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("hodnota");
        QTest::addColumn<QString>("zprava");
        QTest::newRow("IČO") << "IcoEdit" << "25596642" << "IČO musí mít 8 číslic a platnou kontrolní číslici.";
        QTest::newRow("PSČ") << "PscEdit" << "1100" << "PSČ musí mít pět číslic.";
        QTest::newRow("IDUB") << "IdubEdit" << "12345" << "IDUB musí mít 12 až 14 písmen nebo číslic.";
        QTest::newRow("the fee above the law's 50 Kč")
            << "SazbaPoplatkuEdit" << "50,5" << "Sazba poplatku z pobytu může být nejvýš 50 Kč za osobu a noc.";
        QTest::newRow("the fee not a number") << "SazbaPoplatkuEdit" << "padesát" << "Sazba poplatku z pobytu není číslo.";
        QTest::newRow("IBAN") << "BankovniUcetEdit" << "CZ6508000000192000145398"
                              << "Bankovní účet není platný IBAN (nesedí jeho kontrolní číslice).";
    }
    void okRefusesAFault()
    {
        QFETCH(QString, pole);
        QFETCH(QString, hodnota);
        QFETCH(QString, zprava);
        inModal<TUdajeOHotelu>(*m_dialog, [&](TUdajeOHotelu *d) {
            type(control<QLineEdit>(d, "ZarizeniEdit"), "Penzion U Lípy");
            auto *edit = control<QLineEdit>(d, pole);
            type(edit, hodnota);
            QCOMPARE(control<QLabel>(d, "ChybaLabel")->text(), zprava);   // as typed
            QCOMPARE(edit->accessibleDescription(), zprava);
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(d->isVisible());
            QCOMPARE(messages(), QStringList{zprava + "|Chyba"});
            QCOMPARE(d->focusWidget(), edit);
        });
        QCOMPARE(TestDatabase::value("SELECT COUNT(*) FROM hotel_udaje_tab").toInt(), 0);
    }

    void okStoresWithHistory()
    {
        TestDatabase::exec("INSERT INTO osvobozeni_tab VALUES (1, 'Zdravotní péče'), (2, 'Hasiči')");
        inModal<TUdajeOHotelu>(*m_dialog, [&](TUdajeOHotelu *d) {
            type(control<QLineEdit>(d, "IcoEdit"), "25596641");
            type(control<QLineEdit>(d, "DicEdit"), "cz25596641");
            control<QCheckBox>(d, "PlatceDphCheckBox")->setChecked(true);
            type(control<QLineEdit>(d, "PscEdit"), "110 00");
            type(control<QLineEdit>(d, "ZkratkaEdit"), "ULIPY1");   // cut at five
            type(control<QLineEdit>(d, "SazbaPoplatkuEdit"), "21,50");
            type(control<QLineEdit>(d, "BankovniUcetEdit"), "cz65 0800 0000 1920 0014 5399");
            auto *seznam = control<QListWidget>(d, "OsvobozeniListBox");
            clickLine(seznam, 1);
            click(control<QPushButton>(d, "OdstranOsvobozeniButton"));
            type(control<QLineEdit>(d, "NoveOsvobozeniEdit"), "Hosté do 18 let");
            pressEnter(control<QLineEdit>(d, "NoveOsvobozeniEdit"));
            QCOMPARE(lines(seznam), (QStringList{"Zdravotní péče", "Hosté do 18 let"}));
            QCOMPARE(control<QLabel>(d, "ChybaLabel")->text(), QString());
            click(control<QPushButton>(d, "OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(messages(), QStringList());
        QCOMPARE(TestDatabase::rows("SELECT ico, dic, platce_dph, psc, zkratka, poplatek_sazba, bankovni_ucet "
                                    "FROM hotel_udaje_tab"),
                 QStringList{"25596641|CZ25596641|1|11000|ULIPY|21.5|CZ65 0800 0000 1920 0014 5399"});
        // The removed reason's id is not given to the new one.
        QCOMPARE(TestDatabase::rows("SELECT * FROM osvobozeni_tab ORDER BY osvobozeni_id"),
                 (QStringList{"1|Zdravotní péče", "3|Hosté do 18 let"}));
        QCOMPARE(TestDatabase::rows("SELECT popis FROM historie_zmen_tab"),
                 QStringList{"Údaje o hotelu uloženy: změněny IČO, DIČ, PSČ, zkratka, bankovní účet, plátce DPH, "
                             "sazba poplatku; důvody osvobození: přidány Hosté do 18 let; smazány Hasiči"});
    }

    // Another desk stored the particulars after this one loaded them: refused, nothing overwritten.
    void anotherDeskChangedThemMeanwhile()
    {
        UdajeHotelu tady;
        auto other = TestDatabase::openAnother();
        other->makeCurrent();
        {
            UdajeHotelu tam;
            tam.udaje().kontakt = "recepce@ulipy.cz";
            tam.Uloz();
        }
        TestDatabase::db().makeCurrent();
        tady.udaje().zarizeni = "Penzion";
        try {
            tady.Uloz();
            QFAIL("stored over another desk's change");
        } catch (const DatabaseError &e) {
            QCOMPARE(e.kind(), DatabaseError::Kind::Conflict);
        }
        QCOMPARE(TestDatabase::rows("SELECT zarizeni, kontakt FROM hotel_udaje_tab"), QStringList{"|recepce@ulipy.cz"});
        tady.obnov();
        QCOMPARE(tady.udaje().kontakt, QStringLiteral("recepce@ulipy.cz"));
        tady.udaje().zarizeni = "Penzion";
        tady.Uloz();
        QCOMPARE(TestDatabase::rows("SELECT zarizeni, kontakt FROM hotel_udaje_tab"),
                 QStringList{"Penzion|recepce@ulipy.cz"});
    }
};

QTEST_MAIN(TestUdajeOHotelu)
#include "test_udaje_o_hotelu.moc"
