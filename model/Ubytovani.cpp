#include "model/Ubytovani.h"
#include "model/Historie.h"
#include "model/Pobyt.h"
#include "model/Zmeny.h"

#include "db/SqlObjednavky.h"
#include "db/SqlUbytovani.h"
#include "db/SqlZamky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("Historie", text);
}

QDateTime cas(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODate);
}

PobytHosta nactiPobyt(const TMojeQuery &q)
{
    PobytHosta p;
    p.klic = {q.integer(QStringLiteral("cislo_objednavky")), q.integer(QStringLiteral("pokoj_id")),
              q.date(QStringLiteral("od_kdy"))};
    p.do_kdy = q.date(QStringLiteral("do_kdy"));
    p.cena = q.real(QStringLiteral("cena"));
    p.klient_id = q.integer(QStringLiteral("klient_id"));
    p.cislo_pokoje = q.text(QStringLiteral("cislo_pokoje"));
    p.klient = q.text(QStringLiteral("jmeno"));
    p.prijezd = cas(q.text(QStringLiteral("prijezd")));
    p.odjezd = cas(q.text(QStringLiteral("odjezd")));
    return p;
}

std::vector<PobytHosta> nactiPobyty(const QString &select)
{
    std::vector<PobytHosta> out;
    TMojeQuery q;
    q.setSql(select);
    for (q.open(); !q.eof(); q.next())
        out.push_back(nactiPobyt(q));
    return out;
}

QString popisKonfliktu(const PobytHosta &p)
{
    return QCoreApplication::translate("Ubytovani", "Pobyt v pokoji %1 (rezervace č. %2)")
        .arg(p.cislo_pokoje)
        .arg(p.klic.cislo_objednavky);
}

/**
 * Under the save's lock: the stay as it is stored now, which must be the
 * one the desk loaded (its nights, arrival and departure); Konflikt otherwise.
 */
PobytHosta overPobyt(TMojeQuery &q, const PobytHosta &nacteny)
{
    q.setSql(SqlUbytovani::selectStay(nacteny.klic));
    q.open();
    if (q.eof())
        throw Konflikt::odstranen(popisKonfliktu(nacteny));
    const PobytHosta ted = nactiPobyt(q);
    if (ted.do_kdy != nacteny.do_kdy || ted.prijezd != nacteny.prijezd || ted.odjezd != nacteny.odjezd)
        throw Konflikt::zmenen(popisKonfliktu(nacteny));
    return ted;
}

QString cas(const QDateTime &kdy)
{
    return Historie::datum(kdy.date()) + u' ' + kdy.toString(u"H:mm");
}

QString ids(const PobytHosta &p, const QList<int> &hoste = {})
{
    QString out = Historie::ids(QStringLiteral("objednavka"), {p.klic.cislo_objednavky}) + u' '
                  + Historie::ids(QStringLiteral("pokoj"), {p.klic.pokoj_id});
    if (!hoste.isEmpty())
        out += u' ' + Historie::ids(QStringLiteral("host"), hoste);
    return out;
}

QStringList zamky(const PobytHosta &p)
{
    // The room too: the stay's nights change, which other bookings of the room check.
    return {SqlZamky::objednavka(p.klic.cislo_objednavky), SqlZamky::pokoj(p.klic.pokoj_id)};
}
} // namespace

QString PobytHosta::popis() const
{
    return QCoreApplication::translate("Ubytovani", "č. %1, %2").arg(klic.cislo_objednavky).arg(
        Historie::pobyt(cislo_pokoje, klic.od_kdy, do_kdy, klient));
}

namespace Ubytovani {

std::vector<PobytHosta> kPrijezdu(const QDate &den)
{
    // Early arrivals a few weeks ahead; later ones are bookings, not arrivals.
    return nactiPobyty(SqlUbytovani::selectToCheckIn(den, den.addDays(60)));
}

std::vector<PobytHosta> ubytovane(const QDate &den)
{
    return nactiPobyty(SqlUbytovani::selectCheckedIn(den.addDays(-1)));
}

bool jeNeuklizeny(int pokojId)
{
    TMojeQuery q;
    q.setSql(SqlUbytovani::selectRoomState(pokojId));
    q.open();
    return !q.eof() && q.integer(QStringLiteral("stav")) == 1;
}

QString mimoProvoz(int pokojId, const QDate &den)
{
    TMojeQuery q;
    q.setSql(SqlUbytovani::selectOutOfOrder(pokojId, den));
    q.open();
    if (q.eof())
        return {};
    const QString duvod = q.text(QStringLiteral("duvod"));
    return QCoreApplication::translate("Ubytovani", "%1 – %2%3")
        .arg(Historie::datum(q.date(QStringLiteral("od_kdy"))), Historie::datum(q.date(QStringLiteral("do_kdy"))),
             duvod.isEmpty() ? QString() : QStringLiteral(": ") + duvod);
}

std::optional<double> cena(const PobytHosta &pobyt, const QDate &od, const QDate &doKdy)
{
    const RozpisCeny rozpis = RozpisCeny::Nacti(pobyt.klient_id, pobyt.klic.pokoj_id, od, doKdy);
    if (rozpis.noci().empty() || rozpis.chybiCena())
        return std::nullopt;
    return rozpis.cena();
}

Vysledek prijezd(const PobytHosta &pobyt, const std::vector<Host> &nacteni, const std::vector<Host> &hoste,
                 const QDateTime &kdy, double novaCena)
{
    Vysledek vysledek = Vysledek::Hotovo;
    const QDate noveOd = qMin(kdy.date(), pobyt.klic.od_kdy);
    TMojeDatabaze::current().save(zamky(pobyt), [&](TMojeQuery &q) {
        vysledek = Vysledek::Hotovo;
        overPobyt(q, pobyt);
        QString posun;
        if (noveOd < pobyt.klic.od_kdy) {
            // The nights added in front must be free: the room's lock keeps them so until COMMIT.
            q.setSql(SqlObjednavky::selectCollisions(pobyt.klic.pokoj_id, noveOd, pobyt.klic.od_kdy.addDays(-1)));
            q.open();
            if (q.integer(QStringLiteral("pocet")) > 0) {
                vysledek = Vysledek::PokojObsazen;
                return;
            }
        }
        // The guests are checked against their loaded copy under the old key, then moved.
        const QList<int> hosteIds = Hoste::uloz(q, pobyt.klic, noveOd, nacteni, hoste);
        KlicPobytu novy = pobyt.klic;
        if (noveOd < pobyt.klic.od_kdy) {
            q.exec(SqlUbytovani::moveStart(pobyt.klic, noveOd, novaCena));
            novy.od_kdy = noveOd;
            posun = tr("; první den posunut z %1 na %2, cena %3")
                        .arg(Historie::datum(pobyt.klic.od_kdy), Historie::datum(noveOd), QString::number(novaCena));
        }
        q.exec(SqlUbytovani::insertArrival(novy, kdy));
        QStringList jmena;
        for (const Host &h : hoste)
            jmena << h.celeJmeno();
        Historie::zapis(tr("Příjezd %1 (rezervace č. %2): %3; hosté %4%5")
                            .arg(cas(kdy))
                            .arg(pobyt.klic.cislo_objednavky)
                            .arg(Historie::pobyt(pobyt.cislo_pokoje, noveOd, pobyt.do_kdy, pobyt.klient),
                                 Historie::vycet(jmena), posun),
                        ids(pobyt, hosteIds));
    });
    return vysledek;
}

void zrusPrijezd(const PobytHosta &pobyt)
{
    TMojeDatabaze::current().save(zamky(pobyt), [&](TMojeQuery &q) {
        overPobyt(q, pobyt);
        q.exec(SqlUbytovani::deleteArrival(pobyt.klic));
        Historie::zapis(tr("Příjezd zrušen (rezervace č. %1): %2; zapsaný příjezd %3, údaje hostů zůstávají")
                            .arg(pobyt.klic.cislo_objednavky)
                            .arg(Historie::pobyt(pobyt.cislo_pokoje, pobyt.klic.od_kdy, pobyt.do_kdy, pobyt.klient),
                                 cas(pobyt.prijezd)),
                        ids(pobyt));
    });
}

QDate posledniNoc(const PobytHosta &pobyt, const QDate &den)
{
    return qMax(pobyt.klic.od_kdy, den.addDays(-1));
}

bool zkracuje(const PobytHosta &pobyt, const QDate &den)
{
    return posledniNoc(pobyt, den) < pobyt.do_kdy;
}

void odjezd(const PobytHosta &pobyt, const QDateTime &kdy, std::optional<double> novaCena)
{
    const QDate noveDo = novaCena && zkracuje(pobyt, kdy.date()) ? posledniNoc(pobyt, kdy.date()) : pobyt.do_kdy;
    TMojeDatabaze::current().save(zamky(pobyt), [&](TMojeQuery &q) {
        overPobyt(q, pobyt);
        q.exec(SqlUbytovani::updateDeparture(pobyt.klic, kdy));
        QString zkraceni;
        if (noveDo != pobyt.do_kdy) {
            q.exec(SqlUbytovani::shorten(pobyt.klic, noveDo, *novaCena));
            zkraceni = tr("; pobyt zkrácen do %1, cena %2 místo %3")
                           .arg(Historie::datum(noveDo), QString::number(*novaCena), QString::number(pobyt.cena));
        }
        q.exec(SqlUbytovani::markDirty(pobyt.klic.pokoj_id));
        Historie::zapis(tr("Odjezd %1 (rezervace č. %2): %3%4; pokoj k úklidu")
                            .arg(cas(kdy))
                            .arg(pobyt.klic.cislo_objednavky)
                            .arg(Historie::pobyt(pobyt.cislo_pokoje, pobyt.klic.od_kdy, pobyt.do_kdy, pobyt.klient),
                                 zkraceni),
                        ids(pobyt));
    });
}

void zrusOdjezd(const PobytHosta &pobyt)
{
    TMojeDatabaze::current().save(zamky(pobyt), [&](TMojeQuery &q) {
        overPobyt(q, pobyt);
        q.exec(SqlUbytovani::updateDeparture(pobyt.klic, QDateTime()));
        Historie::zapis(tr("Odjezd zrušen (rezervace č. %1): %2; zapsaný odjezd %3, hosté jsou opět ubytováni")
                            .arg(pobyt.klic.cislo_objednavky)
                            .arg(Historie::pobyt(pobyt.cislo_pokoje, pobyt.klic.od_kdy, pobyt.do_kdy, pobyt.klient),
                                 cas(pobyt.odjezd)),
                        ids(pobyt));
    });
}

} // namespace Ubytovani
