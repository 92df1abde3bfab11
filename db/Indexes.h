#pragma once

#include <QStringList>

class TMojeDatabaze;

/**
 * The indexes the desk's statements need to stay fast with years of
 * reservations, added at start-up to a database made before them (or made
 * by hand on a shared server without them).
 */
namespace Indexes {

struct Result
{
    QStringList added;      // "table: index", each added now
    QStringList problems;   // why a table's indexes could not be added
};

/**
 * Adds the missing ones, one statement per table. An index counts as
 * present when any index of the table begins with its columns, whatever its
 * name, so a second run adds nothing. Never throws: an account without the
 * ALTER and INDEX rights, a table another desk holds, or any other refusal
 * is told in problems and the desk works on without the index.
 */
Result addMissing(TMojeDatabaze &db);

} // namespace Indexes
