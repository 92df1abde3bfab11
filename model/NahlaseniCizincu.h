#pragma once

// Which foreign guests the desk has reported to the police, read and noted
// as the report's window and the --ubyport command need them.

#include "model/Ubyport.h"

#include <QDate>
#include <vector>

class TMojeQuery;

namespace NahlaseniCizincu {

/**
 * The foreign guests to report on dnes: those of the stays checked in, and
 * of stays checked out in the last 30 days, never reported or corrected
 * since they were (opraven()); by arrival and room.
 */
std::vector<HlaseniHosta> kNahlaseni(TMojeQuery &q, const QDate &dnes);
/** The same on this thread's connection. */
std::vector<HlaseniHosta> kNahlaseni(const QDate &dnes);

/** How many of them are past their deadline on dnes. */
int poTerminu(const std::vector<HlaseniHosta> &hoste, const QDate &dnes);

/**
 * Notes the guests reported, with the history, in one save under their
 * reservations' locks. Refused whole (Konflikt) when another desk changed a
 * guest's particulars or removed the guest since they were listed: the
 * police got what was listed, not what is stored.
 */
void oznacNahlasene(const std::vector<HlaseniHosta> &hoste);

} // namespace NahlaseniCizincu
