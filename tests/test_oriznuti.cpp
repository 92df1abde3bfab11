// Every window of the desk under Czech and English regional settings, with
// the longest texts its labels can show, at its designed font and at one
// half larger (run a second time at twice the device pixels): no label,
// button, check-list item or date picker shows less than its whole text, no
// control runs into a neighbouring one, and no window is pushed past its
// designed size at the designed font, nor below it at a larger one.

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
#include "app/TLoginDialog.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "core/Recepce.h"
#include "db/Installation.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "desk/TKlientiUpravUdaje.h"
#include "desk/TPrijezdyAOdjezdy.h"
#include "desk/TDomovniKniha.h"
#include "desk/TStavPokoju.h"
#include "desk/TOdjezdHosta.h"
#include "desk/TPrijezdHosta.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "web/IndikatorWebu.h"
#include "web/TAdministraceSpolupraceSWebem.h"
#include "web/engine/SpolupraceSWebem.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

using namespace GuiTest;

namespace {

// The font of the row being run, as a multiple of the designed one.
double zvetseni = 1.0;

/** The font that many times larger. */
QFont vetsi(QFont font, double factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(qRound(font.pixelSize() * factor));
    return font;
}

/**
 * The window's own font at the row's size: the forms fix their point size,
 * so the application's font does not reach them; a larger font setting
 * enlarges them as this does.
 */
void zvetsi(QWidget *window)
{
    if (zvetseni != 1.0)
        window->setFont(vetsi(window->font(), zvetseni));
}

QString name(const QWidget *w)
{
    return w->objectName().isEmpty() ? QLatin1String(w->metaObject()->className()) : w->objectName();
}

/** A rectangle of the widget, in its window's coordinates, cut by every parent on the way. */
QRect shown(const QWidget *w, QRect r)
{
    for (; !w->isWindow(); w = w->parentWidget()) {
        r.translate(w->pos());
        r &= w->parentWidget()->rect();
    }
    return r;
}

class Findings
{
public:
    explicit Findings(QWidget *window) : m_window(window) {}

    void tooSmall(const QWidget *w, const QString &text, const char *what, int needed, int available)
    {
        m_lines << QStringLiteral("%1/%2 \"%3\": needs %4 px of %5, has %6")
                       .arg(name(m_window), name(w), QString(text).replace(u'\n', QLatin1String("\\n")))
                       .arg(needed)
                       .arg(QLatin1String(what))
                       .arg(available);
    }
    void add(const QString &line) { m_lines << name(m_window) + u'/' + line; }
    const QStringList &lines() const { return m_lines; }

private:
    QWidget *m_window;
    QStringList m_lines;
};

void checkLabel(QLabel *l, Findings &f)
{
    // As QLabel lays out plain text: inside its contents rect less its margin.
    const int m = l->margin();
    const QRect area = shown(l, l->contentsRect().adjusted(m, m, -m, -m));
    // Measured from the top left: a centred rectangle would round to a pixel more.
    int flags = Qt::AlignLeft | Qt::AlignTop;
    if (l->wordWrap())
        flags |= Qt::TextWordWrap;
    if (l->buddy())
        flags |= Qt::TextShowMnemonic;
    const QRect text = l->fontMetrics().boundingRect(QRect(0, 0, l->wordWrap() ? area.width() : 100000, 100000),
                                                      flags, l->text());
    if (text.width() > area.width())
        f.tooSmall(l, l->text(), "width", text.width(), area.width());
    if (text.height() > area.height())
        f.tooSmall(l, l->text(), "height", text.height(), area.height());
}

void checkButton(QAbstractButton *b, Findings &f)
{
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    int margin = 0;
    if (auto *push = qobject_cast<QPushButton *>(b)) {
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        // The breathing space a button's size hint gives its text.
        margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, b);
    } else {
        contents = qobject_cast<QCheckBox *>(b) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
    }
    const QRect area = shown(b, b->style()->subElementRect(contents, &option, b));
    const QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    if (text.width() + margin > area.width())
        f.tooSmall(b, b->text(), "width", text.width() + margin, area.width());
    if (text.height() > area.height())
        f.tooSmall(b, b->text(), "height", text.height(), area.height());
}

/** A date picker shows the widest date its format writes, whatever the weekday and month. */
void checkDatePicker(QDateTimeEdit *picker, Findings &f)
{
    auto *edit = picker->findChild<QLineEdit *>();
    QString widest;
    int needed = 0;
    for (QDate d(2027, 1, 1); d.year() < 2034; d = d.addDays(1)) {
        const QString text = picker->locale().toString(d, picker->displayFormat());
        if (const int w = edit->fontMetrics().horizontalAdvance(text); w > needed) {
            needed = w;
            widest = text;
        }
    }
    // As QLineEdit lays out its text: 2 px inside its contents on either side.
    const int available = shown(edit, edit->contentsRect()).width() - 4;
    if (needed > available)
        f.tooSmall(picker, widest, "width", needed, available);
}

/** A check list shows each item whole, all of them without scrolling. */
void checkCheckList(QListWidget *list, Findings &f)
{
    const QRect viewport = shown(list->viewport(), list->viewport()->rect());
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.font = list->font();
        const QSize needed = list->itemDelegate()->sizeHint(option, list->model()->index(i, 0));
        const QRect at = shown(list->viewport(), list->visualItemRect(item));
        if (needed.width() > viewport.width())
            f.tooSmall(list, item->text(), "width", needed.width(), viewport.width());
        if (!viewport.contains(at))
            f.add(QStringLiteral("%1 \"%2\": below the visible list").arg(name(list), item->text()));
    }
}

bool isCheckList(const QListWidget *list)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::CheckStateRole).isValid())
            return true;
    return false;
}

QString textOf(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    return QString();
}

/**
 * Controls that run into a sibling: any two controls of a form (the window
 * or a widget that lays out its children), and a text over anything inside
 * a compound control.
 */
void checkOverlaps(QWidget *window, Findings &f)
{
    QList<QWidget *> parents = window->findChildren<QWidget *>();
    parents << window;
    for (QWidget *parent : std::as_const(parents)) {
        const bool form = parent == window || parent->layout() != nullptr;
        QList<QWidget *> siblings;
        for (QWidget *w : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!w->isWindow() && w->isVisibleTo(window) && !w->geometry().isEmpty())
                siblings << w;
        for (qsizetype i = 0; i < siblings.size(); ++i)
            for (qsizetype j = i + 1; j < siblings.size(); ++j) {
                QWidget *a = siblings[i];
                QWidget *b = siblings[j];
                if ((form || !textOf(a).isEmpty() || !textOf(b).isEmpty()) && a->geometry().intersects(b->geometry()))
                    f.add(QStringLiteral("%1 \"%2\" overlaps %3 \"%4\"").arg(name(a), textOf(a), name(b), textOf(b)));
            }
    }
}

/** What of the window's texts does not show whole; empty when all do. */
QStringList clipped(QWidget *window, const QSize &designed)
{
    Findings f(window);
    // At the designed font the designed size; a larger font may only make it larger.
    const bool fits = zvetseni == 1.0 ? window->size() == designed
                                      : window->width() >= designed.width() && window->height() >= designed.height();
    if (!fits)
        f.add(QStringLiteral("the window is %1 x %2 px, designed %3 x %4")
                  .arg(window->width())
                  .arg(window->height())
                  .arg(designed.width())
                  .arg(designed.height()));
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->isWindow())
            continue;
        if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty())
            checkLabel(l, f);
        else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !b->text().isEmpty())
            checkButton(b, f);
        else if (auto *picker = qobject_cast<QDateTimeEdit *>(w))
            checkDatePicker(picker, f);
        else if (auto *list = qobject_cast<QListWidget *>(w); list && isCheckList(list))
            checkCheckList(list, f);
    }
    checkOverlaps(window, f);
    return f.lines();
}

void verifyWhole(QWidget *window, const QSize &designed)
{
    // Designed sizes are those of the window's contents; a window that needs more shows it here.
    QCoreApplication::processEvents();
    const QStringList found = clipped(window, designed);
    QVERIFY2(found.isEmpty(), qPrintable(u'\n' + found.join(u'\n')));
}

const QDateTime lastSecond(QDate::currentDate(), QTime(23, 59, 59));
// The longest a last export and a last import can be told in: a failed
// export, an import that stored, found stored before and refused many.
const PosledniAkce longestExport{lastSecond, false, QStringLiteral("ceny a obsazenost, chyba databáze")};
const PosledniAkce longestImport{lastSecond, true, QStringLiteral("uloženo 250, 250 uloženo už dříve, odmítnuto 250")};

/** The web dialog's state lines at their longest. */
void longestOutcomes(QWidget *dialog)
{
    dialog->findChild<QLabel *>(QStringLiteral("StavLabel"))
        ->setText(IndikatorWebu::popis(QStringLiteral("Export"), longestExport) + u'\n'
                  + IndikatorWebu::popis(QStringLiteral("Import"), longestImport));
}

/** The export and the import started while the site cannot be reached: both wait. */
void startWaiting(TAdministraceSpolupraceSWebem *d, quint16 closedPort)
{
    d->findChild<QLineEdit *>(QStringLiteral("AdresaEdit"))->setText(QStringLiteral("127.0.0.1:%1").arg(closedPort));
    click(d->findChild<QPushButton *>(QStringLiteral("ExportCenObsazenostiButton")));
    click(d->findChild<QPushButton *>(QStringLiteral("ImportRezervaciButton")));
    QTRY_VERIFY(d->spoluprace()->cekani().size() >= 2);
}

const QLocale czech(QLocale::Czech, QLocale::Czechia);
const QLocale english(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestOriznuti : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTcpServer m_taken;        // holds the port the desk is told to listen on
    quint16 m_closedPort = 0;  // nothing listens there
    QFont m_pismo;             // the application's font as the test found it
    std::unique_ptr<Recepce> m_recepce;   // outlives the window, as in the application
    std::unique_ptr<TVitranaForm> m_form;

    QAction *menu(const char *item) { return m_form->findChild<QAction *>(QLatin1String(item)); }

    /** Opens the dialog from the main menu, fills it and checks it at its designed size. */
    template <class Dialog>
    void fromMenu(const char *item, const QSize &designed, const std::function<void(Dialog *)> &fill = {})
    {
        inModal<Dialog>([&] { menu(item)->trigger(); }, [&](Dialog *d) {
            if (fill)
                fill(d);
            verifyWhole(d, designed);
        });
    }

    /** Opens the dialog from a button of the menu's dialog, after `select` chose what it opens for. */
    template <class Dialog, class Inner>
    void fromButton(const char *item, const std::function<void(Dialog *)> &select, const char *button,
                    const QSize &designed)
    {
        inModal<Dialog>([&] { menu(item)->trigger(); }, [&](Dialog *d) {
            select(d);
            auto *opens = static_cast<QWidget *>(d)->findChild<QPushButton *>(QLatin1String(button));
            inModal<Inner>([&] { click(opens); }, [&](Inner *inner) { verifyWhole(inner, designed); });
        });
    }

    void mainWindow()
    {
        // The status bar at its longest: no port, the longer outcome of both.
        auto *indikator = m_form->findChild<IndikatorWebu *>();
        PosledniAkce ok = longestImport;
        ok.uspech = true;
        indikator->setText(QStringList{indikator->text(), IndikatorWebu::kratce(QStringLiteral("export"), ok),
                                       IndikatorWebu::kratce(QStringLiteral("import"), ok)}
                               .join(QStringLiteral(" · ")));
        QCoreApplication::processEvents();
        const QStringList cut = clipped(m_form.get(), QSize(754, 530));
        QVERIFY2(cut.isEmpty(), qPrintable(u'\n' + cut.join(u'\n')));
    }

    void login()
    {
        // In the system's font: the application's, already larger in the larger rows.
        TLoginDialog login(QStringLiteral("hotel"), QStringLiteral("recepce"), m_form.get());
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        verifyWhole(&login, QSize(320, 150));
    }

    /** A working listener, and a guest waiting for the import besides the export and the import. */
    void webWithGuest()
    {
        SpolupraceSWebem engine(0);   // listening on any port
        TAdministraceSpolupraceSWebem web(&engine, m_form.get());
        zvetsi(&web);
        inModal<TAdministraceSpolupraceSWebem>(web, [this](TAdministraceSpolupraceSWebem *d) {
            startWaiting(d, m_closedPort);
            QTcpSocket guest;
            guest.connectToHost(QHostAddress::LocalHost, d->portNaslouchani());
            QVERIFY(guest.waitForConnected(5000));
            guest.write("GET /?cislo_rezervace=17&skript_zpet=http://web.example/zpet.php&vzhled_stranek=2"
                        "&konec_dat=true HTTP/1.1\r\nHost: recepce\r\n\r\n");
            QTRY_COMPARE(d->spoluprace()->cekani().size(), 3);
            longestOutcomes(d);
            verifyWhole(d, QSize(621, 481));
        });
    }

    /** Every window by name, each brought to its longest texts and checked. */
    QMap<QString, std::function<void()>> windowChecks()
    {
        return {
            {QStringLiteral("VitranaForm"), [this] { mainWindow(); }},
            {QStringLiteral("AboutBox"), [this] { fromMenu<TAboutBox>("OAplikaci", QSize(220, 110)); }},
            {QStringLiteral("LoginDialog"), [this] { login(); }},
            {QStringLiteral("AdministracePokoje"),
             [this] { fromMenu<TAdministracePokoje>("MenuAdministracePokoje", QSize(383, 420)); }},
            {QStringLiteral("AdministraceSkupinyPokoju"),
             [this] {
                 // A group chosen: its members listed.
                 fromMenu<TAdministraceSkupinyPokoju>(
                     "MenuAdministraceSkupinyPokoju", QSize(515, 338), [](TAdministraceSkupinyPokoju *d) {
                         clickLine(d->findChild<QListWidget *>("SkupinyPokojuListBox"), 0);
                     });
             }},
            {QStringLiteral("AdministraceTypyPokoju"),
             [this] { fromMenu<TAdministraceTypyPokoju>("MenuAdministraceTypyPokoju", QSize(364, 296)); }},
            {QStringLiteral("DefinovaniCen"),
             [this] {
                 fromButton<TAdministraceTypyPokoju, TDefinovaniCen>(
                     "MenuAdministraceTypyPokoju",
                     [](TAdministraceTypyPokoju *d) {
                         selectLines(d->findChild<QListWidget *>("TypyPokojuListBox"), {0, 1});
                     },
                     "NadefinujCenyButton", QSize(720, 302));
             }},
            {QStringLiteral("AdministraceTypyDni"),
             [this] { fromMenu<TAdministraceTypyDni>("MenuAdministraceTypyDni", QSize(375, 320)); }},
            {QStringLiteral("NastaveniDnuUTypuDne"),
             [this] {
                 fromButton<TAdministraceTypyDni, TNastaveniDnuUTypuDne>(
                     "MenuAdministraceTypyDni",
                     [](TAdministraceTypyDni *d) { clickLine(d->findChild<QListWidget *>("TypyDniListBox"), 1); },
                     "PriradDnyVybranemuTypuButton", QSize(526, 294));
             }},
            {QStringLiteral("NovaRezervace"),
             [this] {
                 fromMenu<TNovaRezervace>("MenuRezervaceNovaRezervace", QSize(266, 234), [](TNovaRezervace *d) {
                     auto *cena = d->findChild<QLabel *>("CenaLabel");
                     QCOMPARE(cena->text(), QStringLiteral("Nesprávně zadané údaje."));
                     verifyWhole(d, QSize(266, 234));
                     auto *klient = d->findChild<QComboBox *>("KlientComboBox");
                     klient->hidePopup();
                     klient->setCurrentIndex(0);
                     d->findChild<QComboBox *>("PokojComboBox")->setCurrentIndex(0);
                     // Beyond the sample's year of calendar no night has a price.
                     d->findChild<QDateEdit *>("DoDateTimePicker")->setDate(QDate::currentDate().addDays(402));
                     d->findChild<QDateEdit *>("OdDateTimePicker")->setDate(QDate::currentDate().addDays(400));
                     QCOMPARE(cena->text(), QStringLiteral("Cena není pro vybrané hodnoty definována."));
                 });
             }},
            {QStringLiteral("RezervaceSmazRezervaci"),
             [this] {
                 fromMenu<TRezervaceSmazRezervaci>("SmazRezervaci", QSize(289, 291), [](TRezervaceSmazRezervaci *d) {
                     chooseLine(d->findChild<QComboBox *>("KlientComboBox"), 0);
                     clickLine(d->findChild<QListWidget *>("RezervaceListBox"), 0);
                     QVERIFY(!d->findChild<QLabel *>("OdLabel")->text().isEmpty());
                 });
             }},
            {QStringLiteral("PridaniKlienta"),
             [this] {
                 fromMenu<TPridaniKlienta>("MenuKlientiNovyKlient", QSize(468, 559), [](TPridaniKlienta *d) {
                     auto *typ = d->findChild<QComboBox *>("TypKlientaComboBox");
                     chooseLine(typ, typ->findText(QStringLiteral("Stálý host s poznámkou")));
                     QCOMPARE(d->findChildren<QLineEdit *>().size(), 7);
                 });
             }},
            {QStringLiteral("KlientiUpravUdaje"),
             [this] { fromMenu<TKlientiUpravUdaje>("MenuKlientiUpravUdaje", QSize(298, 119)); }},
            {QStringLiteral("AdministraceSpolupraceSWebem"),
             [this] {
                 // The listener's port is taken: its line says why, at length.
                 fromMenu<TAdministraceSpolupraceSWebem>("SpolupraceSWebem", QSize(621, 481),
                                                         [this](TAdministraceSpolupraceSWebem *d) {
                                                             QCOMPARE(d->portNaslouchani(), quint16(0));
                                                             startWaiting(d, m_closedPort);
                                                             longestOutcomes(d);
                                                         });
             }},
            {QStringLiteral("AdministraceSpolupraceSWebem, guest waiting"), [this] { webWithGuest(); }},
            {QStringLiteral("PrijezdyAOdjezdy"),
             [this] { fromMenu<TPrijezdyAOdjezdy>("MenuRezervacePrijezdyAOdjezdy", QSize(680, 520)); }},
            {QStringLiteral("PrijezdHosta"),
             [this] { fromMenu<TPrijezdHosta>("MenuRezervacePrijezdHosta", QSize(900, 640)); }},
            {QStringLiteral("OdjezdHosta"), [this] { fromMenu<TOdjezdHosta>("MenuRezervaceOdjezdHosta", QSize(640, 320)); }},
            {QStringLiteral("Prehledy"), [this] { fromMenu<TPrehledy>("MenuAdministracePrehledy", QSize(1180, 600)); }},
            {QStringLiteral("HistorieZmen"),
             [this] { fromMenu<THistorieZmen>("MenuAdministraceHistorieZmen", QSize(860, 520)); }},
            {QStringLiteral("UdajeOHotelu"),
             [this] { fromMenu<TUdajeOHotelu>("MenuAdministraceUdajeOHotelu", QSize(660, 580)); }},
            {QStringLiteral("StavPokoju"), [this] { fromMenu<TStavPokoju>("MenuUklidStavPokoju", QSize(760, 560)); }},
            {QStringLiteral("DomovniKniha"),
             [this] { fromMenu<TDomovniKniha>("MenuKnihyDomovniKniha", QSize(980, 520)); }},
        };
    }

private slots:
    void initTestCase()
    {
        MessageBox::setDefaultAnswer(QMessageBox::Ok);
        m_pismo = QApplication::font();
        // The labels file as shipped, read relative to the working directory;
        // other tests write their own into theirs.
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("text")));
        QVERIFY(QFile::copy(QStringLiteral(VITRANA_SOURCE_DIR "/text/popis_polozek_klienta.txt"),
                            m_dir.filePath(QStringLiteral("text/popis_polozek_klienta.txt"))));
        QVERIFY(QDir::setCurrent(m_dir.path()));

        TestDatabase::setUp();
        TestDatabase::clearTables();
        TMojeQuery q(TestDatabase::db());
        Installation::runScript(q, QStringLiteral(":/db/install.sql"));
        Installation::runScript(q, QStringLiteral(":/db/sample.sql"));
        // A client type that asks for every attribute: every label at once.
        TestDatabase::exec("INSERT INTO typy_klientu_tab VALUES (4, 'Stálý host s poznámkou')");
        TestDatabase::exec("INSERT INTO klient_zobrazit_tab VALUES (4, 1, 2, 3, 4, 5, 6, 7)");

        // The desk's listener finds its port taken, as when another desk runs:
        // the longest texts of the status bar and the web dialog's listener line.
        QVERIFY(m_taken.listen(QHostAddress::Any, 0));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        m_closedPort = probe.serverPort();
    }
    void cleanupTestCase()
    {
        QLocale::setDefault(czech);
        TestDatabase::tearDown();
    }
    void init()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, font);
        QLocale::setDefault(locale);
        static_cast<VitranaApplication *>(qApp)->loadQtTranslations(locale);
        zvetseni = font;
        QApplication::setFont(vetsi(m_pismo, font));
        Configuration config = TestDatabase::config();
        config.listenPort = m_taken.serverPort();
        m_recepce = TestDatabase::openDesk(config);
        m_form = std::make_unique<TVitranaForm>(m_recepce.get());
        m_form->createDialogs();
        zvetsi(m_form.get());
        for (QDialog *dialog : m_form->findChildren<QDialog *>())
            zvetsi(dialog);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup()
    {
        m_form.reset();
        m_recepce.reset();
        zvetseni = 1.0;
        QApplication::setFont(m_pismo);
    }

    void windows_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("font");
        QTest::addColumn<QString>("window");
        const QStringList windows = windowChecks().keys();
        for (const auto &[tag, locale] : {std::pair{"cs", czech}, std::pair{"en", english}})
            for (const auto &[size, font] : {std::pair{"", 1.0}, std::pair{", font 1.5x", 1.5}})
                for (const QString &window : windows)
                    QTest::newRow(qPrintable(QStringLiteral("%1 %2%3").arg(QLatin1String(tag), window, QLatin1String(size))))
                        << locale << font << window;
    }

    void windows()
    {
        QFETCH(QString, window);
        windowChecks().value(window)();
    }
};

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    TestOriznuti test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_oriznuti.moc"
