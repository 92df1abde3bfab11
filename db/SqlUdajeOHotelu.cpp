#include "db/SqlUdajeOHotelu.h"
#include "db/SqlFormat.h"

namespace SqlUdajeOHotelu {

namespace {
QString i(int value) { return SqlFormat::quotedInteger(value); }
} // namespace

QString selectParticulars() { return QStringLiteral("SELECT * FROM hotel_udaje_tab WHERE id = 1"); }

QString writeParticulars(const SqlFormat &f, const QList<QPair<QString, QString>> &texty, bool platceDph,
                         double sazba, int obdobi)
{
    QString sloupce = QStringLiteral("platce_dph = ") + i(platceDph ? 1 : 0) + QStringLiteral(", poplatek_sazba = ")
                      + SqlFormat::quotedPrice(sazba) + QStringLiteral(", poplatek_obdobi = ") + i(obdobi);
    for (const auto &[sloupec, hodnota] : texty)
        sloupce += QStringLiteral(", ") + sloupec + QStringLiteral(" = ") + f.quotedText(hodnota);
    // The first save makes the row.
    return QStringLiteral("INSERT INTO hotel_udaje_tab SET id = 1, ") + sloupce
           + QStringLiteral(" ON DUPLICATE KEY UPDATE ") + sloupce;
}

QString selectExemptions()
{
    return QStringLiteral("SELECT osvobozeni_id, nazev FROM osvobozeni_tab ORDER BY osvobozeni_id");
}

QString insertExemption(const SqlFormat &f, int osvobozeniId, const QString &nazev)
{
    return QStringLiteral("INSERT INTO osvobozeni_tab SET osvobozeni_id = ") + i(osvobozeniId)
           + QStringLiteral(", nazev = ") + f.quotedText(nazev);
}

QString updateExemption(const SqlFormat &f, int osvobozeniId, const QString &nazev)
{
    return QStringLiteral("UPDATE osvobozeni_tab SET nazev = ") + f.quotedText(nazev)
           + QStringLiteral(" WHERE osvobozeni_id = ") + i(osvobozeniId);
}

QString deleteExemption(int osvobozeniId)
{
    return QStringLiteral("DELETE FROM osvobozeni_tab WHERE osvobozeni_id = ") + i(osvobozeniId);
}

QString selectExemptionsInUse() { return QStringLiteral("SELECT DISTINCT osvobozeni_id FROM hoste_tab"); }

} // namespace SqlUdajeOHotelu
