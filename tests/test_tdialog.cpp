// What every dialog inherits: its data built on show and dropped on hide
// however it closes, key handlers that take Enter before the dialog does,
// no button pressed by Enter unless the form names a default one, and a
// failed load shown and the dialog closed again.

#include "GuiTestSupport.h"

#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"
#include "gui/TDialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using namespace GuiTest;

namespace {
class Dialog : public TDialog
{
    Q_OBJECT
public:
    explicit Dialog(bool withDefault)
        : TDialog(nullptr)
    {
        setObjectName("Dialog");
        edit = new QLineEdit(this);
        edit->setObjectName("Edit");
        plain = new QLineEdit(this);
        plain->setObjectName("Plain");
        plain->move(0, 30);
        ok = new QPushButton("OK", this);
        ok->setObjectName("OKButton");
        ok->move(0, 60);
        ok->setDefault(withDefault);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        napojKeyDown(edit, &Dialog::EditKeyDown);
    }

    QLineEdit *edit;
    QLineEdit *plain;
    QPushButton *ok;
    int shown = 0, hidden = 0, enters = 0;
    bool failLoad = false;
    bool loaded = false;

    void FormShow() override
    {
        ++shown;
        if (failLoad)
            throw DatabaseError(QString(), "Table 'hotel.pokoje_tab' doesn't exist", DatabaseError::Kind::Statement);
        loaded = true;
    }
    void FormHide() override
    {
        ++hidden;
        loaded = false;
    }
    void EditKeyDown(QKeyEvent *key)
    {
        if (jeEnter(key)) {
            key->accept();
            ++enters;
        }
    }
};
} // namespace

class TestTDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MessageBox::setDefaultAnswer(QMessageBox::Ok); }
    void init() { MessageBox::clearHistory(); }

    void dataLivesFromShowToHide_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("title-bar close") << "close";
        QTest::newRow("Escape") << "Escape";
    }
    void dataLivesFromShowToHide()
    {
        QFETCH(QString, how);
        Dialog d(false);
        for (int round = 1; round <= 2; ++round) {
            int result = -1;
            inModal<Dialog>([&] { result = d.ukaz(); }, [&](Dialog *dialog) {
                QVERIFY(dialog->loaded);
                if (round == 1)
                    QTest::keyClicks(dialog->edit, "abc");
                QCOMPARE(dialog->edit->text(), QStringLiteral("abc"));   // hidden, not destroyed
                if (how == "OK")
                    click(dialog->ok);
                else if (how == "close")
                    dialog->close();
                else
                    QTest::keyClick(dialog->plain, Qt::Key_Escape);
                QVERIFY(!dialog->isVisible());
            });
            QCOMPARE(result, how == "OK" ? int(QDialog::Accepted) : int(QDialog::Rejected));
            QCOMPARE(d.shown, round);
            QCOMPARE(d.hidden, round);
            QVERIFY(!d.loaded);
        }
    }

    void enterGoesToTheKeyHandlerFirst_data()
    {
        QTest::addColumn<bool>("withDefault");
        QTest::newRow("no default button") << false;
        QTest::newRow("a default button") << true;
    }
    void enterGoesToTheKeyHandlerFirst()
    {
        QFETCH(bool, withDefault);
        Dialog d(withDefault);
        inModal<Dialog>(d, [&](Dialog *dialog) {
            QTest::keyClicks(dialog->edit, "x");
            pressEnter(dialog->edit);
            QCOMPARE(dialog->enters, 1);
            QCOMPARE(dialog->edit->text(), QStringLiteral("x"));
            QVERIFY(dialog->isVisible());
            // Without a handler Enter presses only a default button.
            pressEnter(dialog->plain);
            QCOMPARE(dialog->isVisible(), !withDefault);
        });
    }

    void aFailedLoadIsShownAndTheDialogCloses()
    {
        Dialog d(false);
        d.failLoad = true;
        int result = -1;
        QElapsedTimer t;
        t.start();
        d.ukaz();   // must come back by itself
        result = d.result();
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(t.elapsed() < 5000);
        verifyDatabaseErrorShown("Nepodařilo se načíst údaje z databáze.", QString(),
                                 "Table 'hotel.pokoje_tab' doesn't exist");
        QCOMPARE(d.hidden, 1);
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestTDialog test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_tdialog.moc"
