// The edit-client dialog, offscreen against the real server: deleting a
// client after the confirmation, refusing one with reservations (also one
// booked at another desk while the question was open), the one picked of two
// clients of one name, one deleted meanwhile, the client with id 0, and the keyboard.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "app/VitranaApplication.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TKlientiUpravUdaje.h"

#include <QPushButton>

using namespace GuiTest;

namespace {
QStringList storedClients()
{
    return TestDatabase::rows("SELECT klient_id FROM klienti_tab ORDER BY klient_id");
}

const QString confirmation = QStringLiteral("Opravdu chcete klienta trvale smazat?|Varování");
const QString refusal = QStringLiteral("Ke klientovi jsou jeste prirazeny nejake rezervace.|Nelze smazat");
} // namespace

class TestKlientiUpravUdaje : public QObject
{
    Q_OBJECT

    std::unique_ptr<TKlientiUpravUdaje> m_dialog;

    void inDialog(const std::function<void(TKlientiUpravUdaje *, QComboBox *, QPushButton *)> &act)
    {
        inModal<TKlientiUpravUdaje>(*m_dialog, [&](TKlientiUpravUdaje *d) {
            CONTROL(QComboBox, klienti, d, "KlientiComboBox");
            CONTROL(QPushButton, smaz, d, "SmazKlientaButton");
            act(d, klienti, smaz);
        });
    }

private slots:
    void initTestCase()
    {
        setUpDatabase();
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }
    void init()
    {
        startClean();
        // Client 0 is the first guest the web import stored; 4 and 6 are
        // named alike, and only the first of them has a reservation.
        TestDatabase::insertClients("(0, 1, 'Host z webu'), (4, 2, 'Jan Novák'), (5, 2, 'Eva Malá'), (6, 2, 'Jan Novák')");
        TestDatabase::exec("INSERT INTO objednavky_pokoje_tab VALUES (4, 3, '2024-04-01', '2024-05-01', '2024-05-03', 1, 900)");
        m_dialog = std::make_unique<TKlientiUpravUdaje>();
    }
    void cleanup() { m_dialog.reset(); }

    void deletingAClient_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("stored");
        const QStringList everybody{"Host z webu", "Jan Novák [klient č. 4]", "Eva Malá", "Jan Novák [klient č. 6]"};
        QTest::newRow("no reservations: deleted")
            << 2 << int(QMessageBox::Ok) << QStringList{confirmation}
            << QStringList{"Host z webu", "Jan Novák [klient č. 4]", "Jan Novák [klient č. 6]"} << QStringList{"0", "4", "6"};
        QTest::newRow("Cancel keeps the client") << 2 << int(QMessageBox::Cancel) << QStringList{confirmation}
                                                 << everybody << QStringList{"0", "4", "5", "6"};
        QTest::newRow("with a reservation: refused") << 1 << 0 << QStringList{refusal} << everybody
                                                     << QStringList{"0", "4", "5", "6"};
        QTest::newRow("two of one name: the one picked is deleted")
            << 3 << int(QMessageBox::Ok) << QStringList{confirmation} << QStringList{"Host z webu", "Jan Novák", "Eva Malá"}
            << QStringList{"0", "4", "5"};
        QTest::newRow("client 0") << 0 << int(QMessageBox::Ok) << QStringList{confirmation}
                                  << QStringList{"Jan Novák [klient č. 4]", "Eva Malá", "Jan Novák [klient č. 6]"}
                                  << QStringList{"4", "5", "6"};
    }
    void deletingAClient()
    {
        QFETCH(int, line);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, stored);
        inDialog([&](TKlientiUpravUdaje *d, QComboBox *klienti, QPushButton *smaz) {
            QCOMPARE(d->windowTitle(), QStringLiteral("KlientiUpravUdaje"));
            QVERIFY(!d->findChild<QPushButton *>("StornoButton")->isEnabled());
            QCOMPARE(klienti->currentIndex(), -1);
            click(smaz);   // nothing chosen: nothing happens
            QCOMPARE(GuiTest::messages(), QStringList());
            chooseLine(klienti, line);
            if (answer)
                MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
            click(smaz);
            QCOMPARE(lines(klienti), listed);
            if (answer == QMessageBox::Ok)
                QCOMPARE(klienti->currentIndex(), -1);
            click(d->findChild<QPushButton *>("OKButton"));
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(GuiTest::messages(), messages);
        QCOMPARE(MessageBox::history()[0].buttons,
                 messages[0] == refusal ? QMessageBox::StandardButtons(QMessageBox::Ok) : QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(storedClients(), stored);
    }

    void aBookingWhileTheQuestionIsOpen()
    {
        // The question is a real box this time, so that another desk can
        // book for the client while it is open.
        MessageBox::setDefaultAnswer(QMessageBox::NoButton);
        inDialog([](TKlientiUpravUdaje *, QComboBox *klienti, QPushButton *smaz) {
            chooseLine(klienti, 2);
            inModal<QMessageBox>([&] { click(smaz); }, [](QMessageBox *box) {
                QCOMPARE(box->text(), QStringLiteral("Opravdu chcete klienta trvale smazat?"));
                auto other = TestDatabase::openAnother();
                TMojeQuery q(*other);
                q.exec("INSERT INTO objednavky_pokoje_tab VALUES (5, 4, '2024-04-01', '2024-06-01', '2024-06-01', 2, 900)");
                MessageBox::setDefaultAnswer(QMessageBox::Ok);
                box->button(QMessageBox::Ok)->click();
            });
        });
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
        QCOMPARE(GuiTest::messages(), (QStringList{confirmation, refusal}));
        QCOMPARE(storedClients(), (QStringList{"0", "4", "5", "6"}));
    }

    void deletedMeanwhileAtAnotherDesk()
    {
        inDialog([](TKlientiUpravUdaje *, QComboBox *klienti, QPushButton *smaz) {
            chooseLine(klienti, 2);
            auto other = TestDatabase::openAnother();
            TMojeQuery(*other).exec("DELETE FROM klienti_tab WHERE klient_id = 5");
            click(smaz);
            QCOMPARE(lines(klienti), (QStringList{"Host z webu", "Jan Novák [klient č. 4]", "Jan Novák [klient č. 6]"}));
        });
        QCOMPARE(GuiTest::messages(),
                 (QStringList{confirmation, "Klient už neexistuje, mezitím ho smazala jiná recepce.|Chyba"}));
        QCOMPARE(storedClients(), (QStringList{"0", "4", "6"}));
    }

    void byKeyboard()
    {
        inDialog([](TKlientiUpravUdaje *d, QComboBox *klienti, QPushButton *smaz) {
            QTRY_VERIFY(klienti->hasFocus());   // once the dialog is the active window
            QTest::keyClick(klienti, Qt::Key_Down);
            QTest::keyClick(klienti, Qt::Key_Tab);
            QVERIFY(smaz->hasFocus());
            QTest::keyClick(smaz, Qt::Key_Space);
            QCOMPARE(lines(klienti), (QStringList{"Jan Novák [klient č. 4]", "Eva Malá", "Jan Novák [klient č. 6]"}));
            QTest::keyClick(smaz, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(GuiTest::messages(), QStringList{confirmation});
        QCOMPARE(storedClients(), (QStringList{"4", "5", "6"}));
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestKlientiUpravUdaje test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_klienti_uprav_udaje.moc"
