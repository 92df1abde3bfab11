#pragma once

#include <QString>
#include <QStringList>

class TMojeDatabaze;

/**
 * Running desks announce themselves in recepce_tab, so that a restore sees
 * every open desk whatever rights its own account has (the server's process
 * list shows other accounts only with PROCESS). A desk keeps its row fresh;
 * a row not refreshed for zivostSekund() counts as a desk that is gone.
 *
 * None of this is hotel data: the statements run straight on the
 * connection, outside the save path, and a desk's own calls never throw.
 */
namespace OhlaseniRecepci {

/** Seconds after its last refresh that a desk's row still counts as an open desk. */
constexpr int zivostSekund() { return 120; }

/** A new desk's id, unique across machines and servers (a cluster's connection ids are per node). */
QString noveId();

/** Writes this desk's row (and clears rows of desks long gone); false when it could not. */
bool ohlas(TMojeDatabaze &databaze, const QString &id);
/** Refreshes this desk's row, writing it again when it is missing; false when it could not. */
bool obnov(TMojeDatabaze &databaze, const QString &id);
/** Removes this desk's row. */
void odhlas(TMojeDatabaze &databaze, const QString &id);

/**
 * The desks open now, one line each ("account na počítači machine, od
 * time"), except `krome`. Empty when the database has no recepce_tab (made
 * before it; its desks are seen only in the process list). Throws
 * DatabaseError when the table cannot be read.
 */
QStringList otevrene(TMojeDatabaze &databaze, const QString &krome = QString());

} // namespace OhlaseniRecepci
