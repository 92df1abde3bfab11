#include "app/PrikazyZalohy.h"
#include "app/Startup.h"
#include "core/Recepce.h"

#include "db/DatabaseError.h"
#include "db/Installation.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "db/Zaloha.h"
#include "model/NahlaseniCizincu.h"
#include "model/UdajeOHotelu.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PrikazyZalohy", text);
}

void vypis(const QString &text, FILE *kam = stdout)
{
    std::fprintf(kam, "%s\n", qUtf8Printable(text));
    std::fflush(kam);
}

/** A line from the terminal; without echo for a password. */
QString radekZTerminalu(const QString &otazka, bool skryte)
{
    std::fprintf(stderr, "%s", qUtf8Printable(otazka));
    std::fflush(stderr);
    termios puvodni{};
    const bool vypnout = skryte && ::tcgetattr(STDIN_FILENO, &puvodni) == 0;
    if (vypnout) {
        termios bezOzveny = puvodni;
        bezOzveny.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &bezOzveny);
    }
    std::string radek;
    std::getline(std::cin, radek);
    if (vypnout) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &puvodni);
        std::fputs("\n", stderr);
    }
    return QString::fromLocal8Bit(radek.c_str());
}

/** The configured database, connected as the desk connects, with the private server when it is one. */
struct Spojeni
{
    Configuration config;
    // Destroyed bottom-up: the connection before the server.
    std::unique_ptr<PrivateServer> server;
    std::unique_ptr<TMojeDatabaze> databaze;

    void otevri(bool vytvorPrazdnou)
    {
        QString user;
        QString password;
        const std::optional<Prihlaseni> zPromennych = prihlaseniZProstredi();
        if (config.mode == Configuration::Mode::Private) {
            server = std::make_unique<PrivateServer>(config.privateFolder());
            server->start();
            // A backup never makes a database; a restore may fill a new, empty one.
            if (vytvorPrazdnou)
                Installation::createDatabaseIfMissing(server->socketPath(), config.name, false);
            config = spojeniNaServer(config, *server);
            user = PrivateServer::osUser();   // known to the server through unix_socket, no password
        }
        if (zPromennych) {
            user = zPromennych->user;
            password = zPromennych->password;
        } else if (!server) {
            if (!::isatty(STDIN_FILENO))
                throw DatabaseError(tr("Chybí přihlašovací údaje k databázi: nastavte proměnné prostředí "
                                       "VITRANA_DB_USER a VITRANA_DB_PASSWORD."));
            user = radekZTerminalu(tr("Uživatel databáze [%1]: ").arg(PrivateServer::osUser()), false);
            if (user.isEmpty())
                user = PrivateServer::osUser();
            password = radekZTerminalu(tr("Heslo: "), true);
        }
        // Dumping a large table reads longer than a desk's statement may wait.
        config.timeoutSeconds = std::max(config.timeoutSeconds, 600);
        databaze = std::make_unique<TMojeDatabaze>(config);
        if (server)
            databaze->setReconnectHook([s = server.get()] { s->ensureRunning(); });
        try {
            databaze->open(user, password);
        } catch (const DatabaseError &e) {
            throw DatabaseError(tr("Nepodařilo se připojit k databázi %1.").arg(config.name), e.text(), e.kind());
        }
    }
};

/** Percentages on one terminal line; nothing when stderr is a file or a pipe (cron's mail). */
PrubehZalohy prubehNaTerminalu()
{
    if (!::isatty(STDERR_FILENO))
        return {};
    return [last = -1](qint64 hotovo, qint64 celkem) mutable {
        const int procent = celkem > 0 ? int(std::min<qint64>(100, hotovo * 100 / celkem)) : 0;
        if (procent != last) {
            last = procent;
            std::fprintf(stderr, "\r%3d %%", procent);
            std::fflush(stderr);
        }
        return true;
    };
}

void konecPrubehu()
{
    if (::isatty(STDERR_FILENO))
        std::fputs("\r", stderr);
}

QString velikost(const QString &soubor)
{
    return QLocale(QLocale::Czech).formattedDataSize(QFileInfo(soubor).size());
}

int selhani(const QString &text)
{
    konecPrubehu();
    vypis(QStringLiteral("vitrana: ") + text, stderr);
    return 1;
}

} // namespace

int prikazZalohy(const StartOptions &options)
{
    const std::optional<Configuration> config = startConfiguration(options);
    if (!config)
        return 1;
    try {
        Spojeni spojeni{*config, {}, {}};
        spojeni.otevri(false);
        const QString soubor = QFileInfo(options.file).absoluteFilePath();
        Zaloha::zapis(*spojeni.databaze, soubor, prubehNaTerminalu());
        konecPrubehu();
        vypis(tr("Záloha zapsána: %1 (%2)").arg(QDir::toNativeSeparators(soubor), velikost(soubor)));
        return 0;
    } catch (const DatabaseError &e) {
        return selhani(e.text());
    }
}

int prikazObnovy(const StartOptions &options)
{
    const std::optional<Configuration> config = startConfiguration(options);
    if (!config)
        return 1;
    const QString soubor = QFileInfo(options.file).absoluteFilePath();
    QString predObnovou;
    try {
        // Refused before anything starts: not even a private server for a file that is no backup.
        Zaloha::kontrolySouboru(soubor);
        Spojeni spojeni{*config, {}, {}};
        spojeni.otevri(true);
        // Kept with the hotel's other backups on the private server, else beside the restored file.
        const QString slozka = spojeni.server ? config->automaticBackupFolder() : QFileInfo(soubor).absolutePath();
        QDir().mkpath(slozka);
        predObnovou = QDir(slozka).filePath(
            QStringLiteral("pred-obnovou-%1.sql.gz")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
        predObnovou = Zaloha::obnov(*spojeni.databaze, soubor, predObnovou, prubehNaTerminalu());
        konecPrubehu();
        vypis(tr("Databáze obnovena ze souboru %1.").arg(QDir::toNativeSeparators(soubor)));
        vypis(tr("Nahrazená data jsou uložena v souboru %1 (%2).")
                  .arg(QDir::toNativeSeparators(predObnovou), velikost(predObnovou)));
        return 0;
    } catch (const DatabaseError &e) {
        return selhani(e.text());
    }
}

int prikazUbyport(const StartOptions &options)
{
    const std::optional<Configuration> config = startConfiguration(options);
    if (!config)
        return 1;
    try {
        Spojeni spojeni{*config, {}, {}};
        spojeni.otevri(false);
        TMojeQuery q(*spojeni.databaze);
        // A database no desk of this version opened yet lacks the reported guests' table.
        Installation::createAddedTables(q);
        const QDate dnes = QDate::currentDate();
        const std::vector<HlaseniHosta> hoste = NahlaseniCizincu::kNahlaseni(q, dnes);
        if (hoste.empty()) {
            vypis(tr("Žádný cizinec nečeká na nahlášení; soubor %1 se nezapisuje.")
                      .arg(QDir::toNativeSeparators(options.file)),
                  stderr);
            return 0;
        }
        const Ubyport::Soubor s = Ubyport::soubor(UdajeHotelu().udaje(), hoste, QDateTime::currentDateTime(), dnes);
        if (!s.ok())
            return selhani(tr("soubor pro Ubyport nelze vytvořit:\n%1").arg(s.chyby.join(u'\n')));
        const QString soubor = QFileInfo(options.file).absoluteFilePath();
        QSaveFile f(soubor);
        if (!f.open(QIODevice::WriteOnly) || f.write(s.data) != s.data.size() || !f.commit())
            return selhani(tr("soubor %1 se nepodařilo zapsat: %2").arg(QDir::toNativeSeparators(soubor), f.errorString()));
        vypis(tr("Soubor pro Ubyport zapsán: %1, cizinců: %2, z toho po termínu: %3.")
                  .arg(QDir::toNativeSeparators(soubor))
                  .arg(hoste.size())
                  .arg(NahlaseniCizincu::poTerminu(hoste, dnes)),
              stderr);
        return 0;
    } catch (const DatabaseError &e) {
        return selhani(e.text());
    }
}
