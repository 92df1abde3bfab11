#include "app/Startup.h"
#include "app/PrikazyZalohy.h"
#include "app/TLoginDialog.h"
#include "gui/MessageBox.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <string_view>

namespace {

QString usage()
{
    return QCoreApplication::translate("Startup", "Použití: vitrana [--config SOUBOR] [--empty-hotel] "
                                                  "[--backup SOUBOR | --restore SOUBOR | --ubyport SOUBOR | --help | --version]");
}

} // namespace

StartOptions StartOptions::parse(const QStringList &arguments)
{
    StartOptions o;
    // An option's value: the next argument, or what follows "=" in the same one.
    auto value = [&arguments](qsizetype &i, const QString &name, QString &out) -> bool {
        const QString &a = arguments[i];
        if (a == name) {
            out = i + 1 < arguments.size() ? arguments[++i] : QString();
            return true;
        }
        if (a.startsWith(name + u'=')) {
            out = a.mid(name.size() + 1);
            return true;
        }
        return false;
    };
    auto command = [&o](Command c, const QString &name) {
        if (o.command != Command::Desk && o.command != c)
            o.error = QCoreApplication::translate("Startup", "Parametr %1 nejde spojit s jiným příkazem.\n%2")
                          .arg(name, usage());
        o.command = c;
    };
    QString file;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (value(i, QStringLiteral("--config"), o.configFile)) {
            o.configGiven = true;
            if (o.configFile.isEmpty())
                o.error = QCoreApplication::translate("Startup", "Za --config chybí jméno konfiguračního souboru.");
        } else if (a == QLatin1String("--empty-hotel"))
            o.emptyHotel = true;
        else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            command(Command::Help, a);
        else if (a == QLatin1String("--version") || a == QLatin1String("-v"))
            command(Command::Version, a);
        else if (value(i, QStringLiteral("--backup"), file) || value(i, QStringLiteral("--restore"), file)) {
            const bool backup = a.startsWith(QLatin1String("--backup"));
            const QString name = backup ? QStringLiteral("--backup") : QStringLiteral("--restore");
            command(backup ? Command::Backup : Command::Restore, name);
            o.file = file;
            if (o.file.isEmpty())
                o.error = QCoreApplication::translate("Startup", "Za %1 chybí jméno souboru se zálohou.").arg(name);
        } else if (value(i, QStringLiteral("--ubyport"), file)) {
            command(Command::Ubyport, QStringLiteral("--ubyport"));
            o.file = file;
            if (o.file.isEmpty())
                o.error = QCoreApplication::translate("Startup", "Za --ubyport chybí jméno souboru pro Ubyport.");
        } else if (o.error.isEmpty()) {
            // The first one: what follows a mistyped option may be its value.
            o.error = QCoreApplication::translate("Startup", "Neznámý parametr %1.\n%2").arg(a, usage());
        }
    }
    if (!o.configGiven)
        o.configFile = Configuration::defaultFile();
    return o;
}

bool StartOptions::onTerminal(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const std::string_view a(argv[i]);
        for (const std::string_view c : {"-h", "--help", "-v", "--version", "--backup", "--restore", "--ubyport"})
            if (a == c || (c.starts_with("--") && a.starts_with(c) && a.size() > c.size() && a[c.size()] == '='))
                return true;
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // A mistyped option is answered on the terminal too: a cron job has no
    // display to open a window on, and must get the usage and status 2.
    return !parse(arguments).error.isEmpty();
}

QString StartOptions::helpText()
{
    return usage() + QLatin1String("\n\n")
           + QCoreApplication::translate(
               "Startup",
               "Recepce malého hotelu: obsazenost pokojů, klienti, rezervace a spolupráce s webem hotelu.\n"
               "\n"
               "  --config SOUBOR    konfigurační soubor (jinak %1)\n"
               "  --empty-hotel      nová soukromá databáze bez ukázkového hotelu\n"
               "  --backup SOUBOR    zapíše zálohu databáze hotelu do souboru a skončí\n"
               "  --restore SOUBOR   obnoví databázi hotelu ze zálohy a skončí (jen když není\n"
               "                     připojena žádná jiná recepce; nahrazená data se předtím zálohují)\n"
               "  --ubyport SOUBOR   zapíše soubor pro Ubyport se všemi dosud nenahlášenými cizinci\n"
               "                     a skončí (počet na stderr; bez cizinců soubor nezapíše)\n"
               "  -h, --help         vypíše tuto nápovědu\n"
               "  -v, --version      vypíše verzi\n")
               .arg(QDir::toNativeSeparators(Configuration::defaultFile()));
}

QString StartOptions::versionText()
{
    return QStringLiteral("vitrana " VITRANA_VERSION "\n");
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

int runOnTerminal(const StartOptions &options)
{
    if (!options.error.isEmpty()) {
        reportStartupError(options.error);
        return 2;
    }
    switch (options.command) {
    case StartOptions::Command::Help:
        std::fputs(qUtf8Printable(StartOptions::helpText()), stdout);
        return 0;
    case StartOptions::Command::Version:
        std::fputs(qUtf8Printable(StartOptions::versionText()), stdout);
        return 0;
    case StartOptions::Command::Backup:
        return prikazZalohy(options);
    case StartOptions::Command::Restore:
        return prikazObnovy(options);
    case StartOptions::Command::Ubyport:
        return prikazUbyport(options);
    case StartOptions::Command::Desk:
        break;
    }
    return 2;
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
    // Told at the start, before the first save fails for it.
    if (const QString prava = recepce->upozorneniNaPrava(); !prava.isEmpty())
        MessageBox::varovani(parent, prava);
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
