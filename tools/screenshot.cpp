// Makes the README's pictures: starts the desk as the application does (same
// configuration and options) on the sample hotel and saves what each of its
// windows draws into DIR, one PNG each: the main window, the login prompt,
// every dialog with a choice made in it as a receptionist would make it, the
// new reservation with its price's night-by-night tooltip below it, and the
// web dialog after an export and an import with the companion site.
//
//   vitrana_screenshot DIR [--config FILE] [--empty-hotel]

#include "admin/TAdministracePokoje.h"
#include "admin/TAdministraceSkupinyPokoju.h"
#include "admin/TAdministraceTypyDni.h"
#include "admin/TAdministraceTypyPokoju.h"
#include "admin/TDefinovaniCen.h"
#include "admin/THistorieZmen.h"
#include "admin/TNastaveniDnuUTypuDne.h"
#include "admin/TPrehledy.h"
#include "admin/TUdajeOHotelu.h"
#include "app/Startup.h"
#include "app/TAboutBox.h"
#include "app/TLoginDialog.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"
#include "db/TMojeQuery.h"
#include "desk/TKlientiUpravUdaje.h"
#include "desk/TNovaRezervace.h"
#include "desk/TPridaniKlienta.h"
#include "desk/TPrijezdHosta.h"
#include "desk/TPrijezdyAOdjezdy.h"
#include "desk/TRezervaceSmazRezervaci.h"
#include "desk/TStavPokoju.h"
#include "desk/TUbyport.h"
#include "web/TAdministraceSpolupraceSWebem.h"
#include "WebSimulator.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <type_traits>

namespace {
QDir outDir;
bool failed = false;

template <class Control>
Control *control(QWidget *window, const char *name)
{
    auto *c = window->findChild<Control *>(QLatin1String(name));
    if (!c)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return c;
}

void save(const QPixmap &picture, const QString &file)
{
    const QString path = outDir.filePath(file);
    if (picture.save(path)) {
        QTextStream(stdout) << path << " written\n";
    } else {
        QTextStream(stderr) << "cannot write " << path << '\n';
        failed = true;
    }
}

/** Lets the desk work until the condition holds, at most ten seconds. */
bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

/** Chooses a line of a drop-down list as a user does (the list closed, the choice signalled). */
void choose(QWidget *window, const char *combo, const QString &text)
{
    auto *box = control<QComboBox>(window, combo);
    box->hidePopup();
    const int i = box->findText(text);
    box->setCurrentIndex(i);
    emit box->activated(i);
}

void select(QWidget *window, const char *list, const QStringList &lines)
{
    auto *box = control<QListWidget>(window, list);
    for (const QString &line : lines)
        for (QListWidgetItem *item : box->findItems(line, Qt::MatchExactly))
            box->setCurrentItem(item, QItemSelectionModel::Select);
}

void type(QWidget *window, const char *edit, const QString &text)
{
    control<QLineEdit>(window, edit)->setText(text);
}

/**
 * Opens a dialog modally with `open`; as soon as it shows, `act` makes its
 * choices, the picture is saved and the dialog closed again (Storno: nothing
 * is stored).
 */
template <class Dialog>
void shoot(const std::function<void()> &open, const std::function<QPixmap(Dialog *)> &act, const QString &file)
{
    // Fires inside the dialog's own event loop; gone with this call should the dialog not open.
    QTimer shown;
    shown.setSingleShot(true);
    QObject::connect(&shown, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTextStream(stderr) << file << ": " << Dialog::staticMetaObject.className() << " did not open\n";
            failed = true;
            return;
        }
        qApp->processEvents();
        save(act(dialog), file);
        dialog->reject();
    });
    shown.start(0);
    open();
}

/** The same for a dialog shown as its menu item shows it. */
template <class Dialog>
void shoot(Dialog *dialog, const std::type_identity_t<std::function<void(Dialog *)>> &act, const QString &file)
{
    shoot<Dialog>([dialog] { dialog->ukaz(); }, [&](Dialog *d) {
        if (act)
            act(d);
        qApp->processEvents();
        return d->grab();
    }, file);
}

/** Room 105 for Jan Novák from the next Thursday to Sunday, the price's tooltip below the dialog. */
QPixmap novaRezervace(TNovaRezervace *dialog)
{
    choose(dialog, "KlientComboBox", QStringLiteral("Jan Novák"));
    choose(dialog, "PokojComboBox", QStringLiteral("105"));
    QDate thursday = QDate::currentDate().addDays(1);
    while (thursday.dayOfWeek() != Qt::Thursday)
        thursday = thursday.addDays(1);
    control<QDateEdit>(dialog, "DoDateTimePicker")->setDate(thursday.addDays(3));
    control<QDateEdit>(dialog, "OdDateTimePicker")->setDate(thursday);
    qApp->processEvents();

    // The tooltip goes under the dialog, so that both show whole.
    auto *cena = control<QLabel>(dialog, "CenaLabel");
    const QPoint at(cena->x(), dialog->height() + 2);
    QToolTip::showText(dialog->mapToGlobal(at), cena->toolTip(), cena);
    qApp->processEvents();
    QWidget *tip = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    const QPixmap shot = dialog->grab();
    if (!tip)
        return shot;
    const QPixmap tipShot = tip->grab();
    QToolTip::hideText();
    QPixmap canvas(qMax(shot.width(), at.x() + tipShot.width()), qMax(shot.height(), at.y() + tipShot.height()));
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    p.drawPixmap(0, 0, shot);
    p.drawPixmap(at, tipShot);
    return canvas;
}

/** The prices export, then an import of two guests' reservations from the companion site in-process. */
void spolupraceSWebem(TAdministraceSpolupraceSWebem *dialog)
{
    WebSimulator::Nastaveni nastaveni;
    nastaveni.portDesky = dialog->portNaslouchani();
    WebSimulator *site = new WebSimulator(nastaveni, dialog);
    // The port the README suggests for the companion site, when it is free.
    if (!site->listen(QHostAddress::LocalHost, 8080))
        site->listen(QHostAddress::LocalHost, 0);
    const QString day = QStringLiteral("yyyy-MM-dd");
    const QDate today = QDate::currentDate();
    site->pridejRezervaci({QString(), QStringLiteral("2"), today.addDays(30).toString(day),
                           today.addDays(32).toString(day), QStringLiteral("3600"), QStringLiteral("Klára Veselá"),
                           QStringLiteral("+420 606 123 456"), QStringLiteral("klara.vesela@example.cz"),
                           QStringLiteral("Česká republika")});
    site->pridejRezervaci({QString(), QStringLiteral("4"), today.addDays(40).toString(day),
                           today.addDays(43).toString(day), QStringLiteral("10400"), QStringLiteral("Thomas Wagner"),
                           QStringLiteral("+43 1 234 5678"), QStringLiteral("thomas.wagner@example.at"),
                           QStringLiteral("Rakousko")});

    type(dialog, "AdresaEdit", QStringLiteral("127.0.0.1:%1").arg(site->port()));
    SpolupraceSWebem *web = dialog->spoluprace();
    control<QPushButton>(dialog, "ExportCenObsazenostiButton")->click();
    const bool exported = waitFor([web] { return web->posledniExport().cas.isValid(); });
    control<QPushButton>(dialog, "ImportRezervaciButton")->click();
    if (!exported || !waitFor([web] { return web->posledniImport().cas.isValid() && web->cekani().isEmpty(); })) {
        QTextStream(stderr) << "the companion site did not answer\n";
        failed = true;
    }
}

void shootAll(TVitranaForm &form)
{
    save(form.grab(), QStringLiteral("screenshot.png"));

    shoot(form.findChild<TAboutBox *>(), {}, QStringLiteral("o-aplikaci.png"));
    {
        TLoginDialog login(QStringLiteral("hotel"), QStringLiteral("recepce"), &form);
        login.show();
        qApp->processEvents();
        save(login.grab(), QStringLiteral("prihlaseni.png"));
    }
    shoot(form.findChild<TAdministracePokoje *>(), [](QWidget *d) {
        select(d, "NadefinovanePokojeListBox", {QStringLiteral("104"), QStringLiteral("105")});
        type(d, "NovyPokojEdit", QStringLiteral("108"));
        select(d, "TypyPokojuListBox", {QStringLiteral("Dvoulůžkový")});
    }, QStringLiteral("pokoje.png"));
    shoot(form.findChild<TAdministraceSkupinyPokoju *>(), [](QWidget *d) {
        select(d, "SkupinyPokojuListBox", {QStringLiteral("2. patro")});
        select(d, "VsechnyPokojeListBox", {QStringLiteral("304"), QStringLiteral("305")});
    }, QStringLiteral("skupiny-pokoju.png"));
    shoot(form.findChild<TAdministraceTypyPokoju *>(), [](QWidget *d) {
        select(d, "TypyPokojuListBox", {QStringLiteral("Dvoulůžkový")});
    }, QStringLiteral("typy-pokoju.png"));
    auto *ceny = form.findChild<TDefinovaniCen *>();
    shoot<TDefinovaniCen>([ceny] { ceny->ukaz({2}); }, [](TDefinovaniCen *d) {
        select(d, "TypyDniListBox", {QStringLiteral("Víkend")});
        select(d, "TypyKlientuListBox", {QStringLiteral("Individuální host"), QStringLiteral("Host z webu")});
        type(d, "CenaEdit", QStringLiteral("1950"));
        return d->grab();
    }, QStringLiteral("definovani-cen.png"));
    shoot(form.findChild<TAdministraceTypyDni *>(), [](QWidget *d) {
        select(d, "TypyDniListBox", {QStringLiteral("Víkend")});
    }, QStringLiteral("typy-dni.png"));
    auto *dny = form.findChild<TNastaveniDnuUTypuDne *>();
    shoot<TNastaveniDnuUTypuDne>([dny] { dny->OtevriProTyp(2); }, [](TNastaveniDnuUTypuDne *d) {
        auto *dniTydne = control<QListWidget>(d, "PridejDnyCheckListBox");
        for (int den : {4, 5})   // Friday and Saturday nights
            dniTydne->item(den)->setCheckState(Qt::Checked);
        const QDate today = QDate::currentDate();
        control<QDateEdit>(d, "OdDateTimePicker")->setDate(QDate(today.year() + 1, 1, 1));
        control<QDateEdit>(d, "DoDateTimePicker")->setDate(QDate(today.year() + 1, 12, 31));
        return d->grab();
    }, QStringLiteral("nastaveni-dnu.png"));

    auto *nova = form.findChild<TNovaRezervace *>();
    shoot<TNovaRezervace>([nova] { nova->ukaz(); }, &novaRezervace, QStringLiteral("nova-rezervace.png"));
    shoot(form.findChild<TRezervaceSmazRezervaci *>(), [](QWidget *d) {
        choose(d, "KlientComboBox", QStringLiteral("Jan Novák"));
        select(d, "RezervaceListBox", {QStringLiteral("7")});
    }, QStringLiteral("smaz-rezervaci.png"));
    shoot(form.findChild<TPridaniKlienta *>(), [](QWidget *d) {
        choose(d, "TypKlientaComboBox", QStringLiteral("Individuální host"));
        const std::pair<const char *, QString> fields[] = {
            {"jmenoEdit", QStringLiteral("Eva Králová")},           {"adresaEdit", QStringLiteral("Zahradní 21")},
            {"mestoEdit", QStringLiteral("České Budějovice")},      {"telefonEdit", QStringLiteral("+420 607 222 333")},
            {"emailEdit", QStringLiteral("eva.kralova@example.cz")}, {"statEdit", QStringLiteral("Česká republika")}};
        for (const auto &[edit, text] : fields)
            type(d, edit, text);
    }, QStringLiteral("novy-klient.png"));
    shoot(form.findChild<TKlientiUpravUdaje *>(), [](QWidget *d) {
        choose(d, "KlientiComboBox", QStringLiteral("Anna Müller"));
    }, QStringLiteral("uprav-udaje.png"));

    // The import stores the site's reservations.
    shoot<TAdministraceSpolupraceSWebem>(form.spolupraceSWebem(), &spolupraceSWebem,
                                         QStringLiteral("spoluprace-s-webem.png"));
    // After it: the day's lists, the month's figures and the history hold what it stored.
    shoot(form.findChild<TPrijezdyAOdjezdy *>(), {}, QStringLiteral("prijezdy-a-odjezdy.png"));
    shoot(form.findChild<TPrehledy *>(), {}, QStringLiteral("prehledy.png"));
    shoot(form.findChild<THistorieZmen *>(), {}, QStringLiteral("historie-zmen.png"));
    shoot(form.findChild<TUdajeOHotelu *>(), [](QWidget *d) {
        const std::pair<const char *, QString> fields[] = {
            {"ProvozovatelEdit", QStringLiteral("Penzion U Lípy s.r.o.")}, {"ProvozovatelAdresaEdit", QStringLiteral("Lipová 12, 381 01 Český Krumlov")},
            {"IcoEdit", QStringLiteral("25596641")},                       {"DicEdit", QStringLiteral("CZ25596641")},
            {"ZarizeniEdit", QStringLiteral("Penzion U Lípy")},           {"OkresEdit", QStringLiteral("Český Krumlov")},
            {"ObecEdit", QStringLiteral("Český Krumlov")},                {"CastObceEdit", QStringLiteral("Vnitřní Město")},
            {"UliceEdit", QStringLiteral("Lipová")},                      {"CisloDomovniEdit", QStringLiteral("12")},
            {"PscEdit", QStringLiteral("381 01")},                        {"KontaktEdit", QStringLiteral("+420 380 123 456")},
            {"IdubEdit", QStringLiteral("123456789012")},                 {"ZkratkaEdit", QStringLiteral("ULIPY")},
            {"SazbaPoplatkuEdit", QStringLiteral("21,00")},               {"BankovniUcetEdit", QStringLiteral("CZ65 0800 0000 1920 0014 5399")}};
        for (const auto &[edit, text] : fields)
            type(d, edit, text);
    }, QStringLiteral("udaje-o-hotelu.png"));
    // Some rooms dirty or inspected first, as a morning at the desk has them.
    for (const auto &[cislo, stav] : {std::pair{QStringLiteral("102"), Uklid::Spinavy}, std::pair{QStringLiteral("104"), Uklid::Zkontrolovany}})
        for (const StavPokoje &p : [] { TMojeQuery q; return StavyPokoju::nacti(q, QDate::currentDate()); }())
            if (p.cislo_pokoje == cislo)
                StavyPokoju::zmen(p.pokoj_id, p.cislo_pokoje, p.stav, stav);
    // And one room out of order from today, the first from the end that has no guests then.
    {
        TMojeQuery q;
        std::vector<StavPokoje> pokoje = StavyPokoju::nacti(q, QDate::currentDate());
        for (auto p = pokoje.rbegin(); p != pokoje.rend(); ++p)
            if (MimoProvozPokoju::pridej({-1, p->pokoj_id, QDate::currentDate(), QDate::currentDate().addDays(2),
                                          QStringLiteral("Výměna koberce")},
                                         p->cislo_pokoje, nullptr) > 0)
                break;
    }
    shoot(form.findChild<TStavPokoju *>(), {}, QStringLiteral("stav-pokoju.png"));
    // A guest of today's first arrival, typed as the receptionist types them.
    shoot(form.findChild<TPrijezdHosta *>(), [](QWidget *d) {
        // As typed: the window follows what the receptionist edits.
        const auto napis = [d](const char *edit, const QString &text) {
            auto *e = control<QLineEdit>(d, edit);
            e->setText(text);
            emit e->textEdited(text);
        };
        napis("JmenoEdit", QStringLiteral("Jana"));
        napis("PrijmeniEdit", QStringLiteral("Horáková"));
        napis("DatumNarozeniEdit", QStringLiteral("12. 5. 1984"));
        napis("UliceEdit", QStringLiteral("Lipová 12"));
        napis("MestoEdit", QStringLiteral("Brno"));
        napis("PscEdit", QStringLiteral("602 00"));
    }, QStringLiteral("prijezd-hosta.png"));
    shoot(form.findChild<TUbyport *>(), {}, QStringLiteral("ubyport.png"));
}
} // namespace

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.size() < 2 || arguments[1].startsWith(QLatin1String("--"))) {
        QTextStream(stderr) << "usage: vitrana_screenshot DIR [--config FILE] [--empty-hotel]\n";
        return 2;
    }
    outDir = QDir(arguments.takeAt(1));
    const StartOptions options = StartOptions::parse(arguments);
    const std::optional<Configuration> config = startConfiguration(options);
    if (!config)
        return 2;
    try {
        const std::unique_ptr<Recepce> recepce = connectDesk(*config, options.emptyHotel);
        if (!recepce)
            return 1;
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        app.processEvents();
        shootAll(form);
        return failed ? 1 : 0;
    } catch (const DatabaseError &e) {
        QTextStream(stderr) << e.text() << '\n';
    }
    return 1;
}
