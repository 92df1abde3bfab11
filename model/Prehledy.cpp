#include "model/Prehledy.h"

#include "db/SqlPokoje.h"
#include "db/SqlPrehledy.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <map>

namespace Prehledy {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Prehledy", text);
}

// A bucket: the days of the period it holds, as offsets from its first day.
struct Kos
{
    int prvni = 0;
    int posledni = 0;
    QDate od;
    QDate doKdy;
    QString nazev;
};

std::vector<Kos> rozdelNaKose(const Zadani &z)
{
    std::vector<Kos> kose;
    if (!z.od.isValid() || !z.doKdy.isValid() || z.doKdy < z.od)
        return kose;
    const int dnu = int(z.od.daysTo(z.doKdy)) + 1;
    const QLocale cesky(QLocale::Czech);
    for (int prvni = 0; prvni < dnu;) {
        const QDate den = z.od.addDays(prvni);
        int posledni = prvni;
        QString nazev = den.toString(QStringLiteral("dd.MM.yyyy"));
        if (z.cleneni == Cleneni::PoMesicich) {
            // The first and last month may be partial: their room-nights are those of the period.
            posledni = qMin(dnu - 1, prvni + den.daysInMonth() - den.day());
            nazev = cesky.standaloneMonthName(den.month()) + u' ' + QString::number(den.year());
        }
        kose.push_back({prvni, posledni, den, z.od.addDays(posledni), nazev});
        prvni = posledni + 1;
    }
    return kose;
}

std::optional<double> podil(double citatel, qint64 jmenovatel)
{
    if (jmenovatel <= 0)
        return std::nullopt;
    return citatel / double(jmenovatel);
}

QStringList polozky(const RadekPrehledu &r, Rozpad rozpad, bool seskupit, const QString &bezHodnoty)
{
    const auto hodnota = [&](std::optional<double> v, int mist) {
        return v ? cislo(*v, mist, seskupit) : bezHodnoty;
    };
    QStringList p{r.obdobi};
    if (rozpad != Rozpad::Celkem)
        p << r.kategorie;
    p << cislo(double(r.obsazene), 0, seskupit) << cislo(double(r.dostupne), 0, seskupit)
      << hodnota(r.obsazenost(), 1) << cislo(r.trzba, 2, seskupit) << hodnota(r.adr(), 2)
      << hodnota(r.revpar(), 2);
    return p;
}

QByteArray radekCsv(const QStringList &pole)
{
    QString radek;
    for (qsizetype i = 0; i < pole.size(); ++i) {
        if (i > 0)
            radek += u';';
        QString p = pole[i];
        if (p.contains(u';') || p.contains(u'"') || p.contains(u'\n') || p.contains(u'\r'))
            p = u'"' + p.replace(u'"', QStringLiteral("\"\"")) + u'"';
        radek += p;
    }
    return radek.toUtf8() + "\r\n";
}

} // namespace

std::optional<double> RadekPrehledu::obsazenost() const
{
    const auto p = podil(double(obsazene), dostupne);
    return p ? std::optional(*p * 100.0) : std::nullopt;
}

std::optional<double> RadekPrehledu::adr() const
{
    return podil(trzba, obsazene);
}

std::optional<double> RadekPrehledu::revpar() const
{
    return podil(trzba, dostupne);
}

std::vector<RadekPrehledu> spocitej(const Zadani &zadani, const std::vector<PokojPrehledu> &pokoje,
                                    const std::vector<TypKlientaPrehledu> &typyKlientu,
                                    const std::vector<PobytPrehledu> &pobyty)
{
    const std::vector<Kos> kose = rozdelNaKose(zadani);
    if (kose.empty())
        return {};
    const int dnu = kose.back().posledni + 1;
    std::vector<int> kosDne(std::size_t(dnu), 0);
    for (int k = 0; k < int(kose.size()); ++k)
        for (int d = kose[std::size_t(k)].prvni; d <= kose[std::size_t(k)].posledni; ++d)
            kosDne[std::size_t(d)] = k;

    // The rooms, each once.
    QHash<int, int> indexPokoje;   // pokoj_id -> room index
    std::vector<int> typPokoje;    // room index -> typ_pokoje_id
    for (const PokojPrehledu &p : pokoje)
        if (!indexPokoje.contains(p.pokoj_id)) {
            indexPokoje.insert(p.pokoj_id, int(typPokoje.size()));
            typPokoje.push_back(p.typ_pokoje_id);
        }
    const qint64 pokoju = qint64(typPokoje.size());

    // The categories in the order of their ids, the unknown one last: the
    // total alone, the room types of the rooms, or every client type.
    std::vector<QString> kategorie;
    std::vector<qint64> pokojuKategorie;            // the rooms whose nights each category may book
    std::vector<int> kategoriePokoje(typPokoje.size(), 0);   // room index -> category, unless by client type
    QHash<int, int> kategorieTypu;                  // type id -> category
    const QString neznamy = tr("neznámý");
    switch (zadani.rozpad) {
    case Rozpad::Celkem:
        kategorie.push_back({});
        pokojuKategorie.push_back(pokoju);
        break;
    case Rozpad::PodleTypuPokoje: {
        std::map<unsigned, QString> typy;   // unsigned: the missing type's -1 sorts last
        for (const PokojPrehledu &p : pokoje)
            typy.emplace(unsigned(p.typ_pokoje_id), p.typ_pokoje_id < 0 ? neznamy : p.nazev_typu_pokoje);
        for (const auto &[id, nazev] : typy) {
            kategorieTypu.insert(int(id), int(kategorie.size()));
            kategorie.push_back(nazev);
        }
        pokojuKategorie.assign(kategorie.size(), 0);
        for (std::size_t i = 0; i < typPokoje.size(); ++i) {
            kategoriePokoje[i] = kategorieTypu.value(typPokoje[i]);
            ++pokojuKategorie[std::size_t(kategoriePokoje[i])];
        }
        break;
    }
    case Rozpad::PodleTypuKlienta:
        // Any guest may book any room: each client type's nights are out of all the group's.
        for (const TypKlientaPrehledu &t : typyKlientu)
            if (!kategorieTypu.contains(t.typ_klienta_id)) {
                kategorieTypu.insert(t.typ_klienta_id, int(kategorie.size()));
                kategorie.push_back(t.typ_klienta);
            }
        kategorie.push_back(neznamy);
        pokojuKategorie.assign(kategorie.size(), pokoju);
        break;
    }

    const std::size_t pocetKosu = kose.size();
    const std::size_t pocetKategorii = kategorie.size();
    std::vector<qint64> noci(pocetKategorii * pocetKosu, 0);
    std::vector<double> trzby(pocetKategorii * pocetKosu, 0.0);
    std::vector<bool> maPobyt(pocetKategorii, false);
    // A room's night is booked once per category, however many stays claim it.
    std::vector<std::vector<bool>> obsazeno(pocetKategorii);
    for (const PobytPrehledu &s : pobyty) {
        const auto pokoj = indexPokoje.constFind(s.pokoj_id);
        if (pokoj == indexPokoje.constEnd() || s.posledniNoc < s.prvniNoc)
            continue;
        const int od = qMax(0, s.prvniNoc);
        const int po = qMin(dnu - 1, s.posledniNoc);
        if (od > po)
            continue;
        const double naNoc = s.cena / (double(s.posledniNoc) - double(s.prvniNoc) + 1.0);
        std::size_t k = 0;
        if (zadani.rozpad == Rozpad::PodleTypuKlienta)
            k = std::size_t(kategorieTypu.value(s.typ_klienta_id, int(pocetKategorii) - 1));
        else
            k = std::size_t(kategoriePokoje[std::size_t(*pokoj)]);
        maPobyt[k] = true;
        std::vector<bool> &bity = obsazeno[k];
        if (bity.empty())
            bity.resize(std::size_t(pokoju) * std::size_t(dnu), false);
        const std::size_t zacatekPokoje = std::size_t(*pokoj) * std::size_t(dnu);
        for (int d = od; d <= po; ++d) {
            const std::size_t bunka = k * pocetKosu + std::size_t(kosDne[std::size_t(d)]);
            if (!bity[zacatekPokoje + std::size_t(d)]) {
                bity[zacatekPokoje + std::size_t(d)] = true;
                ++noci[bunka];
            }
            trzby[bunka] += naNoc;
        }
    }

    std::vector<RadekPrehledu> radky;
    radky.reserve(pocetKosu * pocetKategorii);
    for (std::size_t b = 0; b < pocetKosu; ++b) {
        const Kos &kos = kose[b];
        for (std::size_t k = 0; k < pocetKategorii; ++k) {
            // The unknown client type shows only when some stay has it.
            if (zadani.rozpad == Rozpad::PodleTypuKlienta && k + 1 == pocetKategorii && !maPobyt[k])
                continue;
            const std::size_t bunka = k * pocetKosu + b;
            radky.push_back({kos.od, kos.doKdy, kos.nazev, kategorie[k], noci[bunka],
                             pokojuKategorie[k] * (kos.posledni - kos.prvni + 1), trzby[bunka], int(k)});
        }
    }
    return radky;
}

std::vector<SkupinaPrehledu> skupiny()
{
    std::vector<SkupinaPrehledu> s;
    TMojeQuery q;
    q.setSql(SqlPokoje::selectGroups());
    for (q.open(); !q.eof(); q.next())
        s.push_back({q.integer(QStringLiteral("skupina_pokoju_id")), q.text(QStringLiteral("nazev_skupiny_pokoju"))});
    return s;
}

std::vector<RadekPrehledu> nacti(const Zadani &zadani)
{
    if (!zadani.od.isValid() || !zadani.doKdy.isValid() || zadani.doKdy < zadani.od)
        return {};
    std::vector<PokojPrehledu> pokoje;
    TMojeQuery q;
    q.setSql(SqlPrehledy::selectRooms(zadani.skupinaPokojuId));
    for (q.open(); !q.eof(); q.next())
        pokoje.push_back({q.integer(0), q.integer(1), q.text(QStringLiteral("nazev_typu_pokoje"))});

    std::vector<TypKlientaPrehledu> typyKlientu;
    if (zadani.rozpad == Rozpad::PodleTypuKlienta) {
        q.setSql(SqlPrehledy::selectClientTypes());
        for (q.open(); !q.eof(); q.next())
            typyKlientu.push_back({q.integer(0), q.text(QStringLiteral("typ_klienta"))});
    }

    std::vector<PobytPrehledu> pobyty;
    if (!pokoje.empty()) {
        q.setSql(SqlPrehledy::selectStays(zadani.od, zadani.doKdy, zadani.rozpad == Rozpad::PodleTypuKlienta));
        const QString cena = QStringLiteral("cena");
        for (q.open(); !q.eof(); q.next())
            pobyty.push_back({q.integer(0), q.integer(1), q.integer(2), q.real(cena), q.integer(4)});
    }
    return spocitej(zadani, pokoje, typyKlientu, pobyty);
}

QString cislo(double hodnota, int mist, bool seskupit)
{
    QLocale cesky(QLocale::Czech);
    if (!seskupit)
        cesky.setNumberOptions(QLocale::OmitGroupSeparator);
    // No "-0,00" for a share that rounds to nothing.
    const double rad = std::pow(10.0, mist);
    const double zaokrouhleno = std::round(hodnota * rad) / rad;
    return cesky.toString(zaokrouhleno == 0.0 ? 0.0 : zaokrouhleno, 'f', mist);
}

QStringList zahlavi(Rozpad rozpad)
{
    QStringList z{tr("Období")};
    if (rozpad != Rozpad::Celkem)
        z << tr("Kategorie");
    z << tr("Obsazené pokojonoci") << tr("Dostupné pokojonoci") << tr("Obsazenost %") << tr("Tržba Kč")
      << tr("ADR Kč") << tr("RevPAR Kč");
    return z;
}

QStringList texty(const RadekPrehledu &radek, Rozpad rozpad, bool seskupit)
{
    return polozky(radek, rozpad, seskupit, QStringLiteral("–"));
}

QByteArray csv(const std::vector<RadekPrehledu> &radky, Rozpad rozpad)
{
    QByteArray soubor("\xEF\xBB\xBF");   // Excel reads UTF-8 only after its mark
    soubor += radekCsv(zahlavi(rozpad));
    for (const RadekPrehledu &r : radky)
        soubor += radekCsv(polozky(r, rozpad, false, {}));
    return soubor;
}

} // namespace Prehledy
