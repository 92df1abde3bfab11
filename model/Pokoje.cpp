#include "model/Pokoje.h"
#include "model/Historie.h"

#include "db/SqlPokoje.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include "model/Kolekce.h"

#include <QCoreApplication>
#include <algorithm>

Pokoj nactiPokoj(const TMojeQuery &q)
{
    return {q.integer("pokoj_id"), q.text("cislo_pokoje"), q.integer("typ_pokoje_id")};
}

QString popisPokoje(const Pokoj &pokoj)
{
    return QCoreApplication::translate("Pokoje", "Pokoj %1").arg(Konflikt::uvozovky(pokoj.cislo_pokoje));
}

namespace {
int idOf(const Pokoj &p)
{
    return p.pokoj_id;
}

std::vector<Pokoj> readRooms(TMojeQuery &q, const QString &select)
{
    std::vector<Pokoj> pokoje;
    q.setSql(select);
    q.open();
    for (; !q.eof(); q.next())
        pokoje.push_back(nactiPokoj(q));
    return pokoje;
}

QList<int> readIds(TMojeQuery &q, const QString &select, const QString &column)
{
    QList<int> ids;
    q.setSql(select);
    q.open();
    for (; !q.eof(); q.next())
        ids << q.integer(column);
    return ids;
}
} // namespace

Pokoje::Pokoje()
{
    Nacti();
}

Pokoje::Pokoje(std::vector<Pokoj> pokoje)
    : m_pokoje(std::move(pokoje))
{
}

void Pokoje::Nacti()
{
    TMojeQuery q;
    m_pokoje = readRooms(q, SqlPokoje::selectRooms());
    m_nactene = m_pokoje;
}

void Pokoje::Vypis(QStringList &seznam) const
{
    listNames(m_pokoje, [](const Pokoj &p) { return p.cislo_pokoje; }, seznam);
}

bool Pokoje::contains(int pokojId) const
{
    return std::any_of(m_pokoje.begin(), m_pokoje.end(), [&](const Pokoj &p) { return p.pokoj_id == pokojId; });
}

void Pokoje::Pridej(const QString &cisloPokoje, int typPokojeId)
{
    for (const Pokoj &p : m_nactene) {
        if (p.cislo_pokoje == cisloPokoje && !contains(p.pokoj_id)) {
            m_pokoje.push_back({p.pokoj_id, cisloPokoje, typPokojeId});
            return;
        }
    }
    m_pokoje.push_back({dalsiDocasneId(m_pokoje, idOf), cisloPokoje, typPokojeId});
}

void Pokoje::Odstran(int index)
{
    if (index >= 0 && index < static_cast<int>(m_pokoje.size()))
        m_pokoje.erase(m_pokoje.begin() + index);
}

void Pokoje::ZmenTyp(int index, int typPokojeId)
{
    if (index >= 0 && index < static_cast<int>(m_pokoje.size()))
        m_pokoje[index].typ_pokoje_id = typPokojeId;
}

Pokoj Pokoje::NajdiPokoj(const QString &cisloPokoje) const
{
    for (const Pokoj &p : m_pokoje)
        if (p.cislo_pokoje == cisloPokoje)
            return p;
    return Pokoj{};
}

int Pokoje::NajdiId(const QString &cisloPokoje) const
{
    return NajdiPokoj(cisloPokoje).pokoj_id;
}

bool Pokoje::numberTaken(const QString &cisloPokoje) const
{
    if (NajdiPokoj(cisloPokoje).pokoj_id != Pokoj{}.pokoj_id)
        return true;
    TMojeQuery q;
    // The server's collation may match more than the exact number: compared here.
    for (const Pokoj &t : readRooms(q, SqlPokoje::selectRoomsNumbered(q.format(), cisloPokoje))) {
        const bool odstranenZde = !contains(t.pokoj_id)
                                  && std::find(m_nactene.begin(), m_nactene.end(), t) != m_nactene.end();
        if (t.cislo_pokoje == cisloPokoje && !odstranenZde)
            return true;
    }
    return false;
}

Zmeny<Pokoj> Pokoje::zmeny() const
{
    return najdiZmeny(m_nactene, m_pokoje, idOf);
}

void Pokoje::Uloz(const QHash<int, QString> &nazvyTypu)
{
    const Zmeny<Pokoj> z = zmeny();
    if (z.prazdne())
        return;
    QHash<int, int> skutecnaId;   // provisional -> stored
    TMojeDatabaze::current().writeLocked(SqlPokoje::lockRooms(), [&](TMojeQuery &q) {
        const std::vector<Pokoj> tabulka = readRooms(q, SqlPokoje::selectRooms());
        overZmeny(z, tabulka, idOf, popisPokoje);

        QList<int> odstranene;
        for (const Pokoj &p : z.odstranene)
            odstranene << p.pokoj_id;
        for (const Pokoj &p : z.pridane)
            for (const Pokoj &t : tabulka)
                if (t.cislo_pokoje == p.cislo_pokoje && !odstranene.contains(t.pokoj_id))
                    throw Konflikt::pridan(popisPokoje(p));

        const QList<int> typy = readIds(q, SqlPokoje::selectRoomTypeIds(), QStringLiteral("typ_pokoje_id"));
        const auto overTyp = [&](const Pokoj &p) {
            if (typy.contains(p.typ_pokoje_id))
                return;
            const QString nazev = nazvyTypu.value(p.typ_pokoje_id);
            throw Konflikt::odstranen(
                nazev.isEmpty()
                    ? QCoreApplication::translate("Pokoje", "Typ pokoje pokoje %1").arg(Konflikt::uvozovky(p.cislo_pokoje))
                    : QCoreApplication::translate("Pokoje", "Typ pokoje %1").arg(Konflikt::uvozovky(nazev)));
        };
        for (const Pokoj &p : z.pridane)
            overTyp(p);
        for (const auto &[nacteny, novy] : z.zmenene)
            if (novy.typ_pokoje_id != nacteny.typ_pokoje_id)
                overTyp(novy);

        // A new room must not take over the guests or the group links left under an id.
        QList<int> obsazena = readIds(q, SqlPokoje::selectReservedRoomIds(), QStringLiteral("pokoj_id"))
                              + readIds(q, SqlPokoje::selectLinks(), QStringLiteral("pokoj_id"));
        for (const Pokoj &t : tabulka)
            obsazena << t.pokoj_id;
        for (const Pokoj &p : z.pridane) {
            const int id = smallestUnusedId(obsazena, [](int x) { return x; });
            obsazena << id;
            skutecnaId.insert(p.pokoj_id, id);
        }

        if (!odstranene.isEmpty()) {
            for (int id : odstranene)
                q.exec(SqlPokoje::deleteRoom(id));
            q.exec(SqlPokoje::deleteLinksOfRooms(odstranene));
        }
        for (const auto &[nacteny, novy] : z.zmenene)
            q.exec(SqlPokoje::updateRoom(q.format(), novy.pokoj_id, novy.cislo_pokoje, novy.typ_pokoje_id));
        for (const Pokoj &p : z.pridane)
            q.exec(SqlPokoje::insertRoom(q.format(), skutecnaId.value(p.pokoj_id), p.cislo_pokoje, p.typ_pokoje_id));
        Historie::zapis(QCoreApplication::translate("Historie", "Pokoje uloženy: %1")
                            .arg(Historie::zmeny(z, [](const Pokoj &p) { return p.cislo_pokoje; })),
                        Historie::ids(QStringLiteral("pokoj"), Historie::idsZmen(z, idOf, [&](int id) {
                                          return skutecnaId.value(id, id);
                                      })));
    });
    for (Pokoj &p : m_pokoje)
        p.pokoj_id = skutecnaId.value(p.pokoj_id, p.pokoj_id);
    m_nactene = m_pokoje;
}

void Pokoje::reloadKeepingChanges()
{
    const Zmeny<Pokoj> z = zmeny();
    Nacti();
    m_pokoje = prenesZmeny(z, m_pokoje, [](const Pokoj &p) { return p.cislo_pokoje; });
}

int Pokoje::reservationsUntil(const std::vector<Pokoj> &pokoje, const QDate &day)
{
    QList<int> ids;
    for (const Pokoj &p : pokoje)
        if (!jeDocasneId(p.pokoj_id))   // a room added here has no guests yet
            ids << p.pokoj_id;
    if (ids.isEmpty())
        return 0;
    TMojeQuery q;
    q.setSql(SqlPokoje::countReservationsUntil(ids, day));
    q.open();
    return q.integer("pocet");
}
