#include "web/protocol/Exporty.h"

#include "db/SqlFormat.h"
#include "db/SqlWeb.h"
#include "db/TMojeQuery.h"
#include "web/protocol/Pozadavek.h"

#include <QStringList>

namespace Exporty {

namespace {
// "&<table>[<i>][<field>]=<value>"
QString field(const QString &table, int i, const char *name, const QString &value)
{
    return u'&' + table + u'[' + QString::number(i) + QStringLiteral("][") + QLatin1String(name)
           + QStringLiteral("]=") + value;
}
} // namespace

QString poleTypuPokoju()
{
    TMojeQuery q;
    q.setSql(SqlWeb::selectTypyPokoju());
    q.open();
    QStringList rows;
    const QString typy = QStringLiteral("typy");
    for (int i = 0; !q.eof(); ++i, q.next())
        rows << field(typy, i, "typ_pokoje_id", QString::number(q.integer(QStringLiteral("typ_pokoje_id"))))
                    + field(typy, i, "nazev_typu_pokoje", Pozadavek::hodnota(q.text(QStringLiteral("nazev_typu_pokoje"))))
                    + field(typy, i, "pocet_luzek", QString::number(q.integer(QStringLiteral("pocet_luzek"))))
                    + field(typy, i, "pocet_pokoju", QString::number(q.integer(QStringLiteral("pocet_pokoju"))));
    return QStringLiteral("&pocet_typu=") + QString::number(rows.size()) + rows.join(QString());
}

QString poleCenAObsazenosti()
{
    TMojeQuery q;
    q.setSql(SqlWeb::selectCenyAObsazenost());
    q.open();
    QStringList rows;
    const QString ceny = QStringLiteral("ceny");
    for (int i = 0; !q.eof(); ++i, q.next())
        rows << field(ceny, i, "typ_pokoje_id", QString::number(q.integer(QStringLiteral("typ_pokoje_id"))))
                    + field(ceny, i, "datum", SqlFormat::date(q.date(QStringLiteral("datum"))))
                    + field(ceny, i, "cena", SqlFormat::price(q.real(QStringLiteral("cena"))))
                    + field(ceny, i, "rezervovano", QString::number(q.integer(QStringLiteral("rezervovano"))));
    return QStringLiteral("&pocet_zaznamu=") + QString::number(rows.size()) + rows.join(QString());
}

} // namespace Exporty
