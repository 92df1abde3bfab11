// Makes the README's pictures: starts the desk as the application does (same
// configuration and options), shows the main window on the sample hotel and
// saves what it draws. With --nova-rezervace it saves instead the new
// reservation dialog with a priced stay and the price's night-by-night
// tooltip below it.
//
//   vitrana_screenshot OUT.png [--nova-rezervace] [--config FILE] [--empty-hotel]

#include "app/Startup.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"
#include "desk/TNovaRezervace.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>
#include <QToolTip>

namespace {
void choose(QWidget *dialog, const char *combo, const QString &text)
{
    auto *box = dialog->findChild<QComboBox *>(QLatin1String(combo));
    box->hidePopup();
    box->setCurrentIndex(box->findText(text));
}

/** The dialog booking room 105 for Jan Novák from the next Thursday to Sunday, its price's tooltip below. */
QPixmap novaRezervace(TVitranaForm &form)
{
    auto *dialog = form.findChild<TNovaRezervace *>();
    dialog->show();
    qApp->processEvents();
    choose(dialog, "KlientComboBox", QStringLiteral("Jan Novák"));
    choose(dialog, "PokojComboBox", QStringLiteral("105"));
    QDate thursday = QDate::currentDate().addDays(1);
    while (thursday.dayOfWeek() != Qt::Thursday)
        thursday = thursday.addDays(1);
    dialog->findChild<QDateEdit *>(QStringLiteral("DoDateTimePicker"))->setDate(thursday.addDays(3));
    dialog->findChild<QDateEdit *>(QStringLiteral("OdDateTimePicker"))->setDate(thursday);
    qApp->processEvents();

    // The tooltip goes under the dialog, so that both show whole.
    auto *cena = dialog->findChild<QLabel *>(QStringLiteral("CenaLabel"));
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
    QPixmap canvas(qMax(shot.width(), at.x() + tipShot.width()), qMax(shot.height(), at.y() + tipShot.height()));
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    p.drawPixmap(0, 0, shot);
    p.drawPixmap(at, tipShot);
    return canvas;
}
} // namespace

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: vitrana_screenshot OUT.png [--nova-rezervace] [--config FILE] [--empty-hotel]\n";
        return 2;
    }
    const QString out = arguments.takeAt(1);
    const bool dialog = arguments.removeAll(QStringLiteral("--nova-rezervace")) > 0;
    const StartOptions options = StartOptions::parse(arguments);
    if (!options.error.isEmpty()) {
        QTextStream(stderr) << options.error << '\n';
        return 2;
    }
    try {
        TVitranaForm form(Configuration::load(options.configFile), options.emptyHotel);
        if (!form.jePripojeno())
            return 1;
        form.createDialogs();
        form.show();
        app.processEvents();
        if (!(dialog ? novaRezervace(form) : form.grab()).save(out)) {
            QTextStream(stderr) << "cannot write " << out << '\n';
            return 1;
        }
        return 0;
    } catch (const DatabaseError &e) {
        QTextStream(stderr) << e.text() << '\n';
    }
    return 1;
}
