// Clients, client types with their attribute lists, the web-client insert
// and the attribute label file.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList walk(TypKlienta &t)
{
    QStringList columns;
    if (t.PrvniPolozka())
        do
            columns << t.AktualniPolozka();
        while (t.DalsiPolozka());
    return columns;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QString &text)
{
    QFile f(dir.filePath(name));
    QDir().mkpath(QFileInfo(f).path());
    f.open(QIODevice::WriteOnly);
    QStringEncoder cp1250("windows-1250");
    f.write(cp1250.encode(text));
    return f.fileName();
}
} // namespace

class TestKlienti : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestDatabase::setUp();
        // The table defines the attributes: a column of its own, NULLs allowed.
        TestDatabase::exec("ALTER TABLE klient_zobrazit_tab MODIFY telefon INT NULL, ADD COLUMN ico INT NULL");
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init() { TestDatabase::clearTables(); }

    void attributes_data()
    {
        QTest::addColumn<QString>("row");   // jmeno, telefon, email, stat, adresa, mesto, poznamka, ico
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("by value") << "1, 3, 2, 0, 0, 0, 0, 0" << QStringList{"jmeno", "email", "telefon"};
        QTest::newRow("equal values by name") << "0, 1, 1, 0, 0, 0, 0, 0" << QStringList{"email", "telefon"};
        QTest::newRow("negative values count") << "2, 0, 0, 0, -5, 0, 0, 0" << QStringList{"adresa", "jmeno"};
        QTest::newRow("the table's own column") << "2, 0, 0, 0, 0, 0, 0, 1" << QStringList{"ico", "jmeno"};
        QTest::newRow("NULL is 0") << "1, NULL, 0, 0, 0, 0, 0, NULL" << QStringList{"jmeno"};
        QTest::newRow("all zeros") << "0, 0, 0, 0, 0, 0, 0, 0" << QStringList();
        QTest::newRow("no row") << "" << QStringList();
    }
    void attributes()
    {
        QFETCH(QString, row);
        QFETCH(QStringList, columns);
        if (!row.isEmpty())
            TestDatabase::exec("INSERT INTO klient_zobrazit_tab VALUES (2, " + row + ")");
        TestDatabase::exec("INSERT INTO klient_zobrazit_tab VALUES (3, 9, 9, 9, 9, 9, 9, 9, 9)");
        TypKlienta t(2, "Individuální host");
        QVERIFY(!t.DalsiPolozka());   // no cursor yet
        QCOMPARE(walk(t), columns);
        QCOMPARE(t.PrvniPolozka(), !columns.isEmpty());
    }

    void clientTypes()
    {
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (3, 'Firma'), (1, 'Host z webu'), (7, 'Firma')");
        TestDatabase::exec("INSERT INTO klient_zobrazit_tab VALUES (1, 1, 2, 0, 0, 0, 0, 0, 0)");
        TypyKlientu typy;
        QStringList names{"stale"};
        typy.Vypis(names);
        QCOMPARE(names.size(), 3);
        QCOMPARE(typy.NajdiId("Firma"), 3);
        QCOMPARE(typy.NajdiId("firma"), -1);
        QCOMPARE(typy.NajdiId("Host z webu"), 1);
        for (const TypKlienta &t : typy.prvky())
            QCOMPARE(t.polozky().size(), t.typ_klienta_id == 1 ? 2 : 0);
    }

    void clients()
    {
        // Clients who share a name are told apart in the list, and each line gives back its own client.
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host z webu'), (3, 'Firma')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email) VALUES "
                           "(4, 3, 'Jan Novák', ' 777 1 ', ''), (2, 1, 'Eva', '2', ''), "
                           "(9, 1, 'Jan Novák', '', 'jan@example.cz'), (11, 1, 'Jan Novák', '', ''), "
                           "(12, 1, 'Jan Novák', '', '')");
        Klienti k;
        const QStringList names = vypis(k);
        QCOMPARE(names.size(), 5);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 5);
        const QHash<int, QString> expected{{4, "Jan Novák (Firma, 777 1)"},
                                           {2, "Eva"},
                                           {9, "Jan Novák (Host z webu, jan@example.cz)"},
                                           {11, "Jan Novák (Host z webu) [klient č. 11]"},
                                           {12, "Jan Novák (Host z webu) [klient č. 12]"}};
        for (int row = 0; row < names.size(); ++row)
            QCOMPARE(names[row], expected.value(k.IdNaRadku(row)));
        QCOMPARE(k.IdNaRadku(5), -1);
        QCOMPARE(k.IdNaRadku(-1), -1);
        QCOMPARE(k.NajdiId("Nikdo"), -1);
        // "not found" is not the first web guest, whose id is 0
        TestDatabase::exec("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_AUTO_VALUE_ON_ZERO')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, jmeno) VALUES (0, 'Host z webu')");
        TestDatabase::exec("SET SESSION sql_mode = REPLACE(@@sql_mode, 'NO_AUTO_VALUE_ON_ZERO', '')");
        QCOMPARE(Klienti().NajdiId("Host z webu"), 0);
    }

    void labelFile()
    {
        QTemporaryDir dir;
        const QString crlf = writeFile(dir, "crlf.txt", "jmeno\tJméno a příjmení\r\nstat\tStát\r\n");
        PopisyPolozekKlienta p(crlf);
        QCOMPARE(p.NajdiPopis("jmeno"), QStringLiteral("Jméno a příjmení"));
        QCOMPARE(p.NajdiPopis("stat"), QStringLiteral("Stát"));
        QCOMPARE(p.NajdiPopis("mesto"), QStringLiteral("mesto"));
        QCOMPARE(p.prvky().size(), 2);

        // LF lines, a TAB inside a label, a blank line, no final line end
        const QString lf = writeFile(dir, "lf.txt", "email\tE-mail\tpracovní\n\ntelefon\tTelefon\njmeno\tPrvní\njmeno\tDruhé");
        PopisyPolozekKlienta q(lf);
        QCOMPARE(q.NajdiPopis("email"), QStringLiteral("E-mail\tpracovní"));
        QCOMPARE(q.NajdiPopis("telefon"), QStringLiteral("telefon"));   // the blank line became part of its name
        QCOMPARE(q.NajdiPopis("jmeno"), QStringLiteral("První"));
        QCOMPARE(q.prvky().size(), 4);

        QVERIFY(PopisyPolozekKlienta(dir.filePath("chybi.txt")).prvky().isEmpty());

        // the desk's own file, relative to the working directory
        const QString before = QDir::currentPath();
        writeFile(dir, "text/popis_polozek_klienta.txt", "poznamka\tPoznámka\n");
        QDir::setCurrent(dir.path());
        const PopisyPolozekKlienta own;
        QDir::setCurrent(before);
        QCOMPARE(own.NajdiPopis("poznamka"), QStringLiteral("Poznámka"));
    }
};

QTEST_GUILESS_MAIN(TestKlienti)
#include "test_klienti.moc"
