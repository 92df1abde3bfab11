#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <set>

/**
 * The dates assigned to one day type, whole days, ascending, each once. It
 * remembers the dates it loaded, so its save writes only the dates added
 * and removed since.
 */
class KalendarTypuDne
{
public:
    /** Loads the dates stored for the day type; nazev names the type in a conflict. */
    explicit KalendarTypuDne(int typDneId, const QString &nazev = QString());
    /**
     * The dates of a day type not stored yet (a provisional id): held here
     * only; nothing is loaded and Uloz writes nothing, the day types' save
     * stores them with the type.
     */
    KalendarTypuDne(int typDneId, const QString &nazev, std::set<QDate> dny);

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
    /**
     * Stores the dates added and removed since the load, under the calendar's
     * save, all or nothing; dates another desk stored for the type
     * meanwhile stay, and a date it stored too is not doubled. Refused
     * (DatabaseError::Kind::Conflict) when the day type is gone.
     */
    void Uloz();
    /** After a refused save: the type's dates as stored now, with this copy's additions and removals. */
    void reloadKeepingChanges();

    int typDneId() const { return m_typDneId; }
    const std::set<QDate> &dny() const { return m_dny; }

private:
    int m_typDneId;
    QString m_nazev;
    std::set<QDate> m_dny;
    std::set<QDate> m_nactene;   // as loaded or last saved
};
