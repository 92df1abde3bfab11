#pragma once

#include <QString>

class TMojeQuery;

/** First use of a database: the tables, the installation data, the sample hotel. */
namespace Installation {

/** Runs a script's statements (each ends with ';' at a line end; "--" lines are comments). */
void runScript(TMojeQuery &q, const QString &file);

/** Creates the eleven tables and the installation data; with sampleHotel also the sample hotel. */
void createTables(TMojeQuery &q, bool sampleHotel);

/**
 * On a database made by an earlier version: creates the tables added since
 * (the CREATE TABLE IF NOT EXISTS statements of schema.sql) that are
 * missing. Tables already there are not touched, so an account without the
 * right to create tables gets by once they exist. Throws DatabaseError.
 */
void createAddedTables(TMojeQuery &q);

/**
 * On the private server (connecting as the operating-system user): creates
 * the database `name` with its tables when it does not exist yet. A failure
 * drops the half-made database, so the next start tries again. Returns true
 * when the database was created now.
 */
bool createDatabaseIfMissing(const QString &socket, const QString &name, bool sampleHotel);

/** What a receptionist must know about a database before booking into it. */
enum class Content {
    Hotel,        // the hotel's own data
    SampleHotel,  // a client of the sample hotel is still there: its data is made up
    EmptyHotel,   // no room yet
};
/** Tells the sample hotel (by its clients) and a hotel without rooms from a real one. Throws DatabaseError. */
Content content(TMojeQuery &q);

} // namespace Installation
