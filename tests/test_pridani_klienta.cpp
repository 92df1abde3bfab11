// The new-client dialog, offscreen against the real server: the fields of
// the chosen client type with their labels and layout, what "Přidej" stores
// (texts exactly as typed), no client without a type, a failed insert, and
// the whole dialog by keyboard.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "app/VitranaApplication.h"
#include "db/SqlFormat.h"
#include "db/SqlKlienti.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TPridaniKlienta.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace GuiTest;

using Polozky = QList<QPair<QString, QString>>;

namespace {
void writeLabels(const QString &text)
{
    QDir().mkpath("text");
    QFile f("text/popis_polozek_klienta.txt");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QStringEncoder("windows-1250").encode(text));
}

/** The new clients, every attribute column, in id order. */
QStringList storedClients()
{
    return TestDatabase::rows("SELECT typ_klienta_id, jmeno, telefon, email, stat, adresa, mesto, poznamka "
                              "FROM klienti_tab WHERE klient_id <> 7 ORDER BY klient_id");
}

/** The attribute edit boxes, top to bottom. */
QList<QLineEdit *> fields(QDialog *d)
{
    QList<QLineEdit *> out = d->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly);
    std::sort(out.begin(), out.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
    return out;
}

QStringList names(const QList<QLineEdit *> &edits)
{
    QStringList out;
    for (QLineEdit *e : edits)
        out << e->objectName();
    return out;
}

QLabel *labelOf(QDialog *d, QLineEdit *edit)
{
    for (QLabel *l : d->findChildren<QLabel *>())
        if (l->objectName() != "Label1" && l->y() == edit->y())
            return l;
    return nullptr;
}
} // namespace

class TestPridaniKlienta : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_cwd;
    std::unique_ptr<TPridaniKlienta> m_dialog;

    void inDialog(const std::function<void(TPridaniKlienta *, QComboBox *)> &act)
    {
        inModal<TPridaniKlienta>(*m_dialog, [&](TPridaniKlienta *d) {
            CONTROL(QComboBox, typy, d, "TypKlientaComboBox");
            act(d, typy);
        });
    }

private slots:
    void initTestCase()
    {
        setUpDatabase();
        // The desk reads its label file relative to the working directory.
        m_cwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase()
    {
        QDir::setCurrent(m_cwd);
        TestDatabase::tearDown();
    }
    void init()
    {
        startClean();
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (2, 'Individuální host'), (3, 'Bez údajů'), (5, 'Firma')");
        // columns: jmeno, telefon, email, stat, adresa, mesto, poznamka
        TestDatabase::exec("INSERT INTO klient_zobrazit_tab VALUES (2, 1, 3, 2, 0, 0, 0, 0), "
                           "(3, 0, 0, 0, 0, 0, 0, 0), (5, 2, 0, 0, 0, 1, 0, 0)");
        TestDatabase::exec("INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno) VALUES (7, 1, 'Stálý host')");
        writeLabels("telefon\tTelefonní číslo\n");
        m_dialog = std::make_unique<TPridaniKlienta>();
        writeLabels("jmeno\tJméno\ntelefon\tTelefon\n");   // read at creation only
    }
    void cleanup() { m_dialog.reset(); }

    void storesTheAttributesOfTheChosenType_data()
    {
        QTest::addColumn<int>("chosen");   // -1: none chosen
        QTest::addColumn<bool>("noBackslashEscapes");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("stored");
        const QStringList three{"jmenoEdit", "emailEdit", "telefonEdit"};
        const QStringList labels{"jmeno", "email", "Telefonní číslo"};
        QTest::newRow("three attributes in the table's order")
            << 0 << false << QStringList{"Jan Novák", "jan@example.cz", "+420 603 123 456"} << three << labels
            << "2|Jan Novák|+420 603 123 456|jan@example.cz||||";
        QTest::newRow("quotes and backslashes as typed")
            << 0 << false << QStringList{R"(Hotel "U Lva" \ O'Brien)", R"(a\"b)", R"(C:\temp\n')"} << three << labels
            << R"(2|Hotel "U Lva" \ O'Brien|C:\temp\n'|a\"b||||)";
        QTest::newRow("the same under NO_BACKSLASH_ESCAPES")
            << 0 << true << QStringList{R"(Hotel "U Lva" \ O'Brien)", R"(a\"b)", R"(C:\temp\n')"} << three << labels
            << R"(2|Hotel "U Lva" \ O'Brien|C:\temp\n'|a\"b||||)";
        QTest::newRow("no attributes") << 1 << false << QStringList() << QStringList() << QStringList()
                                       << "3|||||||";
        QTest::newRow("no type chosen: the first type, no attributes")
            << -1 << false << QStringList() << QStringList() << QStringList() << "2|||||||";
    }
    void storesTheAttributesOfTheChosenType()
    {
        QFETCH(int, chosen);
        QFETCH(bool, noBackslashEscapes);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, labels);
        QFETCH(QString, stored);
        if (noBackslashEscapes) {
            TestDatabase::exec("SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')");
            TestDatabase::db().readSqlMode();
        }
        inDialog([&](TPridaniKlienta *d, QComboBox *typy) {
            CONTROL(QPushButton, pridej, d, "PridejButton");
            QCOMPARE(d->windowTitle(), QStringLiteral("Přidání nového klienta"));
            QCOMPARE(lines(typy), (QStringList{"Individuální host", "Bez údajů", "Firma"}));
            if (chosen >= 0)
                chooseLine(typy, chosen);
            else
                typy->hidePopup();
            const QList<QLineEdit *> edits = ::fields(d);
            QCOMPARE(names(edits), fields);
            for (int i = 0; i < edits.size(); ++i) {
                QLabel *label = labelOf(d, edits[i]);
                QVERIFY(label);
                QCOMPARE(label->text(), labels[i]);
                type(edits[i], typed[i]);
            }
            click(pridej);
            QVERIFY(!d->isVisible());
        });
        if (noBackslashEscapes) {
            TestDatabase::exec("SET SESSION sql_mode = REPLACE(@@SESSION.sql_mode, 'NO_BACKSLASH_ESCAPES', '')");
            TestDatabase::db().readSqlMode();
        }
        QCOMPARE(messages(), QStringList());
        QCOMPARE(storedClients(), QStringList{stored});   // beside client 7: the database gave the id
    }

    void fieldsAndButtonsFollowTheType()
    {
        int atTheTop = 0;
        inDialog([&](TPridaniKlienta *d, QComboBox *typy) {
            CONTROL(QPushButton, pridej, d, "PridejButton");
            CONTROL(QPushButton, storno, d, "StornoButton");
            // Přidej and Storno side by side, below what is above them.
            const auto buttonsBelow = [&](QWidget *above) {
                QVERIFY(pridej->y() > above->geometry().bottom());
                QCOMPARE(storno->y(), pridej->y());
                QVERIFY(storno->x() > pridej->geometry().right());
            };
            QCOMPARE(::fields(d).size(), 0);
            buttonsBelow(typy);
            atTheTop = pridej->y();

            chooseLine(typy, 0);
            const QList<QLineEdit *> edits = ::fields(d);
            QCOMPARE(edits.size(), 3);
            QTRY_VERIFY(pridej->y() > edits.last()->geometry().bottom());   // laid out from the event loop
            QWidget *above = typy;
            for (QLineEdit *e : edits) {
                QVERIFY(e->y() > above->geometry().bottom());
                QCOMPARE(e->x(), edits[0]->x());
                QLabel *label = labelOf(d, e);
                QVERIFY(label);
                QVERIFY(label->geometry().right() < e->x());
                above = e;
            }
            buttonsBelow(edits.last());

            type(edits[0], "zapomenuto");
            chooseLine(typy, 1);   // no attributes: the buttons move up again
            QCOMPARE(::fields(d).size(), 0);
            QCOMPARE(d->findChildren<QLabel *>().size(), 1);
            QTRY_COMPARE(pridej->y(), atTheTop);
            chooseLine(typy, 2);
            QCOMPARE(names(::fields(d)), (QStringList{"adresaEdit", "jmenoEdit"}));
            QVERIFY(::fields(d)[1]->text().isEmpty());   // typed texts go with the type
            QTRY_VERIFY(pridej->y() > ::fields(d)[1]->geometry().bottom());
            buttonsBelow(::fields(d)[1]);
            click(storno);
        });
        QCOMPARE(storedClients(), QStringList());
        // The next showing starts without fields, the buttons back at the top.
        inDialog([&](TPridaniKlienta *d, QComboBox *typy) {
            QCOMPARE(::fields(d).size(), 0);
            QTRY_COMPARE(d->findChild<QPushButton *>("PridejButton")->y(), atTheTop);
            QCOMPARE(typy->currentIndex(), 0);
        });
    }

    void noClientTypeNoClient()
    {
        TestDatabase::exec("DELETE FROM typy_klientu_tab");
        inDialog([](TPridaniKlienta *d, QComboBox *typy) {
            QCOMPARE(typy->count(), 0);
            click(d->findChild<QPushButton *>("PridejButton"));
            QVERIFY(d->isVisible());
            QCOMPARE(MessageBox::history().size(), 1);
            QCOMPARE(MessageBox::history()[0].caption, QStringLiteral("Chyba"));
        });
        QCOMPARE(storedClients(), QStringList());
    }

    void byKeyboardOnly_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Tab to Přidej, Space") << false;
        QTest::newRow("Escape closes without storing") << true;
    }
    void byKeyboardOnly()
    {
        QFETCH(bool, escape);
        inDialog([&](TPridaniKlienta *d, QComboBox *typy) {
            // The list is open on the first type; Enter chooses it.
            QTRY_VERIFY(typy->view()->isVisible());
            QTest::keyClick(typy->view(), Qt::Key_Return);
            QTRY_VERIFY(!typy->view()->isVisible());
            // The list dropped down over the active dialog, which has the keys again.
            QCOMPARE(QApplication::activeWindow(), d);
            QVERIFY(typy->hasFocus());
            for (const char *text : {"Jan Novak", "jan@example.cz", "603 123 456"}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QVERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
                QTest::keyClicks(QApplication::focusWidget(), text);
            }
            if (escape) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            } else {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // no default button
                QVERIFY(d->isVisible());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("PridejButton"));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            }
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(storedClients(),
                 escape ? QStringList() : QStringList{"2|Jan Novak|603 123 456|jan@example.cz||||"});
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestPridaniKlienta test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_pridani_klienta.moc"
