#pragma once

#include <QList>
#include <QPair>
#include <QString>

class SqlFormat;

/** Statements on the hotel's particulars (one row, id 1) and the stay fee's exemption reasons. */
namespace SqlUdajeOHotelu {

/** The particulars; no row before the first save. */
QString selectParticulars();
/**
 * Writes row 1: the text columns by name with their values, and the three
 * numbers (the VAT payer flag, the fee's rate and period).
 */
QString writeParticulars(const SqlFormat &f, const QList<QPair<QString, QString>> &texty, bool platceDph,
                         double sazba, int obdobi);

QString selectExemptions();
QString insertExemption(const SqlFormat &f, int osvobozeniId, const QString &nazev);
QString updateExemption(const SqlFormat &f, int osvobozeniId, const QString &nazev);
QString deleteExemption(int osvobozeniId);
/** osvobozeni_id of every reason a guest has (0, none, among them). */
QString selectExemptionsInUse();

} // namespace SqlUdajeOHotelu
