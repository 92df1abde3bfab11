#include "web/engine/DataExportu.h"

#include "db/SqlFormat.h"
#include "db/SqlWeb.h"
#include "db/TMojeQuery.h"

namespace DataExportu {

QList<Exporty::TypPokoje> typyPokoju()
{
    TMojeQuery q;
    q.setSql(SqlWeb::selectTypyPokoju());
    QList<Exporty::TypPokoje> typy;
    for (q.open(); !q.eof(); q.next())
        typy.append({q.integer(QStringLiteral("typ_pokoje_id")), q.text(QStringLiteral("nazev_typu_pokoje")),
                     q.integer(QStringLiteral("pocet_luzek")), q.integer(QStringLiteral("pocet_pokoju"))});
    return typy;
}

QList<Exporty::CenaDne> cenyAObsazenost()
{
    TMojeQuery q;
    q.setSql(SqlWeb::selectCenyAObsazenost());
    QList<Exporty::CenaDne> ceny;
    for (q.open(); !q.eof(); q.next())
        ceny.append({q.integer(QStringLiteral("typ_pokoje_id")), SqlFormat::date(q.date(QStringLiteral("datum"))),
                     SqlFormat::price(q.real(QStringLiteral("cena"))), q.integer(QStringLiteral("rezervovano"))});
    return ceny;
}

} // namespace DataExportu
