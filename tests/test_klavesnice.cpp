// Every dialog of the desk by keyboard alone, opened twice over a main
// window: each opening starts at the form's first control (not at the
// button used last time), a list open at that control closes on Escape
// without the dialog and leaves the dialog the active window, Tab goes
// round the whole form and back without any control keeping it, and Enter
// on a focused button presses it.

#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "admin/TAdministracePokoje.h"
#include "admin/TAdministraceSkupinyPokoju.h"
#include "admin/TAdministraceTypyDni.h"
#include "admin/TAdministraceTypyPokoju.h"
#include "admin/TDefinovaniCen.h"
#include "admin/THistorieZmen.h"
#include "admin/TNastaveniDnuUTypuDne.h"
#include "admin/TPrehledy.h"
#include "admin/TUdajeOHotelu.h"
#include "app/TAboutBox.h"
#include "app/VitranaApplication.h"
#include "db/Installation.h"
#include "db/TMojeQuery.h"
#include "desk/TKlientiUpravUdaje.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"
#include "desk/TPrijezdyAOdjezdy.h"
#include "desk/TDomovniKniha.h"
#include "desk/TStavPokoju.h"
#include "desk/TOdjezdHosta.h"
#include "desk/TPrijezdHosta.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "web/TAdministraceSpolupraceSWebem.h"

#include <QAbstractItemView>
#include <QMainWindow>
#include <QTemporaryDir>

using namespace GuiTest;

namespace {

struct Okno
{
    std::unique_ptr<TDialog> dialog;
    std::function<int()> ukaz;
};

/** The dialog as the desk creates it once, and how the desk opens it. */
template <class Dialog>
Okno okno(QWidget *hlavni, const std::function<int(Dialog *)> &ukaz = [](TDialog *d) { return d->ukaz(); })
{
    auto *d = new Dialog(hlavni);
    return {std::unique_ptr<TDialog>(d), [d, ukaz] { return ukaz(d); }};
}

Okno vytvor(const QString &nazev, QWidget *hlavni)
{
    if (nazev == "AboutBox")
        return okno<TAboutBox>(hlavni);
    if (nazev == "AdministracePokoje")
        return okno<TAdministracePokoje>(hlavni);
    if (nazev == "AdministraceSkupinyPokoju")
        return okno<TAdministraceSkupinyPokoju>(hlavni);
    if (nazev == "AdministraceTypyPokoju")
        return okno<TAdministraceTypyPokoju>(hlavni);
    if (nazev == "DefinovaniCen")
        return okno<TDefinovaniCen>(hlavni, [](TDefinovaniCen *d) { return d->ukaz({1, 2}); });
    if (nazev == "AdministraceTypyDni")
        return okno<TAdministraceTypyDni>(hlavni);
    if (nazev == "NastaveniDnuUTypuDne")
        return okno<TNastaveniDnuUTypuDne>(hlavni, [](TNastaveniDnuUTypuDne *d) { return d->OtevriProTyp(2); });
    if (nazev == "NovaRezervace")
        return okno<TNovaRezervace>(hlavni);
    if (nazev == "RezervaceSmazRezervaci")
        return okno<TRezervaceSmazRezervaci>(hlavni);
    if (nazev == "PridaniKlienta")
        return okno<TPridaniKlienta>(hlavni);
    if (nazev == "KlientiUpravUdaje")
        return okno<TKlientiUpravUdaje>(hlavni);
    if (nazev == "PrijezdyAOdjezdy")
        return okno<TPrijezdyAOdjezdy>(hlavni);
    if (nazev == "PrijezdHosta")
        return okno<TPrijezdHosta>(hlavni);
    if (nazev == "OdjezdHosta")
        return okno<TOdjezdHosta>(hlavni);
    if (nazev == "Prehledy")
        return okno<TPrehledy>(hlavni);
    if (nazev == "HistorieZmen")
        return okno<THistorieZmen>(hlavni);
    if (nazev == "UdajeOHotelu")
        return okno<TUdajeOHotelu>(hlavni);
    if (nazev == "StavPokoju")
        return okno<TStavPokoju>(hlavni);
    if (nazev == "DomovniKniha")
        return okno<TDomovniKniha>(hlavni);
    auto *engine = new SpolupraceSWebem(0);   // listening on any port
    auto *web = new TAdministraceSpolupraceSWebem(engine, hlavni);
    engine->setParent(web);
    return {std::unique_ptr<TDialog>(web), [web] { return web->ukaz(); }};
}

/** What Tab can reach: the controls that take focus, by name. */
QSet<QString> ovladace(QDialog *d)
{
    QSet<QString> out;
    for (QWidget *w : d->findChildren<QWidget *>())
        if (w->window() == d && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy()
            && w->isEnabled() && w->isVisibleTo(d))
            out << w->objectName();
    return out;
}

QString fokus()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("(none)");
}

/** Presses Tab until the focus is on the control; the names passed, or empty when it never came. */
QStringList tabulatorem(const QString &kam, int nejvice)
{
    QStringList cesta;
    // A date picker keeps Tab for its day, month and year before passing it
    // on: arriving means coming back after having left, or, in a window of
    // one control, staying there past a date's three parts.
    bool odesel = fokus() != kam;
    for (int i = 0; i < nejvice; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        cesta << fokus();
        if (cesta.last() != kam)
            odesel = true;
        else if (odesel || i >= 3)
            return cesta;
    }
    qWarning() << "Tab went" << cesta;
    return {};
}

} // namespace

class TestKlavesnice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QMainWindow m_hlavni;

private slots:
    void initTestCase()
    {
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
        useClientLabelsIn(m_dir.path());
        if (QTest::currentTestFailed())
            return;
        TestDatabase::setUp();
        TestDatabase::clearTables();
        TMojeQuery q(TestDatabase::db());
        Installation::runScript(q, QStringLiteral(":/db/install.sql"));
        Installation::runScript(q, QStringLiteral(":/db/sample.sql"));
        m_hlavni.resize(400, 300);
        m_hlavni.show();
        QApplication::setActiveWindow(&m_hlavni);
        QVERIFY(QTest::qWaitForWindowActive(&m_hlavni));
    }
    void cleanupTestCase() { TestDatabase::tearDown(); }

    void everyDialog_data()
    {
        QTest::addColumn<QString>("prvni");     // the first control of the form
        QTest::addColumn<QString>("tlacitko");  // pressed by Enter
        QTest::addColumn<int>("vysledek");
        const int ok = QDialog::Accepted, storno = QDialog::Rejected;
        QTest::newRow("AboutBox") << "OKButton" << "OKButton" << ok;
        QTest::newRow("AdministracePokoje") << "NovyPokojEdit" << "OKButton" << ok;
        QTest::newRow("AdministraceSkupinyPokoju") << "SkupinyPokojuListBox" << "StornoButton" << storno;
        QTest::newRow("AdministraceTypyPokoju") << "OdstranVybraneButton" << "OKButton" << ok;
        QTest::newRow("DefinovaniCen") << "CenaEdit" << "OKButton" << ok;
        QTest::newRow("AdministraceTypyDni") << "TypyDniListBox" << "StornoButton" << storno;
        QTest::newRow("NastaveniDnuUTypuDne") << "VypisDniListBox" << "OKButton" << ok;
        QTest::newRow("NovaRezervace") << "KlientComboBox" << "StornoButton" << storno;
        QTest::newRow("RezervaceSmazRezervaci") << "KlientComboBox" << "OKButton" << ok;
        QTest::newRow("PridaniKlienta") << "TypKlientaComboBox" << "StornoButton" << storno;
        QTest::newRow("KlientiUpravUdaje") << "KlientiComboBox" << "OKButton" << ok;
        QTest::newRow("AdministraceSpolupraceSWebem") << "AdresaEdit" << "ZavriButton" << storno;
        QTest::newRow("PrijezdyAOdjezdy") << "DenDatePicker" << "StornoButton" << storno;
        QTest::newRow("PrijezdHosta") << "PobytComboBox" << "StornoButton" << storno;
        QTest::newRow("OdjezdHosta") << "PobytyListWidget" << "StornoButton" << storno;
        QTest::newRow("Prehledy") << "OdDatePicker" << "StornoButton" << storno;
        QTest::newRow("HistorieZmen") << "ObdobiCheckBox" << "StornoButton" << storno;
        QTest::newRow("UdajeOHotelu") << "ProvozovatelEdit" << "OKButton" << ok;
        QTest::newRow("StavPokoju") << "PokojeTable" << "StornoButton" << storno;
        QTest::newRow("DomovniKniha") << "OdDatePicker" << "StornoButton" << storno;
    }
    void everyDialog()
    {
        QFETCH(QString, prvni);
        QFETCH(QString, tlacitko);
        QFETCH(int, vysledek);
        const Okno okno = vytvor(QTest::currentDataTag(), &m_hlavni);
        for (int kolo = 1; kolo <= 2; ++kolo) {
            int vratil = -1;
            inModal<TDialog>([&] { vratil = okno.ukaz(); }, [&](TDialog *d) {
                QCOMPARE(d, okno.dialog.get());
                // A list that drops down by itself does so once the dialog is up.
                QTRY_VERIFY(d->isActiveWindow() || QApplication::activePopupWidget());
                QCoreApplication::sendPostedEvents();
                if (auto *box = qobject_cast<QComboBox *>(d->findChild<QWidget *>(prvni))) {
                    if (!box->view()->isVisible())
                        QTest::keyClick(box, Qt::Key_F4);
                    QVERIFY(box->view()->isVisible());
                    QTest::keyClick(box, Qt::Key_Escape);
                    QVERIFY(!box->view()->isVisible());
                    QVERIFY(d->isVisible());
                }
                QTRY_VERIFY(d->isActiveWindow());
                QCOMPARE(fokus(), prvni);
                if (kolo == 2)
                    return;
                const QSet<QString> vsechny = ovladace(d);
                const QStringList kolem = tabulatorem(prvni, 4 * int(vsechny.size()) + 4);
                QVERIFY2(!kolem.isEmpty(), "a control keeps Tab");
                QCOMPARE(QSet<QString>(kolem.begin(), kolem.end()), vsechny);
                QVERIFY(!tabulatorem(tlacitko, 4 * int(vsechny.size())).isEmpty());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QVERIFY(!d->isVisible());
            });
            if (kolo == 1)
                QCOMPARE(vratil, vysledek);
        }
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestKlavesnice test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_klavesnice.moc"
