#include "model/NahlaseniCizincu.h"
#include "model/Historie.h"
#include "model/Zmeny.h"

#include "db/SqlUbyport.h"
#include "db/SqlZamky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <algorithm>
#include <QHash>
#include <QSet>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("NahlaseniCizincu", text);
}

std::vector<HlaseniHosta> nactiHosty(TMojeQuery &q, const QString &select)
{
    std::vector<HlaseniHosta> out;
    q.setSql(select);
    for (q.open(); !q.eof(); q.next()) {
        HlaseniHosta h;
        h.host = Hoste::zRadku(q);
        h.pobyt = {q.integer(QStringLiteral("cislo_objednavky")), q.integer(QStringLiteral("pokoj_id")),
                   q.date(QStringLiteral("od_kdy"))};
        h.cislo_pokoje = q.text(QStringLiteral("cislo_pokoje"));
        h.prvniDen = QDate::fromString(q.text(QStringLiteral("prijezd")), Qt::ISODate);
        // The police want the day of departure: the morning after the last night.
        h.posledniDen = q.date(QStringLiteral("do_kdy")).addDays(1);
        const QString nahlaseno = q.text(QStringLiteral("nahlaseno"));
        if (!nahlaseno.isEmpty())
            h.nahlaseno = QDateTime::fromString(nahlaseno, Qt::ISODate);
        h.nahlasil = q.text(QStringLiteral("nahlasil"));
        h.nahlasenyOtisk = q.text(QStringLiteral("otisk"));
        out.push_back(h);
    }
    return out;
}

QString popis(const HlaseniHosta &h)
{
    return tr("%1 (pokoj %2)").arg(h.host.celeJmeno(), h.cislo_pokoje);
}
} // namespace

namespace NahlaseniCizincu {

std::vector<HlaseniHosta> kNahlaseni(TMojeQuery &q, const QDate &dnes)
{
    // Guests who left before being reported must still be; a month back covers any late report.
    std::vector<HlaseniHosta> out;
    for (HlaseniHosta &h : nactiHosty(q, SqlUbyport::selectGuests(dnes.addDays(-30))))
        if (!h.nahlaseno.isValid() || h.opraven())
            out.push_back(std::move(h));
    return out;
}

std::vector<HlaseniHosta> kNahlaseni(const QDate &dnes)
{
    TMojeQuery q;
    return kNahlaseni(q, dnes);
}

int poTerminu(const std::vector<HlaseniHosta> &hoste, const QDate &dnes)
{
    return int(std::count_if(hoste.begin(), hoste.end(),
                             [&](const HlaseniHosta &h) { return Ubyport::poTerminu(h.prvniDen, dnes); }));
}

void oznacNahlasene(const std::vector<HlaseniHosta> &hoste)
{
    if (hoste.empty())
        return;
    QStringList zamky;
    QList<int> ids;
    for (const HlaseniHosta &h : hoste) {
        // The lock a change of the stay's guests takes: no correction slips in between.
        const QString zamek = SqlZamky::objednavka(h.pobyt.cislo_objednavky);
        if (!zamky.contains(zamek))
            zamky << zamek;
        ids << h.host.host_id;
    }
    TMojeDatabaze::current().save(zamky, [&](TMojeQuery &q) {
        QHash<int, HlaseniHosta> ted;
        for (HlaseniHosta &h : nactiHosty(q, SqlUbyport::selectGuestsByIds(ids)))
            ted.insert(h.host.host_id, std::move(h));
        QStringList jmena;
        for (const HlaseniHosta &h : hoste) {
            const auto it = ted.constFind(h.host.host_id);
            const QString co = tr("Údaje hosta %1").arg(Konflikt::uvozovky(popis(h)));
            if (it == ted.constEnd())
                throw Konflikt::odstranen(co);
            const QString otisk = Ubyport::otisk(h);
            if (Ubyport::otisk(*it) != otisk)
                throw Konflikt::zmenen(co);
            q.exec(SqlUbyport::markReported(q.format(), h.host.host_id, otisk));
            jmena << (h.nahlaseno.isValid() ? tr("%1 znovu po opravě").arg(popis(h)) : popis(h));
        }
        Historie::zapis(tr("Nahlášení cizinců policii (Ubyport): %1").arg(Historie::vycet(jmena)),
                        Historie::ids(QStringLiteral("host"), ids));
    });
}

} // namespace NahlaseniCizincu
