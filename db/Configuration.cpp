#include "db/Configuration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Configuration", text);
}

// A configuration has a dozen lines; more is not a configuration (a device, a
// log named by mistake) and must not be read whole.
constexpr qint64 largestFile = 64 * 1024;

const QStringList databaseKeys{"mode", "host", "port", "socket", "name", "dsn", "datadir", "lock_wait", "timeout"};
const QStringList webKeys{"listen_port"};
const QStringList backupKeys{"keep", "folder"};

const QStringList &keysOf(const QString &section)
{
    return section == QLatin1String("web") ? webKeys : section == QLatin1String("backup") ? backupKeys : databaseKeys;
}

class Reader
{
public:
    explicit Reader(const QString &file) : m_file(file) {}

    Configuration read(const QByteArray &content);

private:
    void readLine(const QString &text);
    void set(const QString &key, const QString &value);
    int number(const QString &key, const QString &value, int lowest, int highest) const;
    QString path(const QString &value) const;
    [[noreturn]] void fail(const QString &problem, int line = -1) const
    {
        throw ConfigurationError(m_file, line < 0 ? m_line : line, problem);
    }

    QString m_file;
    Configuration m_config;
    QString m_section;
    QHash<QString, int> m_seen;   // "section/key" -> its line
    int m_line = 0;
};

Configuration Reader::read(const QByteArray &content)
{
    QByteArray bytes = content;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray raw : lines) {
        ++m_line;
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8(raw);
        if (utf8.hasError())
            fail(tr("není text v kódování UTF-8."));
        for (const QChar c : text)
            if (c.category() == QChar::Other_Control && c != u'\t')
                fail(tr("obsahuje řídicí znak (kód %1).").arg(c.unicode()));
        readLine(text.trimmed());
    }

    // The database name of the private server becomes a folder of the server.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (m_config.mode == Configuration::Mode::Private && !plainName.match(m_config.name).hasMatch())
        fail(tr("název databáze soukromého serveru smí mít jen písmena bez diakritiky, číslice a _."),
             m_seen.value(QStringLiteral("database/name")));
    return m_config;
}

void Reader::readLine(const QString &text)
{
    if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#'))
        return;

    if (text.startsWith(u'[')) {
        const qsizetype end = text.indexOf(u']');
        if (end < 0)
            fail(tr("chybí ] na konci názvu sekce."));
        if (end != text.size() - 1)
            fail(tr("za ] nesmí na řádku nic být; každý klíč patří na vlastní řádek."));
        const QString name = text.mid(1, end - 1).trimmed();
        m_section = name.toLower();
        if (m_section != QLatin1String("database") && m_section != QLatin1String("web")
            && m_section != QLatin1String("backup"))
            fail(tr("neznámá sekce [%1]; známé jsou [database], [web] a [backup].").arg(name));
        return;
    }

    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        fail(tr("není [sekce], klíč = hodnota, komentář ani prázdný řádek."));
    const QString key = text.left(equals).trimmed();
    QString value = text.mid(equals + 1).trimmed();
    if (key.isEmpty())
        fail(tr("před = chybí název klíče."));
    if (m_section.isEmpty())
        fail(tr("klíč %1 stojí před první sekcí ([database], [web] nebo [backup]).").arg(key));
    const QString lowerKey = key.toLower();
    if (!keysOf(m_section).contains(lowerKey))
        fail(tr("neznámý klíč %1 v sekci [%2]; známé jsou %3.")
                 .arg(key, m_section, keysOf(m_section).join(QStringLiteral(", "))));
    const QString id = m_section + u'/' + lowerKey;
    if (m_seen.contains(id))
        fail(tr("klíč %1 je v sekci [%2] už na řádku %3.").arg(key, m_section, QString::number(m_seen.value(id))));
    m_seen.insert(id, m_line);

    if (value.startsWith(u'"')) {
        if (value.size() < 2 || !value.endsWith(u'"'))
            fail(tr("hodnota klíče %1 nemá uzavírací uvozovky.").arg(key));
        value = value.mid(1, value.size() - 2);
    }
    if (value.isEmpty())
        fail(tr("klíč %1 nemá hodnotu.").arg(key));
    set(id, value);
}

void Reader::set(const QString &key, const QString &value)
{
    Configuration &c = m_config;
    if (key == QLatin1String("database/mode")) {
        const QString mode = value.toLower();
        if (mode == QLatin1String("private"))
            c.mode = Configuration::Mode::Private;
        else if (mode == QLatin1String("mysql"))
            c.mode = Configuration::Mode::MySql;
        else if (mode == QLatin1String("odbc"))
            c.mode = Configuration::Mode::Odbc;
        else
            fail(tr("neznámý režim mode = %1; platné jsou private, mysql a odbc.").arg(value));
    } else if (key == QLatin1String("database/host")) {
        // A list of servers: blanks after the commas are allowed.
        static const QRegularExpression blank(QStringLiteral("\\s"));
        QStringList servers = value.split(u',');
        for (QString &server : servers) {
            server = server.trimmed();
            if (server.isEmpty())
                fail(tr("v seznamu serverů host = \"%1\" chybí server mezi čárkami.").arg(value));
            if (server.contains(blank))
                fail(tr("název serveru host = \"%1\" nesmí obsahovat mezery.").arg(value));
            static const QRegularExpression withPort(QStringLiteral("^(\\[[^\\]]+\\]|[^:\\[\\]]+)(?::(.*))?$"));
            const QRegularExpressionMatch m = withPort.match(server);
            if (!m.hasMatch())
                fail(tr("server \"%1\" v host: zapište ho jako název nebo adresu, případně s portem za dvojtečkou "
                        "(\"db1:3307\", \"[::1]:3307\").").arg(server));
            if (m.hasCaptured(2))
                number(QStringLiteral("port"), m.captured(2), 1, 65535);
        }
        c.host = servers.join(u',');
    } else if (key == QLatin1String("database/port")) {
        c.port = number(QStringLiteral("port"), value, 1, 65535);
    } else if (key == QLatin1String("database/socket")) {
        c.socket = path(value);
    } else if (key == QLatin1String("database/name")) {
        c.name = value;
    } else if (key == QLatin1String("database/dsn")) {
        c.dsn = value;
    } else if (key == QLatin1String("database/datadir")) {
        c.datadir = path(value);
    } else if (key == QLatin1String("database/lock_wait")) {
        c.lockWaitSeconds = number(QStringLiteral("lock_wait"), value, 1, 3600);
    } else if (key == QLatin1String("database/timeout")) {
        c.timeoutSeconds = number(QStringLiteral("timeout"), value, 1, 3600);
    } else if (key == QLatin1String("web/listen_port")) {
        c.listenPort = number(QStringLiteral("listen_port"), value, 1, 65535);
    } else if (key == QLatin1String("backup/keep")) {
        c.backupKeep = number(QStringLiteral("keep"), value, 1, 1000);
    } else if (key == QLatin1String("backup/folder")) {
        c.backupFolder = path(value);
    }
}

int Reader::number(const QString &key, const QString &value, int lowest, int highest) const
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    const bool ok = digits.match(value).hasMatch();
    const int n = ok ? value.toInt() : 0;
    if (!ok || n < lowest || n > highest)
        fail(tr("%1 = %2 není celé číslo od %3 do %4.")
                 .arg(key, value, QString::number(lowest), QString::number(highest)));
    return n;
}

QString Reader::path(const QString &value) const
{
    // The desk may be started from any folder, and nothing expands "~" here.
    if (!QDir::isAbsolutePath(value))
        fail(tr("cesta \"%1\" musí být úplná, od kořene (/…); ~ se nerozvíjí.").arg(value));
    return value;
}

} // namespace

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

QList<Configuration::Server> Configuration::servers() const
{
    QList<Server> list;
    for (const QString &entry : host.split(u',', Qt::SkipEmptyParts)) {
        const QString server = entry.trimmed();
        Server s{server, port};
        const qsizetype bracket = server.lastIndexOf(u']');
        const qsizetype colon = server.lastIndexOf(u':');
        if (server.startsWith(u'[')) {
            s.host = server.mid(1, bracket - 1);
            if (colon > bracket)
                s.port = server.mid(colon + 1).toInt();
        } else if (colon >= 0) {
            s.host = server.left(colon);
            s.port = server.mid(colon + 1).toInt();
        }
        list << s;
    }
    if (list.isEmpty())
        list << Server{QStringLiteral("localhost"), port};
    return list;
}

QString Configuration::privateFolder() const
{
    return datadir.isEmpty() ? defaultDatadir() : datadir;
}

QString Configuration::automaticBackupFolder() const
{
    return backupFolder.isEmpty() ? privateFolder() + QStringLiteral("/backups") : backupFolder;
}

Configuration Configuration::load(const QString &file, bool required)
{
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink()) {
        if (required)
            throw ConfigurationError(file, 0, tr("soubor neexistuje."));
        return Configuration();
    }
    // Only a file that is not there at all means the defaults.
    if (!info.exists())
        throw ConfigurationError(file, 0, tr("odkaz vede na soubor, který neexistuje."));
    if (info.isDir())
        throw ConfigurationError(file, 0, tr("je to složka, ne soubor."));
    if (!info.isFile())
        throw ConfigurationError(file, 0, tr("není obyčejný soubor."));

    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw ConfigurationError(file, 0, tr("soubor nelze přečíst (%1).").arg(f.errorString()));
    const QByteArray content = f.read(largestFile + 1);
    if (f.error() != QFileDevice::NoError)
        throw ConfigurationError(file, 0, tr("soubor nelze přečíst (%1).").arg(f.errorString()));
    if (content.size() > largestFile)
        throw ConfigurationError(file, 0, tr("soubor je větší než %1 KiB, to není konfigurace.").arg(largestFile / 1024));
    return parse(content, file);
}

Configuration Configuration::parse(const QByteArray &content, const QString &file)
{
    return Reader(file).read(content);
}

ConfigurationError::ConfigurationError(const QString &file, int line, const QString &problem)
    : DatabaseError(line > 0 ? tr("Konfigurace %1, řádek %2: %3").arg(file, QString::number(line), problem)
                             : tr("Konfigurace %1: %2").arg(file, problem)),
      m_file(file), m_line(line), m_problem(problem)
{
}
