// Makes the README's picture of the main window: starts the desk as the
// application does (same configuration and options), shows the main window
// on the sample hotel and saves what it draws.
//
//   vitrana_screenshot OUT.png [--config FILE] [--empty-hotel]

#include "app/Startup.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"

#include <QPixmap>
#include <QTextStream>

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: vitrana_screenshot OUT.png [--config FILE] [--empty-hotel]\n";
        return 2;
    }
    const QString out = arguments.takeAt(1);
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
        if (!form.grab().save(out)) {
            QTextStream(stderr) << "cannot write " << out << '\n';
            return 1;
        }
        return 0;
    } catch (const DatabaseError &e) {
        QTextStream(stderr) << e.text() << '\n';
    }
    return 1;
}
