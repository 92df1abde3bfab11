#include "model/TypyPokoju.h"

#include "db/SqlCenyPokoju.h"
#include "db/SqlTypyPokoju.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/CenyPokoju.h"
#include "model/Historie.h"
#include "model/Kolekce.h"
#include "model/UlozeniZmen.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("TypyPokoju", text);
}

int idOf(const TypPokoje &t)
{
    return t.typ_pokoje_id;
}

QString nameOf(const TypPokoje &t)
{
    return t.nazev_typu_pokoje;
}

QString popis(const TypPokoje &t)
{
    return tr("Typ pokoje %1").arg(Konflikt::uvozovky(t.nazev_typu_pokoje));
}

std::vector<TypPokoje> readTypes(TMojeQuery &q)
{
    std::vector<TypPokoje> typy;
    q.setSql(SqlTypyPokoju::selectRoomTypes());
    q.open();
    for (; !q.eof(); q.next())
        typy.push_back({q.integer("typ_pokoje_id"), q.text("nazev_typu_pokoje"), q.integer("pocet_luzek")});
    return typy;
}

bool hasRooms(TMojeQuery &q, int typPokojeId)
{
    q.setSql(SqlTypyPokoju::selectRoomsOfType(typPokojeId));
    q.open();
    return !q.isEmpty();
}
} // namespace

TypyPokoju::TypyPokoju()
{
    Nacti();
}

void TypyPokoju::Nacti()
{
    TMojeQuery q;
    m_typy = readTypes(q);
    m_nactene = m_typy;
}

void TypyPokoju::Vypis(QStringList &seznam) const
{
    listNames(m_typy, nameOf, seznam);
}

int TypyPokoju::NajdiId(const QString &nazev) const
{
    return findIdByName(m_typy, nazev, nameOf, idOf, -1);
}

int TypyPokoju::Pridej(const QString &nazev, int pocetLuzek)
{
    const int id = std::min(dalsiDocasneId(m_typy, idOf), m_dalsiDocasne);
    m_dalsiDocasne = id - 1;
    m_typy.push_back({id, nazev, pocetLuzek});
    return id;
}

bool TypyPokoju::nazevObsazen(const QString &nazev) const
{
    if (NajdiId(nazev) != -1)
        return true;
    QSet<int> odstranene;
    for (const TypPokoje &t : zmeny().odstranene)
        odstranene.insert(t.typ_pokoje_id);
    TMojeQuery q;
    const std::vector<TypPokoje> ulozene = readTypes(q);
    return std::any_of(ulozene.begin(), ulozene.end(), [&](const TypPokoje &t) {
        return t.nazev_typu_pokoje == nazev && !odstranene.contains(t.typ_pokoje_id);
    });
}

bool TypyPokoju::Odstran(int radek)
{
    if (radek < 0 || radek >= int(m_typy.size()))
        return true;
    const auto it = m_typy.begin() + radek;
    if (!jeDocasneId(it->typ_pokoje_id) && JePouzit(it->typ_pokoje_id))
        return false;
    m_typy.erase(it);
    return true;
}

bool TypyPokoju::JePouzit(int typPokojeId) const
{
    TMojeQuery q;
    return hasRooms(q, typPokojeId);
}

Zmeny<TypPokoje> TypyPokoju::zmeny() const
{
    return najdiZmeny(m_nactene, m_typy, idOf);
}

void TypyPokoju::Uloz(const std::vector<CenaPokoje> &cenyNovychTypu)
{
    const Zmeny<TypPokoje> z = zmeny();
    if (z.prazdne())
        return;
    UlozeniZmen<TypPokoje> ulozeni;
    ulozeni.zamky = SqlTypyPokoju::lockRoomTypes();
    ulozeni.nacti = [](TMojeQuery &q) { return readTypes(q); };
    ulozeni.idOf = idOf;
    ulozeni.nazevOf = nameOf;
    ulozeni.popis = popis;
    ulozeni.over = [&](TMojeQuery &q, const std::vector<TypPokoje> &) {
        for (const TypPokoje &t : z.odstranene)
            if (hasRooms(q, t.typ_pokoje_id))
                throw Konflikt::pouzit(tr("K typu pokoje %1 mezitím jiná recepce přiřadila pokoj.")
                                           .arg(Konflikt::uvozovky(t.nazev_typu_pokoje)));
    };
    // A type removed now does not pass its id on either: the ids are chosen before the deletes.
    ulozeni.pouzitaId = [](TMojeQuery &q) {
        QSet<int> obsazena;
        q.setSql(SqlTypyPokoju::selectUsedRoomTypeIds());
        q.open();
        for (; !q.eof(); q.next())
            obsazena.insert(q.integer("typ_pokoje_id"));
        return obsazena;
    };
    ulozeni.zapis = [&](TMojeQuery &q, const std::vector<TypPokoje> &, const QHash<int, int> &skutecneId) {
        QList<int> odstranit;
        for (const TypPokoje &t : z.odstranene)
            odstranit << t.typ_pokoje_id;
        if (!odstranit.isEmpty()) {
            q.exec(SqlTypyPokoju::deletePricesOfRoomTypes(odstranit));
            q.exec(SqlTypyPokoju::deleteRoomTypes(odstranit));
        }
        for (const TypPokoje &t : z.pridane)
            q.exec(SqlTypyPokoju::insertRoomType(q.format(), skutecneId.value(t.typ_pokoje_id), t.nazev_typu_pokoje,
                                                 t.pocet_luzek));
        for (const CenaPokoje &c : cenyNovychTypu) {
            const auto it = skutecneId.constFind(c.typ_pokoje_id);
            if (it != skutecneId.constEnd())
                q.exec(SqlCenyPokoju::insertPrice(*it, c.typ_klienta_id, c.typ_dne_id, c.cena));
        }
        Historie::zapis(QCoreApplication::translate("Historie", "Typy pokojů uloženy: %1")
                            .arg(Historie::zmeny(z, [](const TypPokoje &t) { return t.nazev_typu_pokoje; })),
                        Historie::ids(QStringLiteral("typ_pokoje"), Historie::idsZmen(z, idOf, [&](int id) {
                                          return skutecneId.value(id, id);
                                      })));
    };
    const QHash<int, int> skutecneId = ulozeni.uloz(TMojeDatabaze::current(), z);
    for (TypPokoje &t : m_typy)
        t.typ_pokoje_id = skutecneId.value(t.typ_pokoje_id, t.typ_pokoje_id);
    m_nactene = m_typy;
}

void TypyPokoju::obnov()
{
    Zmeny<TypPokoje> z = zmeny();
    Nacti();
    // A removal that a room overtook would only be refused again.
    TMojeQuery q;
    std::erase_if(z.odstranene, [&](const TypPokoje &t) { return hasRooms(q, t.typ_pokoje_id); });
    m_typy = prenesZmeny(z, m_typy, nameOf);
}
