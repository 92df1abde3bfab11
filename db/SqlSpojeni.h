#pragma once

#include <QString>
#include <QStringList>

/** Statements on the connection itself: its session settings and the bracket of a save. */
namespace SqlSpojeni {

QString selectSqlMode();
QString setSqlMode(const QStringList &modes);
/** How long a statement waits for tables another connection holds, both kinds of lock. */
QString setLockWaits(int seconds);
QString selectConnectionId();

QString commit();
QString rollback();
/** A save's transaction: each statement reads what was committed before it. */
QString readCommittedNext();
QString startTransaction();
/** One row, Value ON when the server is a cluster node (none from a server without the variable). */
QString selectWsrepOn();
/** A cluster node's reads wait until the node has applied what any node committed before them. */
QString setSyncWait();
/** One row per status variable: wsrep_ready, wsrep_local_state_comment. */
QString selectWsrepState();

} // namespace SqlSpojeni
