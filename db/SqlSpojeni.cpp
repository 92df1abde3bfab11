#include "db/SqlSpojeni.h"
#include "db/SqlFormat.h"

namespace SqlSpojeni {

QString selectSqlMode() { return QStringLiteral("SELECT @@SESSION.sql_mode AS sql_mode"); }

QString setSqlMode(const QStringList &modes)
{
    // mode names are the server's own words, never the user's
    return QStringLiteral("SET SESSION sql_mode = \"") + modes.join(u',') + u'"';
}

QString setLockWaits(int seconds)
{
    return QStringLiteral("SET SESSION lock_wait_timeout = ") + SqlFormat::integer(seconds)
           + QStringLiteral(", innodb_lock_wait_timeout = ") + SqlFormat::integer(seconds);
}

QString selectConnectionId() { return QStringLiteral("SELECT CONNECTION_ID() AS id"); }

QString commit() { return QStringLiteral("COMMIT"); }
QString rollback() { return QStringLiteral("ROLLBACK"); }
QString readCommittedNext() { return QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"); }
QString startTransaction() { return QStringLiteral("START TRANSACTION"); }
QString selectWsrepOn() { return QStringLiteral("SHOW VARIABLES LIKE 'wsrep_on'"); }
QString setSyncWait() { return QStringLiteral("SET SESSION wsrep_sync_wait = 1"); }
QString selectWsrepState()
{
    return QStringLiteral("SHOW STATUS WHERE Variable_name IN ('wsrep_ready', 'wsrep_local_state_comment')");
}

} // namespace SqlSpojeni
