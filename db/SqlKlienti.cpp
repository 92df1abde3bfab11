#include "db/SqlKlienti.h"
#include "db/SqlFormat.h"

namespace SqlKlienti {

QString selectClientTypes() { return QStringLiteral("SELECT * FROM typy_klientu_tab"); }

QString selectAttributes(int typKlientaId)
{
    return QStringLiteral("SELECT * FROM klient_zobrazit_tab WHERE typ_klienta_id = ") + SqlFormat::integer(typKlientaId);
}

QString selectClients()
{
    // What tells apart clients who share a name: their type and how to reach them.
    return QStringLiteral("SELECT klienti_tab.klient_id, klienti_tab.jmeno, klienti_tab.telefon, klienti_tab.email, "
                          "typy_klientu_tab.typ_klienta FROM klienti_tab LEFT JOIN typy_klientu_tab "
                          "ON typy_klientu_tab.typ_klienta_id = klienti_tab.typ_klienta_id");
}

QString lockClients() { return QStringLiteral("LOCK TABLES klienti_tab WRITE"); }

QString selectNewClientId()
{
    return QStringLiteral("SELECT (MAX(klient_id) + 1) AS nove_id FROM klienti_tab");
}

QString insertWebClient(const SqlFormat &f, int klientId, const QString &jmeno, const QString &telefon,
                        const QString &email, const QString &stat)
{
    return QStringLiteral("INSERT INTO klienti_tab SET klient_id = ") + SqlFormat::quotedInteger(klientId)
           + QStringLiteral(", typ_klienta_id = \"1\", jmeno = ") + f.quotedText(jmeno)
           + QStringLiteral(", telefon = ") + f.quotedText(telefon) + QStringLiteral(", email = ")
           + f.quotedText(email) + QStringLiteral(", stat = ") + f.quotedText(stat);
}

QString keepZeroIdentifiers()
{
    return QStringLiteral("SET @sql_mode_pred = @@SESSION.sql_mode, SESSION sql_mode = "
                          "CONCAT_WS(\",\", NULLIF(@@SESSION.sql_mode, \"\"), \"NO_AUTO_VALUE_ON_ZERO\")");
}

QString restoreSqlMode() { return QStringLiteral("SET SESSION sql_mode = @sql_mode_pred"); }

QString insertClient(const SqlFormat &f, const QList<QPair<QString, QString>> &attributes, int typKlientaId)
{
    QString sql = QStringLiteral("INSERT INTO klienti_tab SET");
    for (const auto &[column, text] : attributes)
        sql += u' ' + column + QStringLiteral(" = ") + f.quotedText(text) + u',';
    return sql + QStringLiteral(" typ_klienta_id = ") + SqlFormat::quotedInteger(typKlientaId);
}

QString countClient(int klientId)
{
    return QStringLiteral("SELECT COUNT(*) AS pocet FROM klienti_tab WHERE klient_id = ")
           + SqlFormat::quotedInteger(klientId);
}

QString deleteClient(int klientId)
{
    return QStringLiteral("DELETE FROM klienti_tab WHERE klient_id = ") + SqlFormat::quotedInteger(klientId);
}

} // namespace SqlKlienti
