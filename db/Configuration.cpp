#include "db/Configuration.h"
#include "db/DatabaseError.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

QString Configuration::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
           + QStringLiteral("/hotel.conf");
}

QString Configuration::defaultDatadir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/mariadb");
}

static int readNumber(const QSettings &ini, const QString &key, int fallback, int lowest, int highest)
{
    const QVariant value = ini.value(key);
    if (!value.isValid())
        return fallback;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok || number < lowest || number > highest)
        throw DatabaseError(QStringLiteral("Neplatná hodnota %1 = \"%2\" v konfiguraci.")
                                .arg(key, value.toString()));
    return number;
}

static int readPort(const QSettings &ini, const QString &key, int fallback)
{
    return readNumber(ini, key, fallback, 1, 65535);
}

Configuration Configuration::load(const QString &file)
{
    Configuration c;
    if (file.isEmpty() || !QFileInfo::exists(file))
        return c;

    QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw DatabaseError(QStringLiteral("Konfiguraci %1 nelze přečíst.").arg(file));

    const QString mode = ini.value("database/mode", "private").toString().trimmed().toLower();
    if (mode == QLatin1String("private"))
        c.mode = Mode::Private;
    else if (mode == QLatin1String("mysql"))
        c.mode = Mode::MySql;
    else if (mode == QLatin1String("odbc"))
        c.mode = Mode::Odbc;
    else
        throw DatabaseError(QStringLiteral("Neplatná hodnota database/mode = \"%1\" v konfiguraci %2.")
                                .arg(mode, file));

    c.host = ini.value("database/host", c.host).toString();
    c.port = readPort(ini, "database/port", c.port);
    c.socket = ini.value("database/socket").toString();
    c.name = ini.value("database/name", c.name).toString();
    c.dsn = ini.value("database/dsn", c.dsn).toString();
    c.datadir = ini.value("database/datadir").toString();
    c.lockWaitSeconds = readNumber(ini, "database/lock_wait", c.lockWaitSeconds, 1, 3600);
    c.timeoutSeconds = readNumber(ini, "database/timeout", c.timeoutSeconds, 1, 3600);
    c.listenPort = readPort(ini, "web/listen_port", c.listenPort);
    return c;
}
