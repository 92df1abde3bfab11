#include "web/protocol/Exporty.h"

#include "web/protocol/Pozadavek.h"

#include <QStringList>

namespace Exporty {

namespace {
// "&<table>[<i>][<field>]=<value>"
QString field(const QString &table, qsizetype i, const char *name, const QString &value)
{
    return u'&' + table + u'[' + QString::number(i) + QStringLiteral("][") + QLatin1String(name)
           + QStringLiteral("]=") + value;
}
} // namespace

QString poleTypuPokoju(const QList<TypPokoje> &typy)
{
    QString pole = QStringLiteral("&pocet_typu=") + QString::number(typy.size());
    const QString tabulka = QStringLiteral("typy");
    for (qsizetype i = 0; i < typy.size(); ++i) {
        const TypPokoje &t = typy[i];
        pole += field(tabulka, i, "typ_pokoje_id", QString::number(t.typ_pokoje_id))
                + field(tabulka, i, "nazev_typu_pokoje", Pozadavek::hodnota(t.nazev_typu_pokoje))
                + field(tabulka, i, "pocet_luzek", QString::number(t.pocet_luzek))
                + field(tabulka, i, "pocet_pokoju", QString::number(t.pocet_pokoju));
    }
    return pole;
}

QString poleCenAObsazenosti(const QList<CenaDne> &ceny)
{
    QString pole = QStringLiteral("&pocet_zaznamu=") + QString::number(ceny.size());
    const QString tabulka = QStringLiteral("ceny");
    for (qsizetype i = 0; i < ceny.size(); ++i) {
        const CenaDne &c = ceny[i];
        pole += field(tabulka, i, "typ_pokoje_id", QString::number(c.typ_pokoje_id))
                + field(tabulka, i, "datum", c.datum) + field(tabulka, i, "cena", c.cena)
                + field(tabulka, i, "rezervovano", QString::number(c.rezervovano));
    }
    return pole;
}

} // namespace Exporty
