// What every dialog inherits: its data built on show and dropped on hide
// however it closes, key handlers that take Enter before the dialog does,
// Enter elsewhere pressing only a default button, a failed
// load shown and the dialog closed again, and a list that dropped down
// before the dialog came up: Escape closes only the list, and once it is
// closed the dialog is the active window.

#include "GuiTestSupport.h"

#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"
#include "gui/TDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
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
        naEnter(edit, &Dialog::EditEnter);
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
    void EditEnter() { ++enters; }
};
/** Drops its list down at once, before the window system has activated it. */
class ListDialog : public TDialog
{
    Q_OBJECT
public:
    explicit ListDialog(QWidget *parent)
        : TDialog(parent)
    {
        list = new QComboBox(this);
        list->setObjectName("List");
        list->addItems({"a", "b"});
        auto *ok = new QPushButton("OK", this);
        ok->move(0, 30);
    }
    QComboBox *list;

    void FormShow() override
    {
        list->setFocus();
        QMetaObject::invokeMethod(list, &QComboBox::showPopup, Qt::QueuedConnection);
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
            QCOMPARE(QApplication::focusWidget(), dialog->edit);
            pressEnter(dialog->edit);
            QCOMPARE(dialog->enters, 1);
            QCOMPARE(dialog->edit->text(), QStringLiteral("x"));
            QVERIFY(dialog->isVisible());
            // Without a handler Enter presses only a default button.
            dialog->plain->setFocus();
            pressEnter(dialog->plain);
            QCOMPARE(dialog->isVisible(), !withDefault);
        });
    }

    void aListThatDroppedDownEarly_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("a line chosen") << false;
        QTest::newRow("Escape") << true;
    }
    void aListThatDroppedDownEarly()
    {
        QFETCH(bool, escape);
        QMainWindow main;
        main.show();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        ListDialog d(&main);
        inModal<ListDialog>(d, [&](ListDialog *dialog) {
            QTRY_VERIFY(dialog->list->view()->isVisible());
            if (escape)
                QTest::keyClick(dialog->list, Qt::Key_Escape);
            else
                chooseLine(dialog->list, 1);
            QVERIFY(!dialog->list->view()->isVisible());
            QVERIFY(dialog->isVisible());
            QTRY_VERIFY(dialog->isActiveWindow());
            QCOMPARE(QApplication::focusWidget(), dialog->list);
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
