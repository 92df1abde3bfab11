// Clients, client types with their attribute lists, the clients' lines as
// the lists show them (shared between openings, searched by their keys) and
// the attribute label file.

#include "TestDatabase.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"

#include <QScopeGuard>
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

    void clientLines_data()
    {
        // Clients "(klient_id, typ_klienta_id, jmeno, telefon, email), ..." and their lines by id.
        QTest::addColumn<QString>("clients");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("shared names: type and contact, then the number")
            << "(4, 3, 'Jan Novák', ' 777 1 ', ''), (2, 1, 'Eva', '2', ''), (9, 1, 'Jan Novák', '', 'jan@example.cz'), "
               "(11, 1, 'Jan Novák', '', ''), (12, 1, 'Jan Novák', '', '')"
            << QStringList{"4=Jan Novák (Firma, 777 1)", "2=Eva", "9=Jan Novák (Host z webu, jan@example.cz)",
                           "11=Jan Novák (Host z webu) [klient č. 11]", "12=Jan Novák (Host z webu) [klient č. 12]"};
        QTest::newRow("a type no longer there: the contact alone")
            << "(1, 7, 'Ana', '', ' ana@example.cz '), (2, 7, 'Ana', '', 'eva@example.cz')"
            << QStringList{"1=Ana (ana@example.cz)", "2=Ana (eva@example.cz)"};
        QTest::newRow("nothing to tell them apart: the number alone")
            << "(1, 7, 'Petr', ' ', ''), (2, 7, 'Petr', '', '')"
            << QStringList{"1=Petr [klient č. 1]", "2=Petr [klient č. 2]"};
        QTest::newRow("a name that reads as another client's line")
            << "(1, 3, 'Jan', '', ''), (2, 3, 'Jan', '', ''), (3, 1, 'Jan (Firma)', '', '')"
            << QStringList{"1=Jan (Firma) [klient č. 1]", "2=Jan (Firma) [klient č. 2]", "3=Jan (Firma) [klient č. 3]"};
        QTest::newRow("names differing in case only are not shared")
            << "(1, 1, 'jan novák', '1', ''), (2, 1, 'Jan Novák', '2', '')"
            << QStringList{"1=jan novák", "2=Jan Novák"};
        QTest::newRow("client 0 is a client") << "(0, 1, 'Host z webu', '', '')" << QStringList{"0=Host z webu"};
        QTest::newRow("no clients") << "" << QStringList();
    }
    void clientLines()
    {
        QFETCH(QString, clients);
        QFETCH(QStringList, lines);
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host z webu'), (3, 'Firma')");
        if (!clients.isEmpty()) {
            TestDatabase::exec("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_AUTO_VALUE_ON_ZERO')");
            TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email) VALUES " + clients);
            TestDatabase::exec("SET SESSION sql_mode = REPLACE(@@sql_mode, ',NO_AUTO_VALUE_ON_ZERO', '')");
        }
        const auto seznam = Klienti::aktualni();
        QStringList listed;
        for (int row = 0; row < seznam->pocet(); ++row)
            listed << QString::number(seznam->idNaRadku(row)) + u'=' + seznam->radek(row);
        listed.sort();
        lines.sort();
        QCOMPARE(listed, lines);
        for (const int outside : {-1, int(lines.size())}) {
            QCOMPARE(seznam->idNaRadku(outside), -1);
            QCOMPARE(seznam->radek(outside), QString());
        }
    }

    void searchingLines_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("found");   // client ids in list order
        QTest::newRow("part of a name") << "nov" << QList<int>{1, 2, 5};
        QTest::newRow("case and diacritics") << "NOVÁK" << QList<int>{1, 2, 5};
        QTest::newRow("a letter with its mark typed") << "vaněk" << QList<int>{3};
        QTest::newRow("a space typed last: not Jana") << "jan " << QList<int>{1, 5};
        QTest::newRow("spaces collapse") << "  milan   VANEK" << QList<int>{3};
        QTest::newRow("the number added to a line") << "č. 6" << QList<int>{6};
        QTest::newRow("never across two lines") << "novakmilan" << QList<int>();
        QTest::newRow("nothing") << "xyz" << QList<int>();
        QTest::newRow("nothing typed: every line") << "" << QList<int>{1, 2, 3, 4, 5, 6, 7};
    }
    void searchingLines()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, found);
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host z webu')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan Novák'), "
                           "(2, 1, 'Jana Nováková'), (3, 1, 'Milan Vaněk'), (4, 1, 'Zdeňka Kovářová'), "
                           "(5, 1, 'JAN  NOVAK'), (6, 1, 'Eva'), (7, 1, 'Eva')");
        const auto seznam = Klienti::aktualni();
        QList<int> ids;
        for (const int row : seznam->radkyObsahujici(searchKey(typed)))
            ids << seznam->idNaRadku(row);
        QCOMPARE(ids, found);
    }

    void searchingFoldsEachLineAsItsKey_data()
    {
        // A search folds the lines as it goes: it must find what searchKey of the line contains.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("white space of every kind") << QString::fromUtf8(" Jan\u00a0\tNov\u00e1k \u0085")
                                                   << QStringList{"jan novak ", " novak", "n nov", "k  "};
        QTest::newRow("letters that fold to several") << QString::fromUtf8("\u01c4ura \u00bd \u0130lker \u00dfe \u0149")
                                                       << QStringList{"dzura", "1\u20442", "ilker", "\u00dfe", "\u02bcn"};
        QTest::newRow("a mark apart, past Latin") << QString::fromUtf8("Nova\u0301k \u03a9mega")
                                                  << QStringList{"novak", "\u03c9mega", "k \u03c9"};
        QTest::newRow("Latin past the table's end") << QString::fromUtf8("\u0250\u1e9e Novák") << QStringList{"novak", "\u0250"};
    }
    void searchingFoldsEachLineAsItsKey()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, typed);
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host z webu')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, '" + name
                           + "'), (2, 1, 'Eva')");
        const auto seznam = Klienti::aktualni();
        for (const QString &t : typed) {
            const QString key = searchKey(t);
            QList<int> expected;
            for (int row = 0; row < seznam->pocet(); ++row)
                if (searchKey(seznam->radek(row)).contains(key))
                    expected << row;
            QVERIFY2(!expected.isEmpty(), qPrintable(t));
            QCOMPARE(seznam->radkyObsahujici(key), expected);
        }
    }

    void latinKeysAsTheWholeTextDecomposed()
    {
        // Latin letters take a shortcut; a Greek letter sends the same text the long way.
        QString latin;
        for (char16_t c = 0x20; c < 0x250; ++c)
            latin += QChar(c);
        QCOMPARE(searchKey(latin) + u'ω', searchKey(latin + u'Ω'));
    }

    void theSharedListFollowsOtherDesks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("readAgain");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("nothing changed") << "" << false << QStringList{"Eva", "Jan"};
        QTest::newRow("a client added at another desk") << "add" << true << QStringList{"Eva", "Jan", "Petr"};
        QTest::newRow("a client deleted at another desk") << "delete 2" << true << QStringList{"Jan"};
        QTest::newRow("a client with reservations kept") << "delete 1" << false << QStringList{"Eva", "Jan"};
        QTest::newRow("a client gone already: the list was stale") << "delete 3" << true << QStringList{"Eva", "Jan"};
        QTest::newRow("a writer that does not bump the stamp")
            << "INSERT INTO klienti_tab (klient_id, jmeno) VALUES (8, 'Olga')" << true << QStringList{"Eva", "Jan", "Olga"};
    }
    void theSharedListFollowsOtherDesks()
    {
        QFETCH(QString, change);
        QFETCH(bool, readAgain);
        QFETCH(QStringList, names);
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (1, 'Host z webu')");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (1, 1, 'Jan'), (2, 1, 'Eva')");
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES (1, 1, '2024-04-01', '2024-05-01', '2024-05-03', 1, 900)");
        const auto first = Klienti::aktualni();
        QVERIFY(Klienti::aktualni() == first);   // shared, not read again
        {
            // The other desk's connection is current while it saves.
            auto other = TestDatabase::openAnother();
            other->makeCurrent();
            const auto back = qScopeGuard([] { TestDatabase::db().makeCurrent(); });
            if (change == "add")
                Klient::PridejKlienta({{"jmeno", "Petr"}}, 1);
            else if (change.startsWith("delete "))
                Klient::SmazKlienta(change.mid(7).toInt());
            else if (!change.isEmpty())
                TMojeQuery(*other).exec(change);
        }
        const auto second = Klienti::aktualni();
        QCOMPARE(second != first, readAgain);
        QStringList listed;
        for (int row = 0; row < second->pocet(); ++row)
            listed << second->radek(row);
        listed.sort();
        QCOMPARE(listed, names);
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

        // the built-in labels from a folder without the file; a hotel's own file there wins
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const PopisyPolozekKlienta builtIn;
        writeFile(dir, "text/popis_polozek_klienta.txt", "poznamka\tVzkaz\n");
        const PopisyPolozekKlienta own;
        QDir::setCurrent(before);
        QCOMPARE(builtIn.NajdiPopis("mesto"), QStringLiteral("Město"));
        QCOMPARE(own.NajdiPopis("poznamka"), QStringLiteral("Vzkaz"));
        QCOMPARE(own.NajdiPopis("mesto"), QStringLiteral("mesto"));
    }
};

QTEST_GUILESS_MAIN(TestKlienti)
#include "test_klienti.moc"
