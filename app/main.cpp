#include "app/Startup.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"
#include "model/Klienti.h"

#include <QCoreApplication>
#include <QLoggingCategory>

// The start of the window, for the administrator's log and the check of an installed package.
Q_LOGGING_CATEGORY(logRecepce, "vitrana.recepce")

int main(int argc, char *argv[])
{
    // A command of the terminal (a backup from cron, --help over ssh) needs no display.
    if (StartOptions::onTerminal(argc, argv)) {
        QCoreApplication app(argc, argv);
        app.setApplicationName(QStringLiteral("vitrana"));
        app.setApplicationVersion(QStringLiteral(VITRANA_VERSION));
        return runOnTerminal(StartOptions::parse(app.arguments()));
    }
    VitranaApplication app(argc, argv);
    app.quitOnTerminationSignals();
    const StartOptions options = StartOptions::parse(app.arguments());
    // A configuration that cannot be read must not fall back to the private server.
    const std::optional<Configuration> config = startConfiguration(options);
    if (!config)
        return 2;
    try {
        // The core outlives every window: declared first, destroyed last.
        const std::unique_ptr<Recepce> recepce = connectDesk(*config, options.emptyHotel);
        if (!recepce)
            return 1;
        // A display that goes away ends the process by exit(1): the desk still backs up and leaves its server.
        recepce->ukoncitIPriExit();
        TVitranaForm form(recepce.get());
        form.createDialogs();
        form.show();
        qCInfo(logRecepce, "recepce spuštěna (popisy položek klienta: %d)",
               int(PopisyPolozekKlienta().prvky().size()));
        return app.exec();
    } catch (const DatabaseError &e) {
        VitranaApplication::showError(e.text());
    } catch (const std::exception &e) {
        VitranaApplication::showError(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
