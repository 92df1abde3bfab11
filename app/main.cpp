#include "app/Startup.h"
#include "app/TVitranaForm.h"
#include "app/VitranaApplication.h"
#include "db/DatabaseError.h"

int main(int argc, char *argv[])
{
    VitranaApplication app(argc, argv);
    app.quitOnTerminationSignals();
    const StartOptions options = StartOptions::parse(app.arguments());
    // A configuration that cannot be read must not fall back to the private server.
    const std::optional<Configuration> config = startConfiguration(options);
    if (!config)
        return 2;
    try {
        TVitranaForm form(*config, options.emptyHotel);
        if (!form.jePripojeno())
            return 1;
        form.createDialogs();
        form.show();
        return app.exec();
    } catch (const DatabaseError &e) {
        VitranaApplication::showError(e.text());
    } catch (const std::exception &e) {
        VitranaApplication::showError(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
