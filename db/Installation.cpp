#include "db/Installation.h"
#include "db/DatabaseError.h"
#include "db/PrivateServer.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QFile>
#include <QRegularExpression>

namespace Installation {

namespace {
QStringList statementsOf(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Skript %1 nelze přečíst.").arg(file));
    QStringList statements;
    QString statement;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        statement += line + u'\n';
        if (trimmed.endsWith(u';')) {
            statement.chop(statement.size() - statement.lastIndexOf(u';'));
            statements << statement;
            statement.clear();
        }
    }
    if (!statement.trimmed().isEmpty())
        statements << statement;
    return statements;
}
} // namespace

void runScript(TMojeQuery &q, const QString &file)
{
    for (const QString &statement : statementsOf(file))
        q.exec(statement);
}

void createAddedTables(TMojeQuery &q)
{
    static const QRegularExpression added(QStringLiteral("^\\s*CREATE TABLE IF NOT EXISTS (\\w+)"));
    for (const QString &statement : statementsOf(QStringLiteral(":/db/schema.sql"))) {
        const QRegularExpressionMatch m = added.match(statement);
        if (!m.hasMatch())
            continue;
        q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM information_schema.TABLES "
                                "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = \"")
                 + m.captured(1) + u'"');
        q.open();
        if (q.integer(QStringLiteral("pocet")) == 0)
            q.exec(statement);
    }
}

void createTables(TMojeQuery &q, bool sampleHotel)
{
    runScript(q, QStringLiteral(":/db/schema.sql"));
    runScript(q, QStringLiteral(":/db/install.sql"));
    if (sampleHotel)
        runScript(q, QStringLiteral(":/db/sample.sql"));
}

bool createDatabaseIfMissing(const QString &socket, const QString &name, bool sampleHotel)
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plainName.match(name).hasMatch())
        throw DatabaseError(QStringLiteral("Neplatný název databáze \"%1\".").arg(name));

    Configuration admin;
    admin.mode = Configuration::Mode::MySql;
    admin.socket = socket;
    admin.name.clear();
    TMojeDatabaze db(admin);
    db.open(PrivateServer::osUser(), QString());
    TMojeQuery q(db);
    q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = \"")
             + db.format().text(name) + u'"');
    q.open();
    if (q.integer(QStringLiteral("pocet")) > 0)
        return false;

    // utf8mb4 explicitly: a server without our option file would make it latin1.
    q.exec(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(name));
    try {
        q.exec(QStringLiteral("USE `%1`").arg(name));
        createTables(q, sampleHotel);
    } catch (const DatabaseError &) {
        try {
            q.exec(QStringLiteral("DROP DATABASE `%1`").arg(name));
        } catch (const DatabaseError &) {
        }
        throw;
    }
    return true;
}

Content content(TMojeQuery &q)
{
    // The clients of sample.sql: a real hotel has none of them, and the sample
    // stays made up while its clients (and so their bookings) are there.
    static const char *const sampleClients[] = {
        "jan.novak@example.cz", "marie.svobodova@example.cz", "petr.dvorak@example.cz",
        "recepce@cerny.example.cz", "anna.mueller@example.de", "jiri.prochazka@example.cz",
    };
    QStringList emails;
    for (const char *email : sampleClients)
        emails << q.format().quotedText(QString::fromUtf8(email));
    q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM klienti_tab WHERE email IN (")
             + emails.join(QStringLiteral(", ")) + u')');
    q.open();
    if (q.integer(QStringLiteral("pocet")) > 0)
        return Content::SampleHotel;
    q.setSql(QStringLiteral("SELECT COUNT(*) AS pocet FROM pokoje_tab"));
    q.open();
    return q.integer(QStringLiteral("pocet")) > 0 ? Content::Hotel : Content::EmptyHotel;
}

} // namespace Installation
