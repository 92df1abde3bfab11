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

/** Inside a save: takes count (at least 1) numbers in a row and returns the first. */
int vezmi(TMojeQuery &q, Rada rada, int count = 1);

} // namespace CiselneRady
