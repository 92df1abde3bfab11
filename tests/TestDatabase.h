#pragma once

#include "db/Configuration.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class Recepce;
class TMojeDatabaze;

/**
 * The database every test program works on: the private server started in
 * a throwaway folder of the build tree (the desk's own start-up code), with
 * a database of the program's own, made fresh at each run, so programs can
 * run side by side.
 */
namespace TestDatabase {

/** Starts or joins the test server, makes the database and opens the connection (current). */
void setUp();
/** Closes the connection and leaves the server (the last program shuts it down). */
void tearDown();

TMojeDatabaze &db();
/** A configuration that reaches the same database through the private server. */
Configuration config();
/** Another connection to the same database, as a second desk would have. */
std::unique_ptr<TMojeDatabaze> openAnother();
/** The desk's core on the same database, connected as the desk connects; throws DatabaseError. */
std::unique_ptr<Recepce> openDesk(const Configuration &config = TestDatabase::config());

/** Empties every table. */
void clearTables();
/** Runs statements that arrange or inspect data, on the test's connection. */
void exec(const QString &statement);
/** Inserts clients "(klient_id, typ_klienta_id, jmeno), ..."; an id 0 stays 0, as the web import stores it. */
void insertClients(const QString &values);
/** The first column of the first row, or an invalid value with no rows. */
QVariant value(const QString &select);
/** All rows of a select, columns joined by '|', rows in result order. */
QStringList rows(const QString &select);
/** The same on another connection (another desk's, or another server's). */
QStringList rows(const QString &select, TMojeDatabaze &db);

/** Live and not a zombie (a detached server killed here may wait to be reaped). */
bool processAlive(qint64 pid);

} // namespace TestDatabase

/** What a collection's Vypis gives; the list starts non-empty so a missing clear shows. */
QStringList vypis(const auto &collection)
{
    QStringList list{QStringLiteral("stale")};
    collection.Vypis(list);
    return list;
}
