#include "web/protocol/ImportRezervaci.h"

#include "db/DatabaseError.h"
#include "db/SqlKlienti.h"
#include "db/SqlObjednavky.h"
#include "db/SqlPokoje.h"
#include "db/SqlWeb.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

namespace ImportRezervaci {

namespace {
// What the column of the remembered identifiers holds.
constexpr qsizetype maxIdBytes = 255;
// Reservations per insert; a refusal among them sends their group one by one.
constexpr qsizetype davka = 250;
// Identifiers per look-up, so that the statement stays well below the packet limit.
constexpr qsizetype idNaDotaz = 500;

enum class Osud { Nerozhodnuto, Ulozena, Znama, Odmitnuta };

struct Pobyt
{
    QDate od, doKdy;
};

struct Ulozena
{
    int typ;
    QDate od, doKdy;
};

// What the pass knows under its lock; copied before a group, so that a
// group the database refuses leaves no trace.
struct Stav
{
    QHash<QString, Ulozena> ulozene;    // by web identifier
    QHash<int, QList<int>> pokoje;      // rooms by type, lowest id first
    QHash<int, QList<Pobyt>> pobyty;    // stays by room
    int dalsiKlient = 0;
    int dalsiCislo = 0;
};

int volnyPokoj(const Stav &stav, const WebRezervace &r)
{
    if (r.do_kdy < r.od_kdy)
        return 0;
    for (int pokoj : stav.pokoje.value(r.typ_pokoje_id)) {
        const QList<Pobyt> pobyty = stav.pobyty.value(pokoj);
        const bool volny = std::none_of(pobyty.cbegin(), pobyty.cend(), [&](const Pobyt &p) {
            return p.od <= r.do_kdy && p.doKdy >= r.od_kdy;
        });
        if (volny)
            return pokoj;
    }
    return 0;
}

int readInteger(TMojeQuery &q, const QString &select, const char *column)
{
    q.setSql(select);
    q.open();
    return q.integer(QLatin1String(column));   // NULL on an empty table reads as 0
}

Stav nactiStav(TMojeQuery &q, const RezervaceZWebu &rezervace)
{
    Stav stav;
    QStringList ids;
    QSet<int> typy;
    QDate od, doKdy;
    for (const WebRezervace &r : rezervace.rezervace) {
        if (!r.rezervaceid.isEmpty() && r.rezervaceid.toUtf8().size() <= maxIdBytes && !ids.contains(r.rezervaceid))
            ids << r.rezervaceid;
        if (r.do_kdy < r.od_kdy)
            continue;
        typy.insert(r.typ_pokoje_id);
        od = od.isValid() ? qMin(od, r.od_kdy) : r.od_kdy;
        doKdy = doKdy.isValid() ? qMax(doKdy, r.do_kdy) : r.do_kdy;
    }

    for (qsizetype i = 0; i < ids.size(); i += idNaDotaz) {
        q.setSql(SqlWeb::selectStoredWebReservations(q.format(), ids.mid(i, idNaDotaz)));
        for (q.open(); !q.eof(); q.next())
            stav.ulozene.insert(q.text(QStringLiteral("rezervaceid")),
                                {q.integer(QStringLiteral("typ_pokoje_id")), q.date(QStringLiteral("od_kdy")),
                                 q.date(QStringLiteral("do_kdy"))});
    }
    if (!typy.isEmpty()) {
        const QList<int> seznam(typy.cbegin(), typy.cend());
        q.setSql(SqlWeb::selectRoomsOfTypes(seznam));
        for (q.open(); !q.eof(); q.next())
            stav.pokoje[q.integer(QStringLiteral("typ_pokoje_id"))].append(q.integer(QStringLiteral("pokoj_id")));
        if (!stav.pokoje.isEmpty()) {
            QList<int> pokoje;
            for (const QList<int> &pokojeTypu : std::as_const(stav.pokoje))
                pokoje << pokojeTypu;
            q.setSql(SqlPokoje::selectStaysInSpan(pokoje, od, doKdy));
            for (q.open(); !q.eof(); q.next())
                stav.pobyty[q.integer(QStringLiteral("pokoj_id"))].append(
                    {q.date(QStringLiteral("od_kdy")), q.date(QStringLiteral("do_kdy"))});
        }
    }
    stav.dalsiKlient = readInteger(q, SqlKlienti::selectNewClientId(), "nove_id");
    stav.dalsiCislo = readInteger(q, SqlObjednavky::selectNewNumber(), "nove_cislo");
    return stav;
}

// The pass under its lock: groups of reservations, each stored whole or
// rolled back to its savepoint.
class Pruchod
{
public:
    Pruchod(TMojeQuery &q, const RezervaceZWebu &rezervace, const QDate &dnes)
        : m_q(q), m_rezervace(rezervace.rezervace), m_dnes(dnes), m_osud(m_rezervace.size(), Osud::Nerozhodnuto),
          m_stav(nactiStav(q, rezervace))
    {
    }

    void uloz()
    {
        QList<qsizetype> cekajici;
        for (qsizetype i = 0; i < qsizetype(m_rezervace.size()); ++i) {
            if (m_rezervace[i].rezervaceid.toUtf8().size() > maxIdBytes) {
                odmitni(i, QCoreApplication::translate("ImportRezervaci", "identifikátor je delší než %1 bajtů")
                               .arg(maxIdBytes));
            } else {
                cekajici << i;
            }
        }
        for (qsizetype start = 0; start < cekajici.size(); start += davka) {
            const QList<qsizetype> skupina = cekajici.mid(start, davka);
            if (zkus(skupina))
                continue;
            // Which one the database refuses shows one by one.
            for (qsizetype i : skupina)
                if (!zkus({i}))
                    odmitni(i, m_posledniChyba);
        }
    }

    const std::vector<Osud> &osud() const { return m_osud; }
    const QStringList &chyby() const { return m_chyby; }

private:
    void odmitni(qsizetype i, const QString &proc)
    {
        m_osud[i] = Osud::Odmitnuta;
        const WebRezervace &r = m_rezervace[i];
        const QString jmeno = r.jmeno.size() > 60 ? r.jmeno.left(60) + QStringLiteral("…") : r.jmeno;
        m_chyby << QCoreApplication::translate("ImportRezervaci", "Rezervace %1 (%2): %3")
                       .arg(r.rezervaceid.left(60), jmeno, proc);
    }

    bool zkus(const QList<qsizetype> &skupina)
    {
        const Stav zaloha = m_stav;
        QList<SqlWeb::WebKlient> klienti;
        QList<SqlWeb::WebObjednavka> objednavky;
        for (qsizetype i : skupina) {
            const WebRezervace &r = m_rezervace[i];
            const auto znama = m_stav.ulozene.constFind(r.rezervaceid);
            if (!r.rezervaceid.isEmpty() && znama != m_stav.ulozene.constEnd() && znama->typ == r.typ_pokoje_id
                && znama->od == r.od_kdy && znama->doKdy == r.do_kdy) {
                m_osud[i] = Osud::Znama;
                continue;
            }
            const int pokoj = volnyPokoj(m_stav, r);
            if (pokoj == 0) {
                m_osud[i] = Osud::Odmitnuta;
                continue;
            }
            const int klient = m_stav.dalsiKlient++;
            const int cislo = m_stav.dalsiCislo++;
            m_stav.pobyty[pokoj].append({r.od_kdy, r.do_kdy});
            if (!r.rezervaceid.isEmpty())
                m_stav.ulozene.insert(r.rezervaceid, {r.typ_pokoje_id, r.od_kdy, r.do_kdy});
            klienti.append({klient, r.jmeno, r.telefon, r.email, r.stat});
            objednavky.append({r.rezervaceid, klient, cislo, r.typ_pokoje_id, m_dnes, r.od_kdy, r.do_kdy, pokoj, r.cena});
            m_osud[i] = Osud::Ulozena;
        }
        if (objednavky.isEmpty())
            return true;

        QList<SqlWeb::WebObjednavka> zapamatovat;
        for (const SqlWeb::WebObjednavka &o : objednavky)
            if (!o.rezervaceid.isEmpty())
                zapamatovat << o;
        m_q.exec(SqlWeb::savepoint());
        try {
            Klient::insertWithIds(m_q, SqlWeb::insertWebClients(m_q.format(), klienti), klienti.first().klient_id == 0);
            m_q.exec(SqlWeb::insertWebReservations(objednavky));
            if (!zapamatovat.isEmpty())
                m_q.exec(SqlWeb::rememberWebReservations(m_q.format(), zapamatovat));
        } catch (const DatabaseError &e) {
            // When even this fails the transaction is gone: the pass ends with nothing stored.
            m_q.exec(SqlWeb::rollbackToSavepoint());
            m_posledniChyba = e.text();
            m_stav = zaloha;
            for (qsizetype i : skupina)
                m_osud[i] = Osud::Nerozhodnuto;
            return false;
        }
        return true;
    }

    TMojeQuery &m_q;
    const std::vector<WebRezervace> &m_rezervace;
    QDate m_dnes;
    std::vector<Osud> m_osud;
    Stav m_stav;
    QStringList m_chyby;
    QString m_posledniChyba;
};
} // namespace

Vysledek ulozRezervace(const RezervaceZWebu &rezervace, const QDate &dnes)
{
    Vysledek vysledek;
    vysledek.odpoved = QStringLiteral("pocet_rezervaci=") + rezervace.pocet_rezervaci;
    if (rezervace.rezervace.empty())
        return vysledek;

    std::vector<Osud> osud;
    TMojeDatabaze::current().writeLocked(SqlWeb::lockImport(), [&](TMojeQuery &q) {
        Pruchod pruchod(q, rezervace, dnes);
        pruchod.uloz();
        osud = pruchod.osud();
        vysledek.chyby = pruchod.chyby();
    });

    for (std::size_t i = 0; i < osud.size(); ++i) {
        const bool ulozena = osud[i] == Osud::Ulozena || osud[i] == Osud::Znama;
        vysledek.ulozeno += osud[i] == Osud::Ulozena;
        vysledek.znovu += osud[i] == Osud::Znama;
        vysledek.odmitnuto += !ulozena;
        vysledek.odpoved += QStringLiteral("&rezervace[") + Pozadavek::hodnota(rezervace.rezervace[i].rezervaceid)
                            + (ulozena ? QStringLiteral("]=1") : QStringLiteral("]=-1"));
    }
    return vysledek;
}

} // namespace ImportRezervaci
