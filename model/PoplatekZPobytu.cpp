#include "model/PoplatekZPobytu.h"

#include <QCoreApplication>

namespace PoplatekZPobytu {

QString duvodMladsi18()
{
    return QCoreApplication::translate("PoplatekZPobytu", "osoba mladší 18 let");
}

QString duvodDlouhyPobyt()
{
    return QCoreApplication::translate("PoplatekZPobytu", "pobyt delší než %1 dnů").arg(nejdelsiPobyt);
}

bool mladsi18(const QDate &narozeni, const QDate &den)
{
    // Born on 29 February: adult on 28 February of a common year, as Hoste::jeMladsi18 counts.
    return narozeni.isValid() && narozeni.addYears(18) > den;
}

namespace {
bool predmetem(const QDate &od, const QDate &posledniNoc)
{
    // The departure day is a calendar day of the stay too.
    return od.daysTo(posledniNoc) + 2 <= nejdelsiPobyt;
}
} // namespace

bool placena(const QDate &noc, const QDate &od, const QDate &posledniNoc, const QDate &narozeni,
             const QString &duvodHotelu)
{
    // A night stands for the started day after it, the day the age is taken on.
    return noc >= od && noc <= posledniNoc && predmetem(od, posledniNoc) && duvodHotelu.isEmpty()
           && !mladsi18(narozeni, noc.addDays(1));
}

Poplatek spocitej(const QDate &od, const QDate &posledniNoc, const QDate &narozeni, const QString &duvodHotelu,
                  double sazba)
{
    Poplatek p;
    if (!od.isValid() || !posledniNoc.isValid() || posledniNoc < od)
        return p;
    p.noci = int(od.daysTo(posledniNoc)) + 1;
    for (QDate noc = od; noc <= posledniNoc; noc = noc.addDays(1)) {
        Mesic &m = p.mesice[QDate(noc.year(), noc.month(), 1)];
        ++m.noci;
        if (placena(noc, od, posledniNoc, narozeni, duvodHotelu)) {
            ++m.placene;
            ++p.placene;
        }
    }
    if (!predmetem(od, posledniNoc))
        p.duvod = duvodDlouhyPobyt();
    else if (!duvodHotelu.isEmpty())
        p.duvod = duvodHotelu;
    else if (p.placene < p.noci)
        p.duvod = duvodMladsi18();
    p.castka = p.placene * sazba;
    return p;
}

} // namespace PoplatekZPobytu
