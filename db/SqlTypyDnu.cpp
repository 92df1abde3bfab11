#include "db/SqlTypyDnu.h"
#include "db/SqlFormat.h"

namespace SqlTypyDnu {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }

QString deleteOfDayTypes(const QString &table, const QList<int> &ids)
{
    return QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE typ_dne_id IN (")
           + SqlFormat::quotedIntegers(ids) + u')';
}
} // namespace

QString selectDayTypes() { return QStringLiteral("SELECT * FROM typy_dnu_tab"); }

QString selectReferencedDayTypeIds()
{
    return QStringLiteral("SELECT typ_dne_id FROM kalendar_typy_dnu_tab UNION SELECT typ_dne_id FROM ceny_pokoje_tab");
}

QString countRowsOfDayType(int typDneId)
{
    return QStringLiteral("SELECT (SELECT COUNT(*) FROM kalendar_typy_dnu_tab WHERE typ_dne_id = ") + i(typDneId)
           + QStringLiteral(") AS dny, (SELECT COUNT(*) FROM ceny_pokoje_tab WHERE typ_dne_id = ") + i(typDneId)
           + QStringLiteral(") AS ceny");
}

QStringList lockDayTypes()
{
    return {QStringLiteral("typy_dnu_tab"), QStringLiteral("kalendar_typy_dnu_tab"), QStringLiteral("ceny_pokoje_tab")};
}

QString insertDayType(const SqlFormat &f, int typDneId, const QString &nazev, int poradi)
{
    return QStringLiteral("INSERT INTO typy_dnu_tab SET typ_dne_id = ") + i(typDneId)
           + QStringLiteral(", nazev_typu_dne = ") + f.quotedText(nazev) + QStringLiteral(", poradi = ") + i(poradi);
}

QString updateDayType(const SqlFormat &f, int typDneId, const QString &nazev, int poradi)
{
    return QStringLiteral("UPDATE typy_dnu_tab SET nazev_typu_dne = ") + f.quotedText(nazev)
           + QStringLiteral(", poradi = ") + i(poradi) + QStringLiteral(" WHERE typ_dne_id = ") + i(typDneId);
}

QString deleteDayTypes(const QList<int> &ids) { return deleteOfDayTypes(QStringLiteral("typy_dnu_tab"), ids); }

QString deletePricesOfDayTypes(const QList<int> &ids)
{
    return deleteOfDayTypes(QStringLiteral("ceny_pokoje_tab"), ids);
}

QString deleteCalendarOfDayTypes(const QList<int> &ids)
{
    return deleteOfDayTypes(QStringLiteral("kalendar_typy_dnu_tab"), ids);
}

QString selectDayType(int typDneId)
{
    return QStringLiteral("SELECT * FROM typy_dnu_tab WHERE typ_dne_id = ") + i(typDneId);
}

QString selectCalendar(int typDneId)
{
    return QStringLiteral("SELECT * FROM kalendar_typy_dnu_tab WHERE typ_dne_id = ") + i(typDneId);
}

QStringList lockCalendar() { return {QStringLiteral("kalendar_typy_dnu_tab"), QStringLiteral("typy_dnu_tab")}; }

QString deleteCalendarDay(const QDate &datum, int typDneId)
{
    return QStringLiteral("DELETE FROM kalendar_typy_dnu_tab WHERE typ_dne_id = ") + i(typDneId)
           + QStringLiteral(" AND datum = ") + SqlFormat::quotedDate(datum);
}

QString insertCalendarDay(const QDate &datum, int typDneId)
{
    return QStringLiteral("INSERT INTO kalendar_typy_dnu_tab SET datum = ") + SqlFormat::quotedDate(datum)
           + QStringLiteral(", typ_dne_id = ") + i(typDneId);
}

} // namespace SqlTypyDnu
