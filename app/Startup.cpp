#include "app/Startup.h"
#include "app/TLoginDialog.h"
#include "gui/MessageBox.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <cstdio>

StartOptions StartOptions::parse(const QStringList &arguments)
{
    StartOptions o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--config") || a.startsWith(QLatin1String("--config="))) {
            const bool separate = a == QLatin1String("--config");
            o.configFile = separate ? (i + 1 < arguments.size() ? arguments[++i] : QString()) : a.mid(9);
            o.configGiven = true;
            if (o.configFile.isEmpty())
                o.error = QCoreApplication::translate("Startup", "Za --config chybí jméno konfiguračního souboru.");
        } else if (a == QLatin1String("--empty-hotel"))
            o.emptyHotel = true;
        else
            o.error = QCoreApplication::translate("Startup", "Neznámý parametr %1.\n"
                                                             "Použití: vitrana [--config SOUBOR] [--empty-hotel]")
                          .arg(a);
    }
    if (!o.configGiven)
        o.configFile = Configuration::defaultFile();
    return o;
}

Configuration StartOptions::configuration() const
{
    return Configuration::load(configFile, configGiven);
}

std::optional<Configuration> startConfiguration(const StartOptions &options)
{
    if (!options.error.isEmpty()) {
        reportStartupError(options.error);
        return std::nullopt;
    }
    try {
        return options.configuration();
    } catch (const ConfigurationError &e) {
        reportStartupError(e.text() + u'\n'
                           + QCoreApplication::translate("Startup", "Recepce se s touto konfigurací nespustí."));
    }
    return std::nullopt;
}

void reportStartupError(const QString &text)
{
    std::fprintf(stderr, "vitrana: %s\n", qUtf8Printable(text));
    std::fflush(stderr);
    const QString platform = QGuiApplication::platformName();
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal"))
        MessageBox::chyba(nullptr, text, QMessageBox::Critical);
}

DotazNaPrihlaseni loginPrompt(QWidget *parent)
{
    return [parent](const QString &databaze, const QString &user) -> std::optional<Prihlaseni> {
        TLoginDialog login(databaze, user, parent);
        if (login.exec() != QDialog::Accepted)
            return std::nullopt;
        return Prihlaseni{login.userName(), login.password()};
    };
}

std::unique_ptr<Recepce> connectDesk(const Configuration &config, bool emptyHotel, QWidget *parent)
{
    showBusyCursorWhileWaiting();
    auto recepce = std::make_unique<Recepce>(config, emptyHotel);
    try {
        recepce->pripoj(loginPrompt(parent));
    } catch (const DatabaseError &e) {
        MessageBox::chyba(parent, QCoreApplication::translate("Startup", "Nepodařilo se připojit k databázi."),
                          QMessageBox::Critical, e.text());
        return nullptr;
    }
    return recepce;
}

void showBusyCursorWhileWaiting()
{
    TMojeDatabaze::setWaitIndicator(&showBusyCursor);
}

void showBusyCursor(bool waiting)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    if (waiting)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}
