#include "db/OhlaseniRecepci.h"

#include "db/DatabaseError.h"
#include "db/SqlFormat.h"
#include "db/TMojeDatabaze.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

QString insertDesk(const SqlFormat &f, const QString &id, const QString &pocitac)
{
    QString sql = QStringLiteral("REPLACE INTO recepce_tab (recepce_id, spojeni, uzivatel, pocitac, spusteno, tep) "
                                 "VALUES (");
    f.appendQuotedText(sql, id);
    sql += QStringLiteral(", CONNECTION_ID(), SUBSTRING_INDEX(USER(), \"@\", 1), ");
    f.appendQuotedText(sql, pocitac);
    return sql + QStringLiteral(", NOW(), NOW())");
}

QString deleteGone()
{
    // Rows of desks killed or cut off by a power loss; a day is far beyond any heartbeat.
    return QStringLiteral("DELETE FROM recepce_tab WHERE tep < NOW() - INTERVAL 1 DAY");
}

QString updateHeartbeat(const SqlFormat &f, const QString &id)
{
    return QStringLiteral("UPDATE recepce_tab SET tep = NOW(), spojeni = CONNECTION_ID() WHERE recepce_id = ")
           + f.quotedText(id);
}

QString deleteDesk(const SqlFormat &f, const QString &id)
{
    return QStringLiteral("DELETE FROM recepce_tab WHERE recepce_id = ") + f.quotedText(id);
}

QString selectOpen(const SqlFormat &f, const QString &krome)
{
    return QStringLiteral("SELECT uzivatel, pocitac, DATE_FORMAT(spusteno, '%e. %c. %Y %H:%i') FROM recepce_tab "
                          "WHERE tep >= NOW() - INTERVAL ")
           + SqlFormat::integer(OhlaseniRecepci::zivostSekund()) + QStringLiteral(" SECOND AND recepce_id <> ")
           + f.quotedText(krome) + QStringLiteral(" ORDER BY spusteno");
}

// A desk's own announcement must never disturb it: a failure is a log line.
bool run(TMojeDatabaze &databaze, const QString &sql, int *affected = nullptr)
{
    if (!databaze.isOpen() || databaze.pausing())
        return false;
    QSqlQuery q(databaze.database());
    if (!q.exec(sql)) {
        qWarning("Vitrana: recepce_tab: %s", qUtf8Printable(DatabaseError::serverText(q.lastError())));
        return false;
    }
    if (affected)
        *affected = q.numRowsAffected();
    return true;
}

} // namespace

namespace OhlaseniRecepci {

QString noveId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool ohlas(TMojeDatabaze &databaze, const QString &id)
{
    run(databaze, deleteGone());
    return run(databaze, insertDesk(databaze.format(), id, databaze.machineName()));
}

bool obnov(TMojeDatabaze &databaze, const QString &id)
{
    int affected = 0;
    if (!run(databaze, updateHeartbeat(databaze.format(), id), &affected))
        return false;
    // Gone meanwhile (a row cleared by hand): announced again.
    return affected > 0 || run(databaze, insertDesk(databaze.format(), id, databaze.machineName()));
}

void odhlas(TMojeDatabaze &databaze, const QString &id)
{
    run(databaze, deleteDesk(databaze.format(), id));
}

QStringList otevrene(TMojeDatabaze &databaze, const QString &krome)
{
    QSqlQuery q(databaze.database());
    if (!q.exec(selectOpen(databaze.format(), krome))) {
        if (q.lastError().nativeErrorCode() == QLatin1String("1146"))
            return {};   // a database older than the table
        throw DatabaseError::fromSql(q.lastError(), databaze.lockWaitSeconds());
    }
    QStringList radky;
    while (q.next())
        radky << QCoreApplication::translate("OhlaseniRecepci", "%1 na počítači %2 (od %3)")
                     .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    return radky;
}

} // namespace OhlaseniRecepci
