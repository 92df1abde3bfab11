#include "db/DatabaseError.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DatabaseError", text);
}

// MariaDB's error numbers (the ODBC driver passes the same ones on).
bool oneOf(const QString &code, std::initializer_list<int> codes)
{
    bool ok = false;
    const int n = code.toInt(&ok);
    return ok && std::find(codes.begin(), codes.end(), n) != codes.end();
}

// "... for column 'cena' at row 1", "... for column `hotel`.`pokoje_tab`.`cislo_pokoje` at row 1",
// "Field 'poradi' doesn't have a default value", "Column 'jmeno' cannot be null"
QString columnOf(const QString &message)
{
    static const QRegularExpression forColumn(
        QStringLiteral("(?:for column|^Field|^Column|\\]Field|\\]Column) ((?:[`'][^`']*[`']\\.)*)[`']([^`']+)[`']"));
    const QRegularExpressionMatch m = forColumn.match(message);
    return m.hasMatch() ? m.captured(2) : QString();
}

} // namespace

namespace {
QString joined(const QString &veta, const QString &detail)
{
    if (detail.isEmpty())
        return veta;
    if (veta.isEmpty())
        return detail;
    return veta + QStringLiteral("\n(") + detail + u')';
}
} // namespace

DatabaseError::DatabaseError(const QString &veta, const QString &detail, Kind kind, const QString &column)
    : std::runtime_error(joined(veta, detail).toStdString()), m_veta(veta), m_detail(detail),
      m_text(joined(veta, detail)), m_kind(kind), m_column(column)
{
}

QString DatabaseError::serverText(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    if (text.isEmpty())
        text = error.text();
    return text;
}

bool DatabaseError::isConnectionLost(const QSqlError &error)
{
    // gone away, lost during a statement, killed, idle too long, server
    // shutting down; the connect errors when the server is not back yet; a
    // cluster node that lost the others ("WSREP has not yet prepared node")
    return oneOf(error.nativeErrorCode(), {2006, 2013, 2055, 1927, 4031, 1053, 2002, 2003, 1047});
}

QString DatabaseError::fieldName(const QString &column)
{
    static const QHash<QString, const char *> names = {
        {QStringLiteral("cislo_pokoje"), QT_TRANSLATE_NOOP("DatabaseError", "číslo pokoje")},
        {QStringLiteral("nazev_skupiny_pokoju"), QT_TRANSLATE_NOOP("DatabaseError", "název skupiny pokojů")},
        {QStringLiteral("nazev_typu_pokoje"), QT_TRANSLATE_NOOP("DatabaseError", "název typu pokoje")},
        {QStringLiteral("pocet_luzek"), QT_TRANSLATE_NOOP("DatabaseError", "počet lůžek")},
        {QStringLiteral("nazev_typu_dne"), QT_TRANSLATE_NOOP("DatabaseError", "název typu dne")},
        {QStringLiteral("poradi"), QT_TRANSLATE_NOOP("DatabaseError", "pořadí")},
        {QStringLiteral("datum"), QT_TRANSLATE_NOOP("DatabaseError", "datum")},
        {QStringLiteral("cena"), QT_TRANSLATE_NOOP("DatabaseError", "cena")},
        {QStringLiteral("typ_klienta"), QT_TRANSLATE_NOOP("DatabaseError", "typ klienta")},
        {QStringLiteral("jmeno"), QT_TRANSLATE_NOOP("DatabaseError", "jméno")},
        {QStringLiteral("telefon"), QT_TRANSLATE_NOOP("DatabaseError", "telefon")},
        {QStringLiteral("email"), QT_TRANSLATE_NOOP("DatabaseError", "e-mail")},
        {QStringLiteral("stat"), QT_TRANSLATE_NOOP("DatabaseError", "stát")},
        {QStringLiteral("adresa"), QT_TRANSLATE_NOOP("DatabaseError", "adresa")},
        {QStringLiteral("mesto"), QT_TRANSLATE_NOOP("DatabaseError", "město")},
        {QStringLiteral("poznamka"), QT_TRANSLATE_NOOP("DatabaseError", "poznámka")},
        {QStringLiteral("datum_objednavky"), QT_TRANSLATE_NOOP("DatabaseError", "datum objednávky")},
        {QStringLiteral("od_kdy"), QT_TRANSLATE_NOOP("DatabaseError", "od kdy")},
        {QStringLiteral("do_kdy"), QT_TRANSLATE_NOOP("DatabaseError", "do kdy")},
    };
    const auto it = names.constFind(column);
    return it == names.constEnd() ? column : tr(it.value());
}

DatabaseError DatabaseError::fromSql(const QSqlError &error, int lockWaitSeconds)
{
    const QString server = serverText(error);
    const QString code = error.nativeErrorCode();

    if (isConnectionLost(error))
        return DatabaseError(tr("Spojení s databází bylo přerušeno."), server, Kind::ConnectionLost);
    // A deadlock, or a commit another node's certified first: nothing of the
    // transaction stays, and running it again from its reads is safe.
    if (oneOf(code, {1213}))
        return DatabaseError(tr("Jiná recepce ukládala ve stejnou chvíli. Nic nebylo uloženo; "
                                "zkuste to prosím znovu."),
                             server, Kind::Contention);
    if (oneOf(code, {1205}))
        return DatabaseError(tr("Tabulky právě používá jiná recepce a neuvolnila je ani po %1 s. "
                                "Akce nebyla provedena a nic nebylo uloženo; zkuste to prosím za chvíli znovu.")
                                 .arg(lockWaitSeconds),
                             server, Kind::LockWait);

    // Refused for a right the account lacks: named, so the administrator knows what to grant.
    if (oneOf(code, {1142, 1143, 1044, 1045, 1227, 1370})) {
        // "INSERT, DELETE command denied to user 'r'@'%' for table `hotel`.`pokoje_tab`"
        static const QRegularExpression command(QStringLiteral("([A-Z][A-Z ,]*) command denied"));
        static const QRegularExpression onTable(QStringLiteral(" for (?:table|column) (?:[`'][^`']*[`']\\.)*[`']([^`']+)[`']"));
        static const QRegularExpression needed(QStringLiteral("need \\(at least one of\\) the (.+) privilege"));
        static const QRegularExpression database(QStringLiteral("to database [`']([^`']+)[`']"));
        if (oneOf(code, {1045}))
            return DatabaseError(tr("Server odmítl přihlášení: účet neexistuje nebo heslo nesouhlasí."), server,
                                 Kind::AccessDenied);
        QString pravo = command.match(server).captured(1);
        if (pravo.isEmpty())
            pravo = needed.match(server).captured(1);
        const QString tabulka = onTable.match(server).captured(1);
        QString veta;
        if (!pravo.isEmpty() && !tabulka.isEmpty())
            veta = tr("Účet recepce nemá v databázi právo %1 na tabulku %2, databáze akci odmítla. "
                      "Právo přidělí správce databáze.").arg(pravo, tabulka);
        else if (!pravo.isEmpty())
            veta = tr("Účet recepce nemá právo %1, databáze akci odmítla. Právo přidělí správce databáze.").arg(pravo);
        else
            veta = tr("Účet recepce nemá přístup k databázi %1. Právo přidělí správce databáze.")
                       .arg(database.match(server).captured(1));
        return DatabaseError(veta, server, Kind::AccessDenied, pravo);
    }

    const QString column = columnOf(server);
    const QString field = u'„' + fieldName(column) + u'“';
    if (oneOf(code, {1406}))
        return DatabaseError(tr("Text v poli %1 je delší, než databáze dovoluje. Nic nebylo uloženo; "
                                "zkraťte ho prosím.").arg(field),
                             server, Kind::ValueRefused, column);
    if (oneOf(code, {1264}))
        return DatabaseError(tr("Hodnota v poli %1 je mimo rozsah, který databáze dovoluje. "
                                "Nic nebylo uloženo.").arg(field),
                             server, Kind::ValueRefused, column);
    if (oneOf(code, {1292, 1366, 1265, 1364, 1048}))
        return DatabaseError(tr("Hodnotu v poli %1 databáze nepřijala. Nic nebylo uloženo.").arg(field), server,
                             Kind::ValueRefused, column);
    return DatabaseError(QString(), server, Kind::Statement);
}
