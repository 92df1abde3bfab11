#include "db/Prava.h"

#include "db/TMojeDatabaze.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlQuery>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Prava", text);
}

QString unquote(const QString &name)
{
    if (name.size() >= 2 && name.startsWith(u'`') && name.endsWith(u'`'))
        return name.mid(1, name.size() - 2).replace(QLatin1String("``"), QLatin1String("`"));
    return name;
}

// A database name in a grant is a LIKE pattern: % and _ are wildcards unless escaped.
bool matches(const QString &pattern, const QString &name)
{
    QString re;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\\' && i + 1 < pattern.size())
            re += QRegularExpression::escape(QString(pattern[++i]));
        else if (c == u'%')
            re += QLatin1String(".*");
        else if (c == u'_')
            re += u'.';
        else
            re += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(re), QRegularExpression::DotMatchesEverythingOption)
        .match(name)
        .hasMatch();
}

} // namespace

namespace Prava {

QStringList proRecepci() { return {"SELECT", "INSERT", "UPDATE", "DELETE"}; }
QStringList proUpgrade() { return {"CREATE", "ALTER", "INDEX"}; }
QStringList proObnovu() { return {"SELECT", "INSERT", "CREATE", "DROP", "ALTER"}; }

QStringList chybejici(const QStringList &granty, const QString &databaze, const QStringList &potrebna)
{
    static const QRegularExpression grant(
        QStringLiteral("^GRANT (.+?) ON (\\*|`(?:[^`]|``)*`)\\.(\\*|`(?:[^`]|``)*`) TO "));
    QStringList chybi = potrebna;
    for (const QString &radek : granty) {
        const QRegularExpressionMatch m = grant.match(radek);
        if (!m.hasMatch() || m.captured(3) != QLatin1String("*"))
            continue;
        if (m.captured(2) != QLatin1String("*") && !matches(unquote(m.captured(2)), databaze))
            continue;
        // Column grants ("SELECT (`a`, `b`)") do not reach the whole table.
        static const QRegularExpression sloupce(QStringLiteral("\\([^)]*\\)"));
        QStringList drzena;
        for (const QString &pravo : QString(m.captured(1)).replace(sloupce, QStringLiteral("(")).split(u','))
            if (!pravo.contains(u'('))
                drzena << pravo.trimmed().toUpper();
        if (drzena.contains(QLatin1String("ALL PRIVILEGES")) || drzena.contains(QLatin1String("ALL")))
            return {};
        for (const QString &p : drzena)
            chybi.removeAll(p);
    }
    return chybi;
}

std::optional<QStringList> chybejiciNa(TMojeDatabaze &databaze, const QStringList &potrebna)
{
    // Straight on the connection: a question the server may refuse (ODBC,
    // another server) must not count as a lost connection.
    QSqlQuery q(databaze.database());
    if (!q.exec(QStringLiteral("SELECT DATABASE()")) || !q.next())
        return std::nullopt;
    const QString jmeno = q.value(0).toString();
    if (!q.exec(QStringLiteral("SHOW GRANTS")))
        return std::nullopt;
    QStringList granty;
    while (q.next())
        granty << q.value(0).toString();
    return chybejici(granty, jmeno, potrebna);
}

QString upozorneni(const QStringList &chybejici, const QString &databaze)
{
    if (chybejici.isEmpty())
        return {};
    QStringList co;
    if (chybejici.contains(QLatin1String("SELECT")))
        co << tr("recepce nepřečte pokoje, klienty ani rezervace");
    QStringList ukladani;
    for (const char *p : {"INSERT", "UPDATE", "DELETE"})
        if (chybejici.contains(QLatin1String(p)))
            ukladani << QLatin1String(p);
    if (!ukladani.isEmpty())
        co << tr("nepůjde ukládat rezervace, klienty ani nastavení hotelu (chybí %1)")
                  .arg(ukladani.join(QStringLiteral(", ")));
    QStringList upgrade;
    for (const QString &p : proUpgrade())
        if (chybejici.contains(p))
            upgrade << p;
    if (!upgrade.isEmpty())
        co << tr("po instalaci nové verze nepůjde doplnit tabulky a indexy, které databáze nemá (chybí %1)")
                  .arg(upgrade.join(QStringLiteral(", ")));
    return tr("Účet, kterým je recepce přihlášena, nemá v databázi %1 práva %2.\nBez nich: %3.\n"
              "Práva přidělí správce databáze (GRANT).")
        .arg(databaze, chybejici.join(QStringLiteral(", ")), co.join(QStringLiteral("; ")));
}

} // namespace Prava
