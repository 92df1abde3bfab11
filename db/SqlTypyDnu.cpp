#include "db/SqlTypyDnu.h"
#include "db/SqlFormat.h"

namespace SqlTypyDnu {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }

QString deleteOfOtherDayTypes(const QString &table, const QList<int> &keptIds)
{
    QString sql = QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE 1");
    for (int id : keptIds)
        sql += QStringLiteral(" AND typ_dne_id <> ") + i(id);
    return sql;
}
} // namespace

QString selectDayTypes() { return QStringLiteral("SELECT * FROM typy_dnu_tab"); }

QString selectReferencedDayTypeIds()
{
    return QStringLiteral("SELECT typ_dne_id FROM kalendar_typy_dnu_tab UNION SELECT typ_dne_id FROM ceny_pokoje_tab");
}

QString lockDayTypes()
{
    return QStringLiteral("LOCK TABLES typy_dnu_tab WRITE, kalendar_typy_dnu_tab WRITE, ceny_pokoje_tab WRITE");
}

QString deleteDayTypes() { return QStringLiteral("DELETE FROM typy_dnu_tab"); }

QString insertDayType(const SqlFormat &f, int typDneId, const QString &nazev, int poradi)
{
    return QStringLiteral("INSERT INTO typy_dnu_tab SET typ_dne_id = ") + i(typDneId)
           + QStringLiteral(", nazev_typu_dne = ") + f.quotedText(nazev) + QStringLiteral(", poradi = ") + i(poradi);
}

QString deletePricesOfOtherDayTypes(const QList<int> &keptIds)
{
    return deleteOfOtherDayTypes(QStringLiteral("ceny_pokoje_tab"), keptIds);
}

QString deleteCalendarOfOtherDayTypes(const QList<int> &keptIds)
{
    return deleteOfOtherDayTypes(QStringLiteral("kalendar_typy_dnu_tab"), keptIds);
}

QString selectCalendar(int typDneId)
{
    return QStringLiteral("SELECT * FROM kalendar_typy_dnu_tab WHERE typ_dne_id = ") + i(typDneId);
}

QString lockCalendar() { return QStringLiteral("LOCK TABLES kalendar_typy_dnu_tab WRITE"); }

QString deleteCalendar(int typDneId)
{
    return QStringLiteral("DELETE FROM kalendar_typy_dnu_tab WHERE typ_dne_id = ") + i(typDneId);
}

QString insertCalendarDay(const QDate &datum, int typDneId)
{
    return QStringLiteral("INSERT INTO kalendar_typy_dnu_tab SET datum = ") + SqlFormat::quotedDate(datum)
           + QStringLiteral(", typ_dne_id = ") + i(typDneId);
}

} // namespace SqlTypyDnu
