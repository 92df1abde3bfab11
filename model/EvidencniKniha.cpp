#include "model/EvidencniKniha.h"
#include "model/Zeme.h"

#include "db/SqlEvidencniKniha.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("EvidencniKniha", text);
}

// A plain number for a spreadsheet: no grouping, a decimal comma.
QString cislo(double v, int mist)
{
    return QString::number(v, 'f', mist).replace(u'.', u',');
}

QByteArray radekCsv(const QStringList &pole)
{
    QStringList p;
    for (QString s : pole) {
        if (s.contains(u';') || s.contains(u'"') || s.contains(u'\n') || s.contains(u'\r'))
            s = u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
        p << s;
    }
    return p.join(u';').toUtf8() + "\r\n";
}
} // namespace

namespace EvidencniKniha {

ZapisKnihy zapis(const Host &h, const KlicPobytu &pobyt, const QDate &posledniNoc, const QString &osvobozeni,
                 double sazba)
{
    ZapisKnihy z;
    z.host = h;
    z.pobyt = pobyt;
    z.posledniNoc = posledniNoc;
    z.osvobozeni = osvobozeni;
    z.poplatek = PoplatekZPobytu::spocitej(pobyt.od_kdy, posledniNoc, h.datum_narozeni, osvobozeni, sazba);
    return z;
}

std::vector<ZapisKnihy> nacti(TMojeQuery &q, const QDate &od, const QDate &doKdy, double sazba)
{
    std::vector<ZapisKnihy> out;
    q.setSql(SqlEvidencniKniha::selectGuests(od, doKdy));
    for (q.open(); !q.eof(); q.next()) {
        const KlicPobytu pobyt{q.integer(QStringLiteral("cislo_objednavky")), q.integer(QStringLiteral("pokoj_id")),
                               q.date(QStringLiteral("od_kdy"))};
        out.push_back(zapis(Hoste::zRadku(q), pobyt, q.date(QStringLiteral("do_kdy")),
                            q.text(QStringLiteral("osvobozeni_nazev")), sazba));
        out.back().cislo_pokoje = q.text(QStringLiteral("cislo_pokoje"));
    }
    return out;
}

std::vector<ZapisKnihy> nacti(const QDate &od, const QDate &doKdy, double sazba)
{
    TMojeQuery q;
    return nacti(q, od, doKdy, sazba);
}

std::vector<SouhrnMesice> souhrn(const std::vector<ZapisKnihy> &zapisy, const QDate &od, const QDate &doKdy,
                                 double sazba)
{
    std::vector<SouhrnMesice> out;
    for (QDate mesic(od.year(), od.month(), 1); mesic <= doKdy; mesic = mesic.addMonths(1)) {
        SouhrnMesice s;
        s.mesic = mesic;
        // The nights of the month that lie within the period.
        const QDate prvni = std::max(mesic, od);
        const QDate posledni = std::min(mesic.addMonths(1).addDays(-1), doKdy);
        for (const ZapisKnihy &z : zapisy) {
            const QDate a = std::max(prvni, z.pobyt.od_kdy);
            const QDate b = std::min(posledni, z.posledniNoc);
            if (a > b)
                continue;
            int placene = 0;
            for (QDate noc = a; noc <= b; noc = noc.addDays(1))
                placene += PoplatekZPobytu::placena(noc, z.pobyt.od_kdy, z.posledniNoc, z.host.datum_narozeni,
                                                    z.osvobozeni);
            const int noci = int(a.daysTo(b)) + 1;
            ++s.osob;
            s.noci += noci;
            s.placene += placene;
            if (placene < noci)
                ++s.osvobozeni[z.poplatek.duvod];
        }
        s.castka = s.placene * sazba;
        out.push_back(s);
    }
    return out;
}

QString nazevMesice(const QDate &mesic)
{
    return QLocale(QLocale::Czech, QLocale::Czechia).standaloneMonthName(mesic.month()) + u' '
           + QString::number(mesic.year());
}

QString adresa(const Host &h)
{
    QStringList casti;
    if (!h.ulice.isEmpty())
        casti << h.ulice;
    const QString mesto = QStringList{h.psc, h.mesto}.join(u' ').trimmed();
    if (!mesto.isEmpty())
        casti << mesto;
    if (!h.stat.isEmpty())
        casti << Zeme::nazev(h.stat);
    return casti.join(QStringLiteral(", "));
}

QString doklad(const Host &h)
{
    return QStringList{h.doklad_druh, h.doklad_cislo}.join(u' ').trimmed();
}

QString poplatekText(const PoplatekZPobytu::Poplatek &p)
{
    const QString castka = QStringLiteral("%1 Kč").arg(QLocale(QLocale::Czech, QLocale::Czechia).toString(p.castka, 'f', 2));
    if (p.duvod.isEmpty())
        return castka;
    if (p.placene == 0)
        return tr("osvobozen: %1").arg(p.duvod);
    return tr("%1 (%2 z %3 nocí osvobozeno: %4)").arg(castka).arg(p.osvobozene()).arg(p.noci).arg(p.duvod);
}

QByteArray csv(const std::vector<SouhrnMesice> &mesice, double sazba)
{
    QStringList duvody;
    for (const SouhrnMesice &m : mesice)
        for (auto i = m.osvobozeni.cbegin(); i != m.osvobozeni.cend(); ++i)
            if (!duvody.contains(i.key()))
                duvody << i.key();
    const QCollator porovnani(QLocale(QLocale::Czech, QLocale::Czechia));
    std::sort(duvody.begin(), duvody.end(), porovnani);

    QStringList zahlavi{tr("Měsíc"), tr("Ubytovaných osob"), tr("Nocí celkem"), tr("Zpoplatněných dnů"),
                        tr("Osvobozených osob")};
    for (const QString &d : duvody)
        zahlavi << tr("Osvobozeno: %1").arg(d);
    zahlavi << tr("Sazba (Kč)") << tr("Poplatek (Kč)");

    QByteArray soubor("\xEF\xBB\xBF");   // Excel reads UTF-8 only after its mark
    soubor += radekCsv(zahlavi);
    for (const SouhrnMesice &m : mesice) {
        int osvobozenych = 0;
        for (int n : m.osvobozeni)
            osvobozenych += n;
        // The month by name: a spreadsheet would read a digit form as a date of its own choosing.
        QStringList radek{nazevMesice(m.mesic), QString::number(m.osob),
                          QString::number(m.noci), QString::number(m.placene), QString::number(osvobozenych)};
        for (const QString &d : duvody)
            radek << QString::number(m.osvobozeni.value(d));
        radek << cislo(sazba, 2) << cislo(m.castka, 2);
        soubor += radekCsv(radek);
    }
    return soubor;
}

} // namespace EvidencniKniha
