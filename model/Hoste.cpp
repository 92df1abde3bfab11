#include "model/Hoste.h"
#include "model/Zeme.h"
#include "model/Zmeny.h"

#include "db/CiselneRady.h"
#include "db/SqlHoste.h"
#include "db/SqlKnihy.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("Hoste", text);
}

Host nactiHosta(const TMojeQuery &q)
{
    Host h;
    h.host_id = q.integer(QStringLiteral("host_id"));
    h.jmeno = q.text(QStringLiteral("jmeno"));
    h.prijmeni = q.text(QStringLiteral("prijmeni"));
    h.datum_narozeni = q.date(QStringLiteral("datum_narozeni"));
    h.statni_prislusnost = q.text(QStringLiteral("statni_prislusnost"));
    h.ulice = q.text(QStringLiteral("ulice"));
    h.mesto = q.text(QStringLiteral("mesto"));
    h.psc = q.text(QStringLiteral("psc"));
    h.stat = q.text(QStringLiteral("stat"));
    h.doklad_druh = q.text(QStringLiteral("doklad_druh"));
    h.doklad_cislo = q.text(QStringLiteral("doklad_cislo"));
    h.vizum = q.text(QStringLiteral("vizum"));
    h.ucel = q.text(QStringLiteral("ucel"));
    h.osvobozeni_id = q.integer(QStringLiteral("osvobozeni_id"));
    return h;
}

bool prazdne(const QString &text)
{
    return text.trimmed().isEmpty();
}
} // namespace

bool Host::jeCizinec() const
{
    return statni_prislusnost != Zeme::cesko();
}

QString Host::celeJmeno() const
{
    const QString cele = (jmeno.trimmed() + u' ' + prijmeni.trimmed()).trimmed();
    return cele.isEmpty() ? QStringLiteral("?") : cele;
}

void Host::kopirujAdresu(const Host &od)
{
    ulice = od.ulice;
    mesto = od.mesto;
    psc = od.psc;
    stat = od.stat;
}

namespace Hoste {

const QList<QPair<QString, QString>> &ucely()
{
    static const QList<QPair<QString, QString>> seznam{
        {QStringLiteral("00"), tr("zdravotní")},
        {QStringLiteral("01"), tr("obchodní")},
        {QStringLiteral("02"), tr("kulturní")},
        {QStringLiteral("03"), tr("návštěva rodiny nebo přátel")},
        {QStringLiteral("04"), tr("pozvání")},
        {QStringLiteral("05"), tr("oficiální")},
        {QStringLiteral("06"), tr("podnikání")},
        {QStringLiteral("07"), tr("sportovní")},
        {QStringLiteral("10"), tr("turistika")},
        {QStringLiteral("11"), tr("studium")},
        {QStringLiteral("12"), tr("tranzit")},
        {QStringLiteral("13"), tr("letištní tranzit")},
        {QStringLiteral("27"), tr("zaměstnání")},
        {QStringLiteral("93"), tr("vízum ADS")},
        {QStringLiteral("99"), tr("jiný")},
    };
    return seznam;
}

QStringList druhyDokladu()
{
    return {tr("občanský průkaz"), tr("cestovní pas"), tr("povolení k pobytu"), tr("jiný")};
}

QStringList coChybi(const Host &h, const QDate &dnes)
{
    QStringList chybi;
    const auto povinne = [&](const QString &hodnota, const char *nazev) {
        if (prazdne(hodnota))
            chybi << tr(nazev);
    };
    povinne(h.jmeno, "jméno");
    povinne(h.prijmeni, "příjmení");
    if (!h.datum_narozeni.isValid())
        chybi << tr("datum narození");
    else if (h.datum_narozeni >= dnes)
        chybi << tr("datum narození (musí být v minulosti)");
    povinne(h.statni_prislusnost, "státní příslušnost");
    povinne(h.ulice, "ulice");
    povinne(h.mesto, "obec");
    if (h.jeCizinec()) {
        // The foreigners' book: the address abroad, the travel document.
        povinne(h.stat, "stát bydliště");
        povinne(h.doklad_cislo, "číslo cestovního dokladu");
    } else {
        // The stay-fee book: a Czech address and the identity document with its kind.
        static const QRegularExpression pscCesko(QStringLiteral("^\\d{3} ?\\d{2}$"));
        if (prazdne(h.psc))
            chybi << tr("PSČ");
        else if (h.stat == Zeme::cesko() && !pscCesko.match(h.psc.trimmed()).hasMatch())
            chybi << tr("PSČ (pět číslic)");
        povinne(h.doklad_druh, "druh dokladu");
        povinne(h.doklad_cislo, "číslo dokladu");
    }
    return chybi;
}

QString chybejiciUdaje(const std::vector<Host> &hoste, const QDate &dnes)
{
    QStringList radky;
    for (std::size_t i = 0; i < hoste.size(); ++i) {
        const QStringList chybi = coChybi(hoste[i], dnes);
        if (!chybi.isEmpty())
            radky << tr("%1. host %2: chybí %3").arg(i + 1).arg(hoste[i].celeJmeno(), chybi.join(QStringLiteral(", ")));
    }
    return radky.join(u'\n');
}

bool jeMladsi18(const Host &h, const QDate &prvniDen)
{
    // Eighteen on the first day counts as adult; born on 29 February, on
    // 28 February of a common year (the civil code's last day of the month).
    return h.datum_narozeni.isValid() && prvniDen.isValid() && h.datum_narozeni.addYears(18) > prvniDen;
}

Host zRadku(const TMojeQuery &q)
{
    return nactiHosta(q);
}

std::vector<Host> nacti(TMojeQuery &q, const KlicPobytu &pobyt)
{
    std::vector<Host> hoste;
    q.setSql(SqlHoste::selectGuests(pobyt));
    for (q.open(); !q.eof(); q.next())
        hoste.push_back(nactiHosta(q));
    return hoste;
}

std::vector<Host> nacti(const KlicPobytu &pobyt)
{
    TMojeQuery q;
    return nacti(q, pobyt);
}

QList<int> uloz(TMojeQuery &q, const KlicPobytu &pobyt, const QDate &noveOd, const std::vector<Host> &nacteni,
                const std::vector<Host> &hoste)
{
    const auto idOf = [](const Host &h) { return h.host_id; };
    const Zmeny<Host> z = najdiZmeny(nacteni, hoste, idOf);
    overZmeny(z, nacti(q, pobyt), idOf, [](const Host &h) {
        return QCoreApplication::translate("Hoste", "Údaje hosta %1").arg(Konflikt::uvozovky(h.celeJmeno()));
    });
    // A checked-in stay's guests are entries of the guest books: never removed,
    // and a correction keeps the particulars as they were written.
    q.setSql(SqlKnihy::selectCheckedInStay(pobyt));
    q.open();
    if (q.integer(QStringLiteral("pocet")) > 0) {
        if (!z.odstranene.empty())
            throw DatabaseError(tr("Hosta %1 nelze odebrat: pobyt je ubytovaný a záznam v knize ubytovaných se "
                                   "uchovává 6 let. Údaje hosta lze opravit.")
                                    .arg(Konflikt::uvozovky(z.odstranene.front().celeJmeno())));
        for (const auto &zmena : z.zmenene)
            q.exec(SqlKnihy::insertCorrection(zmena.first.host_id));
    }
    KlicPobytu novy = pobyt;
    novy.od_kdy = noveOd;
    if (noveOd != pobyt.od_kdy)
        q.exec(SqlHoste::moveGuests(pobyt, noveOd));
    for (const Host &h : z.odstranene)
        q.exec(SqlHoste::deleteGuest(h.host_id));
    const int pridanych = int(z.pridane.size());
    int dalsi = pridanych > 0 ? CiselneRady::vezmi(q, CiselneRady::Rada::Host, pridanych) : 0;
    QList<int> ids;
    for (int poradi = 0; poradi < int(hoste.size()); ++poradi) {
        const Host &h = hoste[poradi];
        // Every guest is written, so that the order shown is the order stored.
        if (jeDocasneId(h.host_id) || h.host_id == 0) {
            ids << dalsi;
            q.exec(SqlHoste::insertGuest(q.format(), dalsi++, novy, poradi, h));
        } else {
            ids << h.host_id;
            q.exec(SqlHoste::updateGuest(q.format(), h.host_id, novy, poradi, h));
        }
    }
    return ids;
}

QList<QPair<int, QString>> osvobozeni()
{
    QList<QPair<int, QString>> out;
    TMojeQuery q;
    q.setSql(SqlHoste::selectExemptions());
    for (q.open(); !q.eof(); q.next())
        out.append({q.integer(QStringLiteral("osvobozeni_id")), q.text(QStringLiteral("nazev"))});
    return out;
}

std::vector<Host> najdiVracejiciSe(const QString &prijmeni, int limit)
{
    std::vector<Host> out;
    if (prazdne(prijmeni))
        return out;
    TMojeQuery q;
    // More rows than people: one person's several stays fold into the newest.
    q.setSql(SqlHoste::selectBySurname(q.format(), prijmeni.trimmed(), limit * 5));
    QSet<QString> videni;
    for (q.open(); !q.eof() && int(out.size()) < limit; q.next()) {
        const Host h = nactiHosta(q);
        const QString kdo = h.jmeno.toLower() + u'|' + h.prijmeni.toLower() + u'|' + h.datum_narozeni.toString(Qt::ISODate);
        if (!videni.contains(kdo)) {
            videni.insert(kdo);
            out.push_back(h);
        }
    }
    return out;
}

} // namespace Hoste
