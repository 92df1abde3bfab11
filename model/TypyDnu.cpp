#include "model/TypyDnu.h"

#include "db/SqlTypyDnu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Historie.h"
#include "model/Kolekce.h"

#include <QSet>
#include <algorithm>

namespace {

using Radek = TypyDnu::Radek;

QString tr(const char *text)
{
    return QCoreApplication::translate("TypyDnu", text);
}

int idRadku(const Radek &r)
{
    return r.typ_dne_id;
}

QString nazevRadku(const Radek &r)
{
    return r.nazev_typu_dne;
}

QString popisRadku(const Radek &r)
{
    return popisTypuDne(r.nazev_typu_dne);
}

std::vector<Radek> nactiRadky(TMojeQuery &q)
{
    q.setSql(SqlTypyDnu::selectDayTypes());
    q.open();
    std::vector<Radek> radky;
    for (; !q.eof(); q.next())
        radky.push_back({q.integer("typ_dne_id"), q.text("nazev_typu_dne"), q.integer("poradi")});
    // Stable: equal poradi keep the order read, which becomes their priority at the save.
    std::stable_sort(radky.begin(), radky.end(), [](const Radek &a, const Radek &b) { return a.poradi < b.poradi; });
    return radky;
}

/** How many calendar rows and prices refer to the day type. */
std::pair<int, int> pocetRadku(TMojeQuery &q, int typDneId)
{
    q.setSql(SqlTypyDnu::countRowsOfDayType(typDneId));
    q.open();
    return {q.integer("dny"), q.integer("ceny")};
}

} // namespace

QString popisTypuDne(const QString &nazev)
{
    return tr("Typ dne %1").arg(Konflikt::uvozovky(nazev));
}

TypyDnu::TypyDnu()
{
    Nacti();
}

void TypyDnu::Nacti()
{
    TMojeQuery q;
    std::vector<Radek> radky = nactiRadky(q);
    m_typy.clear();
    for (const Radek &r : radky)
        m_typy.push_back({r.typ_dne_id, r.nazev_typu_dne});
    m_nactene = std::move(radky);
    m_dnyNovych.clear();
    m_radkyOdstranenych.clear();
}

void TypyDnu::Vypis(QStringList &seznam) const
{
    listNames(m_typy, [](const TypDne &t) { return t.nazev_typu_dne; }, seznam);
}

int TypyDnu::NajdiId(const QString &nazev) const
{
    return findIdByName(
        m_typy, nazev, [](const TypDne &t) { return t.nazev_typu_dne; }, [](const TypDne &t) { return t.typ_dne_id; },
        -1);
}

int TypyDnu::Pridej(const QString &nazev)
{
    const int id = dalsiDocasneId(m_typy, [](const TypDne &t) { return t.typ_dne_id; });
    m_typy.push_back({id, nazev});
    return id;
}

bool TypyDnu::nazevObsazen(const QString &nazev) const
{
    const auto vSeznamu = [&](int id) {
        return std::any_of(m_typy.begin(), m_typy.end(), [id](const TypDne &t) { return t.typ_dne_id == id; });
    };
    if (std::any_of(m_typy.begin(), m_typy.end(), [&](const TypDne &t) { return t.nazev_typu_dne == nazev; }))
        return true;
    // A stored type removed here goes at the save, with its name.
    const auto odstranenZde = [&](int id) {
        return std::any_of(m_nactene.begin(), m_nactene.end(), [id](const Radek &r) { return r.typ_dne_id == id; })
               && !vSeznamu(id);
    };
    TMojeQuery q;
    const std::vector<Radek> tabulka = nactiRadky(q);
    return std::any_of(tabulka.begin(), tabulka.end(), [&](const Radek &r) {
        return r.nazev_typu_dne == nazev && !odstranenZde(r.typ_dne_id);
    });
}

void TypyDnu::Odstran(int radek)
{
    if (radek < 0 || radek >= static_cast<int>(m_typy.size()))
        return;
    const int id = m_typy[radek].typ_dne_id;
    if (jeDocasneId(id)) {
        m_dnyNovych.erase(id);
    } else {
        TMojeQuery q;
        m_radkyOdstranenych.insert(id, pocetRadku(q, id));
    }
    m_typy.erase(m_typy.begin() + radek);
}

bool TypyDnu::Posun(int index, int krok)
{
    const int cil = index + krok;
    const int pocet = static_cast<int>(m_typy.size());
    if (index < 0 || index >= pocet || cil < 0 || cil >= pocet)
        return false;
    const TypDne typ = m_typy[index];
    m_typy.erase(m_typy.begin() + index);
    m_typy.insert(m_typy.begin() + cil, typ);
    return true;
}

std::set<QDate> TypyDnu::dnyNovehoTypu(int typDneId) const
{
    const auto it = m_dnyNovych.find(typDneId);
    return it == m_dnyNovych.end() ? std::set<QDate>() : it->second;
}

void TypyDnu::nastavDnyNovehoTypu(int typDneId, std::set<QDate> dny)
{
    if (jeDocasneId(typDneId))
        m_dnyNovych[typDneId] = std::move(dny);
}

bool TypyDnu::jenPridane() const
{
    // The stored types keep their order and every new one follows them.
    std::size_t dalsi = 0;
    bool novy = false;
    for (const TypDne &t : m_typy) {
        if (jeDocasneId(t.typ_dne_id)) {
            novy = true;
            continue;
        }
        while (dalsi < m_nactene.size() && m_nactene[dalsi].typ_dne_id != t.typ_dne_id)
            ++dalsi;
        if (novy || dalsi == m_nactene.size())
            return false;
        ++dalsi;
    }
    return true;
}

std::vector<Radek> TypyDnu::cil() const
{
    std::vector<Radek> radky;
    if (jenPridane()) {
        // Stored types keep their poradi; new ones get theirs at the save, below every stored type.
        for (const TypDne &t : m_typy) {
            const auto r = std::find_if(m_nactene.begin(), m_nactene.end(),
                                        [&](const Radek &n) { return n.typ_dne_id == t.typ_dne_id; });
            radky.push_back({t.typ_dne_id, t.nazev_typu_dne, r == m_nactene.end() ? 0 : r->poradi});
        }
        return radky;
    }
    // Any other change of order numbers the whole list 1, 2, …
    int poradi = 0;
    for (const TypDne &t : m_typy)
        radky.push_back({t.typ_dne_id, t.nazev_typu_dne, ++poradi});
    return radky;
}

Zmeny<Radek> TypyDnu::zmeny() const
{
    return najdiZmeny(m_nactene, cil(), idRadku);
}

void TypyDnu::Uloz()
{
    const std::vector<Radek> ted = cil();
    const Zmeny<Radek> z = najdiZmeny(m_nactene, ted, idRadku);
    if (z.prazdne())
        return;
    QHash<int, Radek> nactene;
    for (const Radek &r : m_nactene)
        nactene.insert(r.typ_dne_id, r);
    QList<int> odstranene;
    for (const Radek &r : z.odstranene)
        odstranene << r.typ_dne_id;

    std::vector<Radek> ulozene;
    TMojeDatabaze::current().save(SqlTypyDnu::lockDayTypes(), [&](TMojeQuery &q) {
        ulozene = ted;
        const std::vector<Radek> tabulka = nactiRadky(q);
        // Only the order moved at the other desk: the types here renumbered
        // with it were moved by nobody, so no type is named.
        try {
            overZmeny(z, tabulka, idRadku, popisRadku);
        } catch (const DatabaseError &) {
            bool jenPoradi = true;
            const auto stejnyNazev = [&](const Radek &r) {
                const auto t = std::find_if(tabulka.begin(), tabulka.end(),
                                            [&](const Radek &x) { return x.typ_dne_id == r.typ_dne_id; });
                jenPoradi = jenPoradi && t != tabulka.end() && t->nazev_typu_dne == r.nazev_typu_dne;
            };
            for (const Radek &r : z.odstranene)
                stejnyNazev(r);
            for (const auto &[nacteny, novy] : z.zmenene)
                stejnyNazev(nacteny);
            if (jenPoradi)
                throw Konflikt::chyba(tr("Pořadí typů dnů mezitím změnila jiná recepce."));
            throw;
        }
        for (const Radek &r : z.odstranene) {
            const auto pred = m_radkyOdstranenych.constFind(r.typ_dne_id);
            if (pred == m_radkyOdstranenych.constEnd())
                continue;
            const auto [dny, ceny] = pocetRadku(q, r.typ_dne_id);
            if (dny > pred->first || ceny > pred->second)
                throw Konflikt::pouzit(tr("K typu dne %1 mezitím jiná recepce přidala ceny nebo dny kalendáře.")
                                           .arg(Konflikt::uvozovky(r.nazev_typu_dne)));
        }
        // A new or renamed type's name must still be free.
        for (const Radek &r : ted) {
            const auto it = nactene.constFind(r.typ_dne_id);
            if (it != nactene.constEnd() && it->nazev_typu_dne == r.nazev_typu_dne)
                continue;
            for (const Radek &t : tabulka)
                if (t.nazev_typu_dne == r.nazev_typu_dne && t.typ_dne_id != r.typ_dne_id
                    && !odstranene.contains(t.typ_dne_id))
                    throw Konflikt::pridan(popisRadku(r));
        }

        // Numbering the whole list would tie with, or jump over, a type another
        // desk added meanwhile, whose place in this list nobody chose.
        int nejnizsi = 0;
        for (const Radek &t : tabulka) {
            nejnizsi = std::max(nejnizsi, t.poradi);
            if (!jenPridane() && !nactene.contains(t.typ_dne_id))
                throw Konflikt::pridan(popisRadku(t));
        }
        // A new type's id was never a type's, price's or date's here: it takes over nothing.
        QSet<int> pouzite;
        for (const Radek &t : tabulka)
            pouzite.insert(t.typ_dne_id);
        q.setSql(SqlTypyDnu::selectReferencedDayTypeIds());
        q.open();
        for (; !q.eof(); q.next())
            pouzite.insert(q.integer("typ_dne_id"));
        for (Radek &r : ulozene) {
            if (!jeDocasneId(r.typ_dne_id))
                continue;
            int id = 1;
            while (pouzite.contains(id))
                ++id;
            pouzite.insert(id);
            r.typ_dne_id = id;
            if (r.poradi == 0)
                r.poradi = ++nejnizsi;
        }

        if (!odstranene.isEmpty()) {
            q.exec(SqlTypyDnu::deleteDayTypes(odstranene));
            q.exec(SqlTypyDnu::deletePricesOfDayTypes(odstranene));
            q.exec(SqlTypyDnu::deleteCalendarOfDayTypes(odstranene));
        }
        for (std::size_t i = 0; i < ted.size(); ++i) {
            const Radek &r = ulozene[i];
            if (jeDocasneId(ted[i].typ_dne_id)) {
                q.exec(SqlTypyDnu::insertDayType(q.format(), r.typ_dne_id, r.nazev_typu_dne, r.poradi));
                for (const QDate &den : dnyNovehoTypu(ted[i].typ_dne_id))
                    q.exec(SqlTypyDnu::insertCalendarDay(den, r.typ_dne_id));
            } else if (!(r == nactene.value(r.typ_dne_id))) {
                q.exec(SqlTypyDnu::updateDayType(q.format(), r.typ_dne_id, r.nazev_typu_dne, r.poradi));
            }
        }
        QHash<int, int> skutecneId;   // provisional -> stored
        for (std::size_t i = 0; i < ted.size(); ++i)
            skutecneId.insert(ted[i].typ_dne_id, ulozene[i].typ_dne_id);
        Historie::zapis(QCoreApplication::translate("Historie", "Typy dnů uloženy: %1")
                            .arg(Historie::zmeny(z, [](const Radek &r) { return r.nazev_typu_dne; })),
                        Historie::ids(QStringLiteral("typ_dne"), Historie::idsZmen(z, idRadku, [&](int id) {
                                          return skutecneId.value(id, id);
                                      })));
    });
    for (std::size_t i = 0; i < m_typy.size(); ++i)
        m_typy[i].typ_dne_id = ulozene[i].typ_dne_id;
    m_nactene = std::move(ulozene);
    m_dnyNovych.clear();
    m_radkyOdstranenych.clear();
}

void TypyDnu::reloadKeepingChanges()
{
    const Zmeny<Radek> z = zmeny();
    TMojeQuery q;
    std::vector<Radek> tabulka = nactiRadky(q);
    const std::vector<Radek> radky = prenesZmeny(z, tabulka, nazevRadku);
    const auto najdi = [](const std::vector<Radek> &v, int id) {
        return std::find_if(v.begin(), v.end(), [id](const Radek &r) { return r.typ_dne_id == id; });
    };

    // The list keeps the order it was given here; a type it did not hold
    // (added or kept by another desk) goes below the last type of the list
    // that the table has above or level with it.
    std::vector<TypDne> typy;
    for (const TypDne &t : m_typy)
        if (const auto r = najdi(radky, t.typ_dne_id); r != radky.end())
            typy.push_back({r->typ_dne_id, r->nazev_typu_dne});
    for (const Radek &r : tabulka) {
        if (std::any_of(m_typy.begin(), m_typy.end(), [&](const TypDne &t) { return t.typ_dne_id == r.typ_dne_id; })
            || najdi(radky, r.typ_dne_id) == radky.end())
            continue;
        auto misto = typy.begin();
        for (auto it = typy.begin(); it != typy.end(); ++it)
            if (const auto ulozeny = najdi(tabulka, it->typ_dne_id);
                ulozeny != tabulka.end() && ulozeny->poradi <= r.poradi)
                misto = it + 1;
        typy.insert(misto, {r.typ_dne_id, r.nazev_typu_dne});
    }

    const auto vSeznamu = [&](int id) {
        return std::any_of(typy.begin(), typy.end(), [id](const TypDne &t) { return t.typ_dne_id == id; });
    };
    // Removals that still apply are told against what the types have now.
    QHash<int, std::pair<int, int>> radkyOdstranenych;
    for (const Radek &r : z.odstranene)
        if (!vSeznamu(r.typ_dne_id))
            radkyOdstranenych.insert(r.typ_dne_id, pocetRadku(q, r.typ_dne_id));
    std::map<int, std::set<QDate>> dnyNovych;
    for (const auto &[id, dny] : m_dnyNovych)
        if (vSeznamu(id))
            dnyNovych.emplace(id, dny);

    m_typy = std::move(typy);
    m_nactene = std::move(tabulka);
    m_dnyNovych = std::move(dnyNovych);
    m_radkyOdstranenych = std::move(radkyOdstranenych);
}
