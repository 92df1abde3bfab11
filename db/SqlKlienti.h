#pragma once

#include <QList>
#include <QPair>
#include <QString>

class SqlFormat;

/** Statements on clients, client types and the attributes asked per type. */
namespace SqlKlienti {

QString selectClientTypes();
/** The type's row of klient_zobrazit_tab; the number goes unquoted. */
QString selectAttributes(int typKlientaId);
/** klient_id, jmeno, telefon, email and the name of the client's type (typ_klienta). */
QString selectClients();

/**
 * klient_id is AUTO_INCREMENT: an explicit 0 would be replaced by a generated
 * value unless NO_AUTO_VALUE_ON_ZERO is on. These two bracket such an insert.
 */
QString keepZeroIdentifiers();
QString restoreSqlMode();

/**
 * A client recorded at the desk: the attribute columns with their texts in
 * the form's order, then the type; klient_id is left to the database.
 */
QString insertClient(const SqlFormat &f, const QList<QPair<QString, QString>> &attributes, int typKlientaId);
/** COUNT(*) AS pocet of the clients with the id: 0 or 1. */
QString countClient(int klientId);
QString deleteClient(int klientId);

} // namespace SqlKlienti
