#pragma once

class TMojeQuery;

/**
 * Numbers given once across every desk and cluster node: reservation
 * numbers and client ids. A series is one row that a save updates in its
 * own transaction, so two desks taking numbers at once wait for each other
 * on one server and conflict (one runs again) on a cluster; a number once
 * taken is never given again, even when its reservation is deleted.
 */
namespace CiselneRady {

enum class Rada { Objednavka, Klient, Host, MimoProvoz };

/**
 * Makes the series a database made before them lacks, each at the highest
 * number stored, so that a number freed by a deletion from then on is not
 * given again. The desk runs it at start.
 */
void zaloz(TMojeQuery &q);

/** Inside a save: takes count (at least 1) numbers in a row and returns the first. */
int vezmi(TMojeQuery &q, Rada rada, int count = 1);

} // namespace CiselneRady
