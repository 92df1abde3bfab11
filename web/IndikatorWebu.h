#pragma once

#include "web/engine/SpolupraceSWebem.h"

#include <QLabel>

/**
 * The web road at a glance, for the main window's status bar: whether the
 * listener takes guests (and on which port), and when the last export and
 * import ended and whether well. The tooltip tells how they ended, what
 * waits and the last error.
 */
class IndikatorWebu : public QLabel
{
    Q_OBJECT
public:
    explicit IndikatorWebu(SpolupraceSWebem *spoluprace, QWidget *parent = nullptr);

    /** "<nazev> <time>: <how it ended>". */
    static QString popis(const QString &nazev, const PosledniAkce &akce);
    /** "<nazev> <time> v pořádku" or "… selhal": the status bar's short form. */
    static QString kratce(const QString &nazev, const PosledniAkce &akce);

private:
    void ukaz();

    SpolupraceSWebem *m_spoluprace;
    QString m_posledniChyba;
};
