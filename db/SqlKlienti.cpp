#include "db/SqlKlienti.h"
#include "db/SqlFormat.h"
#include "db/SqlObjednavky.h"
#include "db/SqlZamky.h"

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


QString insertClient(const SqlFormat &f, int klientId, const QList<QPair<QString, QString>> &attributes,
                     int typKlientaId)
{
    QString sql = QStringLiteral("INSERT INTO klienti_tab SET klient_id = ") + SqlFormat::quotedInteger(klientId) + u',';
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

QString selectName(int klientId)
{
    return QStringLiteral("SELECT jmeno FROM klienti_tab WHERE klient_id = ") + SqlFormat::quotedInteger(klientId);
}

QString selectClientStamp()
{
    // Both are read from an index's end: no row of the clients is scanned.
    return QStringLiteral("SELECT (SELECT COALESCE(MAX(zmena), 0) FROM klienti_zmeny_tab) AS zmena, "
                          "(SELECT COALESCE(MAX(klient_id), -1) FROM klienti_tab) AS posledni");
}

QString bumpClientStamp()
{
    // The row is made by the first bump: a database upgraded to the table has none.
    return QStringLiteral("INSERT INTO klienti_zmeny_tab (id, zmena) VALUES (1, 1) "
                          "ON DUPLICATE KEY UPDATE zmena = zmena + 1");
}

QStringList lockClientDelete(int klientId) { return {SqlZamky::klient(klientId)}; }

} // namespace SqlKlienti
