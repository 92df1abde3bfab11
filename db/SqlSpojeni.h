#pragma once

#include <QString>
#include <QStringList>

/** Statements on the connection itself: its session settings and the bracket of a locked save. */
namespace SqlSpojeni {

QString selectSqlMode();
QString setSqlMode(const QStringList &modes);
/** How long a statement waits for tables another connection holds, both kinds of lock. */
QString setLockWaits(int seconds);
QString selectConnectionId();

QString autocommitOff();
QString autocommitOn();
QString commit();
QString rollback();
QString unlockTables();

} // namespace SqlSpojeni
