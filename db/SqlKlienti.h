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
 * A client recorded at the desk: the attribute columns with their texts in
 * the form's order, then the type; klient_id taken from the clients' series.
 */
QString insertClient(const SqlFormat &f, int klientId, const QList<QPair<QString, QString>> &attributes,
                     int typKlientaId);
/** COUNT(*) AS pocet of the clients with the id: 0 or 1. */
QString countClient(int klientId);
QString deleteClient(int klientId);
/** The client's jmeno (no row when there is none). */
QString selectName(int klientId);

/**
 * The clients' change stamp: every insert or delete of clients bumps it in
 * the same save, so a desk tells from one tiny statement whether its
 * list is still current. zmena is the counter (0 before the first bump),
 * posledni the highest klient_id (-1 with no client): a writer that does not
 * bump yet still shows by the new highest id its inserts get.
 */
QString selectClientStamp();
/** Runs inside the caller's save. */
QString bumpClientStamp();
/** Deleting a client: the client's row, which a booking for the client locks too. */
QStringList lockClientDelete(int klientId);

} // namespace SqlKlienti
