// What every dialog gets from its base, one row per dialog and case, on the
// sample hotel: leaving without OK (Storno, the title-bar close, Escape)
// writes nothing and the next opening shows the tables again, while edit
// boxes keep their text; a save another desk holds up keeps the dialog open
// with everything typed, writes nothing, and OK again writes exactly what a
// save that went through at once writes.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministracePokoje.h"
#include "admin/TAdministraceSkupinyPokoju.h"
#include "admin/TAdministraceTypyDni.h"
#include "admin/TAdministraceTypyPokoju.h"
#include "admin/TDefinovaniCen.h"
#include "admin/TNastaveniDnuUTypuDne.h"
#include "app/VitranaApplication.h"
#include "db/Installation.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace GuiTest;

namespace {

/** A dialog as the desk opens it, with some edits of one opening that OK would write. */
struct Scenar
{
    std::function<TDialog *()> vytvor;
    std::function<int(TDialog *)> ukaz;   // none: ukaz()
    std::function<void(TDialog *)> uprav;
    QString ulozit = QStringLiteral("OKButton");   // the button that saves
    QString zamkne;                                 // the table another desk holds
    QString coSeNepodarilo;
    QStringList zustane;   // edit boxes that keep their text to the next opening
};

const QMap<QString, Scenar> &scenare()
{
    static const QMap<QString, Scenar> all{
        {"AdministracePokoje",
         {[] { return new TAdministracePokoje; }, {},
          [](TDialog *d) {
              type(control<QLineEdit>(d, "NovyPokojEdit"), "401");
              clickLine(control<QListWidget>(d, "TypyPokojuListBox"), 0);
              click(control<QPushButton>(d, "PridejPokojButton"));
              selectLines(control<QListWidget>(d, "NadefinovanePokojeListBox"), {1});   // 102, never booked
              click(control<QPushButton>(d, "OdstranVybranePokojeButton"));
          },
          "OKButton", "pokoje_tab", "Nepodařilo se uložit pokoje.", {"NovyPokojEdit"}}},
        {"AdministraceSkupinyPokoju",
         {[] { return new TAdministraceSkupinyPokoju; }, {},
          [](TDialog *d) {
              clickLine(control<QListWidget>(d, "SkupinyPokojuListBox"), 0);
              click(control<QPushButton>(d, "OdstranSkupinuButton"));
              type(control<QLineEdit>(d, "NovaSkupinaEdit"), "Jiná");
              click(control<QPushButton>(d, "PridejSkupinuButton"));
              clickLine(control<QListWidget>(d, "SkupinyPokojuListBox"), 2);
              selectLines(control<QListWidget>(d, "VsechnyPokojeListBox"), {0, 1});
              click(control<QPushButton>(d, "PridejPokojeButton"));
          },
          "OKButton", "skupiny_pokoju_propojeni_tab", "Nepodařilo se uložit skupiny pokojů.", {}}},
        {"AdministraceTypyPokoju",
         {[] { return new TAdministraceTypyPokoju; }, {},
          [](TDialog *d) {
              type(control<QLineEdit>(d, "NovyTypEdit"), "Rodinný");
              type(control<QLineEdit>(d, "PocetLuzekEdit"), "5");
              click(control<QPushButton>(d, "PridejButton"));
          },
          "OKButton", "ceny_pokoje_tab", "Nepodařilo se uložit typy pokojů.", {"NovyTypEdit", "PocetLuzekEdit"}}},
        {"DefinovaniCen",
         {[] { return new TDefinovaniCen; },
          [](TDialog *d) { return static_cast<TDefinovaniCen *>(d)->ukaz({1, 3}); },
          [](TDialog *d) {
              selectLines(control<QListWidget>(d, "TypyDniListBox"), {0, 2});
              selectLines(control<QListWidget>(d, "TypyKlientuListBox"), {1});
              type(control<QLineEdit>(d, "CenaEdit"), "999");
              click(control<QPushButton>(d, "NastavCenuButton"));
          },
          "OKButton", "ceny_pokoje_tab", "Nepodařilo se uložit ceny.", {"CenaEdit"}}},
        {"AdministraceTypyDni",
         {[] { return new TAdministraceTypyDni; }, {},
          [](TDialog *d) {
              type(control<QLineEdit>(d, "NovyTypDneEdit"), "Sezóna");
              click(control<QPushButton>(d, "PridejTypDneButton"));
              clickLine(control<QListWidget>(d, "TypyDniListBox"), 1);
              click(control<QPushButton>(d, "OdstranVybranyTypButton"));
              clickLine(control<QListWidget>(d, "TypyDniListBox"), 1);
              click(control<QPushButton>(d, "PosunTypDneNahoruButton"));
          },
          "OKButton", "kalendar_typy_dnu_tab", "Nepodařilo se uložit typy dní.", {}}},
        {"NastaveniDnuUTypuDne",
         {[] { return new TNastaveniDnuUTypuDne; },
          [](TDialog *d) { return static_cast<TNastaveniDnuUTypuDne *>(d)->OtevriProTyp(2, "Víkend"); },
          [](TDialog *d) {
              auto *tydny = control<QListWidget>(d, "PridejDnyCheckListBox");
              for (int i = 0; i < tydny->count(); ++i)
                  tydny->item(i)->setCheckState(i == 0 ? Qt::Checked : Qt::Unchecked);   // Mondays
              control<QDateEdit>(d, "OdDateTimePicker")->setDate(QDate::currentDate().addDays(1));
              control<QDateEdit>(d, "DoDateTimePicker")->setDate(QDate::currentDate().addDays(21));
              click(control<QPushButton>(d, "PridejDnyButton"));
              selectLines(control<QListWidget>(d, "VypisDniListBox"), {0});
              click(control<QPushButton>(d, "OdstranVybraneDnyButton"));
          },
          "OKButton", "kalendar_typy_dnu_tab", "Nepodařilo se uložit dny typu dne.", {}}},
        {"PridaniKlienta",
         {[] { return new TPridaniKlienta; }, {},
          [](TDialog *d) {
              chooseLine(control<QComboBox>(d, "TypKlientaComboBox"), 1);
              type(control<QLineEdit>(d, "jmenoEdit"), "Eva Malá");
              type(control<QLineEdit>(d, "telefonEdit"), "777 123 456");
          },
          "PridejButton", "klienti_tab", "Nepodařilo se uložit klienta.", {}}},
        {"NovaRezervace",
         {[] { return new TNovaRezervace; }, {},
          [](TDialog *d) {
              chooseLine(control<QComboBox>(d, "KlientComboBox"), 2);
              chooseLine(control<QComboBox>(d, "PokojComboBox"), 1);   // 102: free all month
              control<QDateEdit>(d, "OdDateTimePicker")->setDate(QDate::currentDate().addDays(3));
              control<QDateEdit>(d, "DoDateTimePicker")->setDate(QDate::currentDate().addDays(5));
              QVERIFY(control<QPushButton>(d, "OKButton")->isEnabled());
          },
          "OKButton", "objednavky_pokoje_tab", "Nepodařilo se uložit rezervaci.", {}}},
    };
    return all;
}

/** Every table, its rows sorted: what the desks have stored. */
QStringList stored()
{
    QStringList out;
    for (const QString &table : TestDatabase::rows("SHOW TABLES")) {
        if (table == QLatin1String("klienti_zmeny_tab"))
            continue;   // a counter: every change of clients moves it, the test's clean start too
        if (table == QLatin1String("historie_zmen_tab"))
            continue;   // grows with every save, a time in each row (test_historie_zmen reads it)
        QStringList rows = TestDatabase::rows("SELECT * FROM " + table);
        rows.sort();
        for (const QString &row : std::as_const(rows))
            out << table + u':' + row;
    }
    return out;
}

/** What the dialog shows: the lines of its lists and tables (selected ones marked), with or without its edit boxes. */
QStringList shown(QWidget *d, bool edits)
{
    QStringList out;
    for (QListWidget *l : d->findChildren<QListWidget *>())
        for (int i = 0; i < l->count(); ++i)
            out << l->objectName() + (l->item(i)->isSelected() ? u'*' : u':') + l->item(i)->text();
    for (QComboBox *c : d->findChildren<QComboBox *>())
        out << c->objectName() + u':' + c->currentText() + u':' + lines(c).join(u'|');
    for (QDateEdit *e : d->findChildren<QDateEdit *>())
        out << e->objectName() + u':' + e->date().toString(Qt::ISODate);
    for (QTableWidget *t : d->findChildren<QTableWidget *>())
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                out << t->objectName() + u':' + (t->item(r, c) ? t->item(r, c)->text() : QString());
    if (edits)
        for (QLineEdit *e : d->findChildren<QLineEdit *>())
            if (!e->parentWidget()->inherits("QAbstractSpinBox") && !e->parentWidget()->inherits("QComboBox"))
                out << e->objectName() + u'=' + e->text();
    return out;
}

} // namespace

class TestDialogy : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TDialog> m_dialog;

    void reset()
    {
        TestDatabase::clearTables();
        TMojeQuery q(TestDatabase::db());
        Installation::runScript(q, QStringLiteral(":/db/install.sql"));
        Installation::runScript(q, QStringLiteral(":/db/sample.sql"));
        // New rows get the same ids in every pass.
        for (const QString &table : TestDatabase::rows("SHOW TABLES"))
            TestDatabase::exec("ALTER TABLE " + table + " AUTO_INCREMENT = 1");
        MessageBox::clearHistory();
    }

    /** Opens the row's dialog and acts in it; the result it closed with. */
    int inDialog(const Scenar &s, const std::function<void(TDialog *)> &act)
    {
        int result = -1;
        inModal<TDialog>([&] { result = s.ukaz ? s.ukaz(m_dialog.get()) : m_dialog->ukaz(); }, [&](TDialog *d) {
            QCOMPARE(d, m_dialog.get());
            act(d);
        });
        return result;
    }

    static void rows(const QStringList &cases)
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("how");
        for (auto it = scenare().keyBegin(); it != scenare().keyEnd(); ++it)
            for (const QString &how : cases)
                QTest::addRow("%s, %s", qPrintable(*it), qPrintable(how)) << *it << how;
    }

private slots:
    void initTestCase()
    {
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
        useClientLabelsIn(m_dir.path());
        if (QTest::currentTestFailed())
            return;
        TestDatabase::setUp();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        reset();
        const QString dialog = QTest::currentDataTag() ? QString(QTest::currentDataTag()).section(u',', 0, 0) : QString();
        if (scenare().contains(dialog))
            m_dialog.reset(scenare()[dialog].vytvor());
    }
    void cleanup() { m_dialog.reset(); }

    void leavingWithoutOkWritesNothing_data() { rows({"Storno", "close", "Escape"}); }
    void leavingWithoutOkWritesNothing()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, how);
        const Scenar &s = scenare()[dialog];
        const QStringList before = stored();
        QStringList atFirst, edits;
        const int result = inDialog(s, [&](TDialog *d) {
            atFirst = shown(d, false);
            const QStringList withEdits = shown(d, true);
            s.uprav(d);
            QVERIFY(!QTest::currentTestFailed());
            QVERIFY2(shown(d, true) != withEdits, "the edits show");
            for (const QString &name : s.zustane)
                edits << name + u'=' + control<QLineEdit>(d, name)->text();
            QCOMPARE(messages(), QStringList());
            // An open list takes Escape for itself.
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            closeWithoutOk(d, d->findChild<QAbstractButton *>("StornoButton"), how);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(stored(), before);
        // The next opening starts from the tables again; edit boxes kept their text.
        inDialog(s, [&](TDialog *d) {
            QCOMPARE(shown(d, false), atFirst);
            for (const QString &edit : std::as_const(edits))
                QCOMPARE(edit.section(u'=', 1), control<QLineEdit>(d, edit.section(u'=', 0, 0))->text());
        });
    }

    void aSaveHeldUpKeepsTheDialog_data() { rows({"held up"}); }
    void aSaveHeldUpKeepsTheDialog()
    {
        QFETCH(QString, dialog);
        const Scenar &s = scenare()[dialog];
        // What the edits write when nothing stands in the way.
        int result = inDialog(s, [&](TDialog *d) {
            s.uprav(d);
            click(control<QPushButton>(d, s.ulozit));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(result, int(QDialog::Accepted));
        const QStringList written = stored();
        m_dialog.reset(s.vytvor());
        reset();
        const QStringList before = stored();
        QVERIFY(written != before);

        TestDatabase::exec("SET SESSION lock_wait_timeout = 1");
        auto other = TestDatabase::openAnother();
        TMojeQuery q(*other);
        result = inDialog(s, [&](TDialog *d) {
            s.uprav(d);
            const QStringList typed = shown(d, true);
            q.exec("LOCK TABLES " + s.zamkne + " WRITE");
            click(control<QPushButton>(d, s.ulozit));
            q.exec("UNLOCK TABLES");   // before any check can end the test
            QVERIFY(d->isVisible());
            verifyLockTimeoutShown(s.coSeNepodarilo);
            QCOMPARE(shown(d, true), typed);
            QCOMPARE(stored(), before);
            click(control<QPushButton>(d, s.ulozit));   // tried again, it goes through
            QVERIFY(!d->isVisible());
        });
        TestDatabase::exec("SET SESSION lock_wait_timeout = DEFAULT");
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(stored(), written);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestDialogy test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_dialogy.moc"
