#include "model/SkupinyPokoju.h"
#include "model/Historie.h"

#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Kolekce.h"
#include "model/UlozeniZmen.h"

#include <QCoreApplication>
#include <QMap>
#include <QSet>
#include <algorithm>

namespace {
Pokoje loadMembers(int skupinaPokojuId)
{
    std::vector<Pokoj> clenove;
    TMojeQuery q;
    q.setSql(SqlPokoje::selectMembers(skupinaPokojuId));
    q.open();
    for (; !q.eof(); q.next())
        clenove.push_back(nactiPokoj(q));
    return Pokoje(std::move(clenove));
}

bool hasMember(const Pokoje &pokoje, int pokojId)
{
    const auto &p = pokoje.prvky();
    return std::any_of(p.begin(), p.end(), [pokojId](const Pokoj &x) { return x.pokoj_id == pokojId; });
}

/** A row of skupiny_pokoju_tab. */
struct RadekSkupiny
{
    int skupina_pokoju_id = -1;
    QString nazev_skupiny_pokoju;

    bool operator==(const RadekSkupiny &) const = default;
};

int idOf(const RadekSkupiny &r)
{
    return r.skupina_pokoju_id;
}

QString popisRadku(const RadekSkupiny &r)
{
    return popisSkupiny(r.nazev_skupiny_pokoju);
}

std::vector<RadekSkupiny> radky(const std::vector<SkupinaPokoju> &skupiny)
{
    std::vector<RadekSkupiny> out;
    for (const SkupinaPokoju &s : skupiny)
        out.push_back({s.skupina_pokoju_id, s.nazev_skupiny_pokoju});
    return out;
}

std::vector<RadekSkupiny> readGroups(TMojeQuery &q, const QString &select)
{
    std::vector<RadekSkupiny> out;
    q.setSql(select);
    q.open();
    for (; !q.eof(); q.next())
        out.push_back({q.integer("skupina_pokoju_id"), q.text("nazev_skupiny_pokoju")});
    return out;
}

template <class T>
const T *findById(const std::vector<T> &rows, int id, int (*idOfRow)(const T &))
{
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const T &r) { return idOfRow(r) == id; });
    return it == rows.end() ? nullptr : &*it;
}

int idOfRoom(const Pokoj &p)
{
    return p.pokoj_id;
}

/** Whether the room is among the rooms (read now) as it was loaded: the same id under the same number. */
bool stillThere(const Pokoj &pokoj, const std::vector<Pokoj> &pokoje)
{
    const Pokoj *ted = findById(pokoje, pokoj.pokoj_id, &idOfRoom);
    return ted && ted->cislo_pokoje == pokoj.cislo_pokoje;
}
} // namespace

QString popisSkupiny(const QString &nazev)
{
    return QCoreApplication::translate("SkupinyPokoju", "Skupina pokojů %1").arg(Konflikt::uvozovky(nazev));
}

SkupinaPokoju::SkupinaPokoju(int skupinaPokojuId, const QString &nazev)
    : SkupinaPokoju(skupinaPokojuId, nazev, loadMembers(skupinaPokojuId))
{
}

SkupinaPokoju::SkupinaPokoju(int skupinaPokojuId, const QString &nazev, Pokoje clenove)
    : skupina_pokoju_id(skupinaPokojuId), nazev_skupiny_pokoju(nazev), clenove(std::move(clenove))
{
}

void SkupinaPokoju::VypisPokoje(QStringList &seznam) const
{
    clenove.Vypis(seznam);
}

void SkupinaPokoju::OdeberPokoje(const Pokoje &pokoje)
{
    auto &members = clenove.prvky();
    for (const Pokoj &p : pokoje.prvky()) {
        const auto it = std::find_if(members.begin(), members.end(),
                                     [&](const Pokoj &m) { return m.pokoj_id == p.pokoj_id; });
        if (it != members.end())
            members.erase(it);
    }
}

void SkupinaPokoju::PridejPokoje(const Pokoje &pokoje)
{
    // The no-room value (a number no room has any more) would become a link to no room.
    for (const Pokoj &p : pokoje.prvky())
        if (p.pokoj_id != Pokoj{}.pokoj_id && !hasMember(clenove, p.pokoj_id))
            clenove.prvky().push_back(p);
}

namespace {
/** A membership added in this opening: the group's id (provisional for a new group) and the room as loaded. */
struct Clenstvi
{
    int skupina_pokoju_id;
    Pokoj pokoj;
};
} // namespace

struct SkupinyPokoju::ZmenySkupin
{
    Zmeny<RadekSkupiny> skupiny;
    std::vector<Clenstvi> pridana;
    std::vector<std::pair<int, int>> odebrana;   // (group, room) of groups that stay

    bool prazdne() const { return skupiny.prazdne() && pridana.empty() && odebrana.empty(); }
};

SkupinyPokoju::SkupinyPokoju()
{
    Nacti();
}

void SkupinyPokoju::Nacti()
{
    m_skupiny.clear();
    TMojeQuery q;
    for (const RadekSkupiny &r : readGroups(q, SqlPokoje::selectGroups()))
        m_skupiny.emplace_back(r.skupina_pokoju_id, r.nazev_skupiny_pokoju);
    m_nactene = m_skupiny;
}

void SkupinyPokoju::Vypis(QStringList &seznam) const
{
    listNames(m_skupiny, [](const SkupinaPokoju &s) { return s.nazev_skupiny_pokoju; }, seznam);
}

SkupinaPokoju *SkupinyPokoju::at(int index)
{
    return index >= 0 && index < static_cast<int>(m_skupiny.size()) ? &m_skupiny[index] : nullptr;
}

void SkupinyPokoju::VypisPokoje(int index, QStringList &seznam) const
{
    if (index >= 0 && index < static_cast<int>(m_skupiny.size()))
        m_skupiny[index].VypisPokoje(seznam);
    else
        seznam.clear();
}

void SkupinyPokoju::Pridej(const QString &nazev)
{
    const int id = dalsiDocasneId(m_skupiny, [](const SkupinaPokoju &s) { return s.skupina_pokoju_id; });
    m_skupiny.emplace_back(id, nazev, Pokoje(std::vector<Pokoj>()));
}

void SkupinyPokoju::Odstran(int index)
{
    if (at(index))
        m_skupiny.erase(m_skupiny.begin() + index);
}

void SkupinyPokoju::PridejPokojeDoSkupiny(int index, const Pokoje &pokoje)
{
    if (SkupinaPokoju *s = at(index))
        s->PridejPokoje(pokoje);
}

void SkupinyPokoju::OdeberPokojeZeSkupiny(int index, const Pokoje &pokoje)
{
    if (SkupinaPokoju *s = at(index))
        s->OdeberPokoje(pokoje);
}

bool SkupinyPokoju::nameTaken(const QString &nazev) const
{
    const auto sameName = [&](const auto &s) { return s.nazev_skupiny_pokoju == nazev; };
    if (std::any_of(m_skupiny.begin(), m_skupiny.end(), sameName))
        return true;
    TMojeQuery q;
    const std::vector<RadekSkupiny> nactene = radky(m_nactene);
    // The server's collation may match more than the exact name: compared here.
    for (const RadekSkupiny &t : readGroups(q, SqlPokoje::selectGroupsNamed(q.format(), nazev))) {
        const bool odstranenaZde = std::find(nactene.begin(), nactene.end(), t) != nactene.end();
        if (sameName(t) && !odstranenaZde)
            return true;
    }
    return false;
}

SkupinyPokoju::ZmenySkupin SkupinyPokoju::zmeny() const
{
    ZmenySkupin z;
    z.skupiny = najdiZmeny(radky(m_nactene), radky(m_skupiny), &idOf);
    for (const SkupinaPokoju &s : m_skupiny) {
        const auto nacteny = std::find_if(m_nactene.begin(), m_nactene.end(), [&](const SkupinaPokoju &n) {
            return n.skupina_pokoju_id == s.skupina_pokoju_id;
        });
        const Pokoje *puvodni = nacteny == m_nactene.end() ? nullptr : &nacteny->clenove;
        for (const Pokoj &p : s.clenove.prvky())
            if (!puvodni || !hasMember(*puvodni, p.pokoj_id))
                z.pridana.push_back({s.skupina_pokoju_id, p});
        if (puvodni)
            for (const Pokoj &p : puvodni->prvky())
                if (!hasMember(s.clenove, p.pokoj_id))
                    z.odebrana.push_back({s.skupina_pokoju_id, p.pokoj_id});
    }
    return z;
}

void SkupinyPokoju::zapisDoHistorie(const ZmenySkupin &z, const QHash<int, int> &skutecnaId) const
{
    const auto ulozene = [&](int id) { return skutecnaId.value(id, id); };
    // Groups and rooms by the names this copy shows (a removed group's as loaded).
    QHash<int, QString> skupiny, pokoje;
    for (const std::vector<SkupinaPokoju> *seznam : {&m_nactene, &m_skupiny})
        for (const SkupinaPokoju &s : *seznam) {
            skupiny.insert(ulozene(s.skupina_pokoju_id), s.nazev_skupiny_pokoju);
            for (const Pokoj &p : s.clenove.prvky())
                pokoje.insert(p.pokoj_id, p.cislo_pokoje);
        }
    QStringList casti;
    const QString skupin = Historie::zmeny(z.skupiny, [](const RadekSkupiny &r) { return r.nazev_skupiny_pokoju; });
    if (!skupin.isEmpty())
        casti << skupin;
    QMap<int, QStringList> pridane, odebrane;   // by group, in id order
    QList<int> idsPokoju;
    for (const Clenstvi &c : z.pridana) {
        pridane[ulozene(c.skupina_pokoju_id)] << c.pokoj.cislo_pokoje;
        idsPokoju << c.pokoj.pokoj_id;
    }
    for (const auto &[skupina, pokoj] : z.odebrana) {
        odebrane[skupina] << pokoje.value(pokoj, QString::number(pokoj));
        idsPokoju << pokoj;
    }
    for (auto it = pridane.cbegin(); it != pridane.cend(); ++it)
        casti << QCoreApplication::translate("Historie", "do skupiny %1 přidány pokoje %2")
                     .arg(Konflikt::uvozovky(skupiny.value(it.key())), Historie::vycet(*it));
    for (auto it = odebrane.cbegin(); it != odebrane.cend(); ++it)
        casti << QCoreApplication::translate("Historie", "ze skupiny %1 odebrány pokoje %2")
                     .arg(Konflikt::uvozovky(skupiny.value(it.key())), Historie::vycet(*it));
    QList<int> idsSkupin = Historie::idsZmen(z.skupiny, &idOf, ulozene);
    for (int id : pridane.keys() + odebrane.keys())
        if (!idsSkupin.contains(id))
            idsSkupin << id;
    QString ids = Historie::ids(QStringLiteral("skupina"), idsSkupin);
    if (!idsPokoju.isEmpty())
        ids += u' ' + Historie::ids(QStringLiteral("pokoj"), idsPokoju);
    Historie::zapis(QCoreApplication::translate("Historie", "Skupiny pokojů uloženy: %1")
                        .arg(casti.join(QStringLiteral("; "))),
                    ids);
}

void SkupinyPokoju::Uloz()
{
    const ZmenySkupin z = zmeny();
    if (z.prazdne())
        return;
    const std::vector<RadekSkupiny> nactene = radky(m_nactene);
    UlozeniZmen<RadekSkupiny> ulozeni;
    ulozeni.zamky = SqlPokoje::lockGroups();
    ulozeni.nacti = [](TMojeQuery &q) { return readGroups(q, SqlPokoje::selectGroups()); };
    ulozeni.idOf = &idOf;
    ulozeni.nazevOf = [](const RadekSkupiny &r) { return r.nazev_skupiny_pokoju; };
    ulozeni.popis = &popisRadku;
    QSet<std::pair<int, int>> odkazy;
    ulozeni.over = [&](TMojeQuery &q, const std::vector<RadekSkupiny> &tabulka) {
        // Rooms join a group that is still as loaded, and only rooms that
        // are still in the table as loaded (an id given to another room since
        // would put that room in the group).
        std::vector<Pokoj> pokoje;
        q.setSql(SqlPokoje::selectRooms());
        for (q.open(); !q.eof(); q.next())
            pokoje.push_back(nactiPokoj(q));
        for (const Clenstvi &c : z.pridana) {
            if (!jeDocasneId(c.skupina_pokoju_id)) {
                const RadekSkupiny *nactena = findById(nactene, c.skupina_pokoju_id, &idOf);
                const RadekSkupiny *ted = findById(tabulka, c.skupina_pokoju_id, &idOf);
                if (!ted)
                    throw Konflikt::odstranen(popisRadku(*nactena));
                if (!(*ted == *nactena))
                    throw Konflikt::zmenen(popisRadku(*nactena));
            }
            if (!stillThere(c.pokoj, pokoje))
                throw Konflikt::odstranen(popisPokoje(c.pokoj));
        }
    };
    // A new group must not take over the links left under an id.
    ulozeni.pouzitaId = [&](TMojeQuery &q) {
        odkazy.clear();
        QSet<int> obsazena;
        q.setSql(SqlPokoje::selectLinks());
        for (q.open(); !q.eof(); q.next()) {
            odkazy.insert({q.integer("skupina_pokoju_id"), q.integer("pokoj_id")});
            obsazena.insert(q.integer("skupina_pokoju_id"));
        }
        return obsazena;
    };
    ulozeni.zapis = [&](TMojeQuery &q, const std::vector<RadekSkupiny> &, const QHash<int, int> &skutecnaId) {
        for (const RadekSkupiny &r : z.skupiny.odstranene) {
            q.exec(SqlPokoje::deleteGroup(r.skupina_pokoju_id));
            q.exec(SqlPokoje::deleteLinksOfGroup(r.skupina_pokoju_id));
        }
        for (const auto &[nactena, nova] : z.skupiny.zmenene)
            q.exec(SqlPokoje::updateGroup(q.format(), nova.skupina_pokoju_id, nova.nazev_skupiny_pokoju));
        for (const RadekSkupiny &r : z.skupiny.pridane)
            q.exec(SqlPokoje::insertGroup(q.format(), skutecnaId.value(r.skupina_pokoju_id), r.nazev_skupiny_pokoju));
        for (const auto &[skupina, pokoj] : z.odebrana)
            q.exec(SqlPokoje::deleteLink(skupina, pokoj));
        for (const Clenstvi &c : z.pridana) {
            const std::pair<int, int> odkaz{skutecnaId.value(c.skupina_pokoju_id, c.skupina_pokoju_id),
                                            c.pokoj.pokoj_id};
            if (odkazy.contains(odkaz))   // another desk linked the room meanwhile
                continue;
            q.exec(SqlPokoje::insertLink(odkaz.first, odkaz.second));
            odkazy.insert(odkaz);
        }
        zapisDoHistorie(z, skutecnaId);
    };
    const QHash<int, int> skutecnaId = ulozeni.uloz(TMojeDatabaze::current(), z.skupiny);
    for (SkupinaPokoju &s : m_skupiny)
        s.skupina_pokoju_id = skutecnaId.value(s.skupina_pokoju_id, s.skupina_pokoju_id);
    m_nactene = m_skupiny;
}

void SkupinyPokoju::reloadKeepingChanges()
{
    const ZmenySkupin z = zmeny();
    std::vector<SkupinaPokoju> nove;
    for (const SkupinaPokoju &s : m_skupiny)
        if (jeDocasneId(s.skupina_pokoju_id))
            nove.push_back(s);
    Nacti();
    const Pokoje pokoje;

    const auto find = [&](int id) {
        const auto it = std::find_if(m_skupiny.begin(), m_skupiny.end(),
                                     [&](const SkupinaPokoju &s) { return s.skupina_pokoju_id == id; });
        return it == m_skupiny.end() ? nullptr : &*it;
    };
    // What another desk changed meanwhile shows; the rest of this copy's changes stay.
    for (const RadekSkupiny &r : z.skupiny.odstranene) {
        const SkupinaPokoju *s = find(r.skupina_pokoju_id);
        if (s && s->nazev_skupiny_pokoju == r.nazev_skupiny_pokoju)
            m_skupiny.erase(m_skupiny.begin() + (s - m_skupiny.data()));
    }
    for (const auto &[nactena, nova] : z.skupiny.zmenene)
        if (SkupinaPokoju *s = find(nactena.skupina_pokoju_id); s && s->nazev_skupiny_pokoju == nactena.nazev_skupiny_pokoju)
            s->nazev_skupiny_pokoju = nova.nazev_skupiny_pokoju;
    for (const auto &[skupina, pokoj] : z.odebrana)
        if (SkupinaPokoju *s = find(skupina))
            s->OdeberPokoje(Pokoje({Pokoj{pokoj, QString(), -1}}));
    for (const Clenstvi &c : z.pridana)
        if (SkupinaPokoju *s = find(c.skupina_pokoju_id); s && stillThere(c.pokoj, pokoje.prvky()))
            s->PridejPokoje(Pokoje({c.pokoj}));
    for (SkupinaPokoju &s : nove) {
        if (nameTaken(s.nazev_skupiny_pokoju))
            continue;
        auto &clenove = s.clenove.prvky();
        clenove.erase(std::remove_if(clenove.begin(), clenove.end(),
                                     [&](const Pokoj &p) { return !stillThere(p, pokoje.prvky()); }),
                      clenove.end());
        m_skupiny.push_back(std::move(s));
    }
}

std::vector<const SkupinaPokoju *> SkupinyPokoju::najdiVsechny(const QString &nazev) const
{
    std::vector<const SkupinaPokoju *> found;
    for (const SkupinaPokoju &s : m_skupiny)
        if (s.nazev_skupiny_pokoju == nazev)
            found.push_back(&s);
    return found;
}
