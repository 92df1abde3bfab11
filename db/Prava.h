#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class TMojeDatabaze;

/** The rights the connection's account holds on the hotel's database. */
namespace Prava {

/** What a desk's saves need. */
QStringList proRecepci();
/** What adding the tables, keys and indexes of a newer version needs. */
QStringList proUpgrade();
/** What a restore needs: it drops, creates and fills tables and renames the history aside. */
QStringList proObnovu();

/**
 * Of `potrebna`, those the account lacks on `databaze`, given the lines
 * of SHOW GRANTS. Counts grants on every database (*.*) and on database
 * patterns (`hotel%`, with \_ and \% taken literally), ALL PRIVILEGES
 * among them; a grant on single tables or columns does not count.
 */
QStringList chybejici(const QStringList &granty, const QString &databaze, const QStringList &potrebna);

/** The same asked of the connection; nothing when the server would not tell. */
std::optional<QStringList> chybejiciNa(TMojeDatabaze &databaze, const QStringList &potrebna);

/**
 * The desk's warning at its start: which rights are missing and what will
 * not work without them; empty when none is.
 */
QString upozorneni(const QStringList &chybejici, const QString &databaze);

} // namespace Prava
