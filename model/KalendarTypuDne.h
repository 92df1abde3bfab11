#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <set>

/** The dates assigned to one day type, whole days, ascending, each once. */
class KalendarTypuDne
{
public:
    /** Loads the dates stored for the day type. */
    explicit KalendarTypuDne(int typDneId);

    void Nacti();
    /**
     * Clears the list and adds each date, ascending, one line per date of
     * dny(), in the regional short date format with a four-digit year.
     */
    void Vypis(QStringList &seznam) const;
    /** Adds the day unless it is held already; an invalid date adds nothing. */
    void PridejDen(const QDate &den);
    /** Adds the day of the value; the time of day does not matter. */
    void PridejDen(const QDateTime &okamzik) { PridejDen(okamzik.date()); }
    /** Removes the date of a list line (as Vypis writes it); a text that is no held date removes nothing. */
    void OdstranDen(const QString &radek);
    void OdstranDen(const QDate &den) { m_dny.erase(den); }
    /** Replaces the stored dates of this day type, under its lock set, all or nothing. */
    void Uloz() const;

    int typDneId() const { return m_typDneId; }
    const std::set<QDate> &dny() const { return m_dny; }

private:
    int m_typDneId;
    std::set<QDate> m_dny;
};
