#include "web/engine/UlozeniRezervaci.h"

#include "db/DatabaseError.h"
#include "db/SqlObjednavky.h"
#include "db/SqlSpojeni.h"
#include "db/SqlWeb.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Historie.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

namespace ImportRezervaci {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ImportRezervaci", text);
}

// Reservations per commit and per statement (a group's statements stay far
// below the packet limit); a refusal among them splits the group in halves.
constexpr qsizetype davka = 1000;
// Identifiers per look-up, so that the statement stays well below the packet limit.
constexpr qsizetype idNaDotaz = 500;

enum class Osud { Nerozhodnuto, Ulozena, Znama, Odmitnuta };

// A web reservation an earlier pass stored, as the desk holds it now.
struct Ulozena
{
    int cislo = 0;
    bool nalezena = false;   // its stay is still in the book (a desk may have deleted it since)
    WebRezervace data;       // price and guest only while nalezena
};

// What the pass knows under its lock; the numbers are copied before a
// group, so that a group the database refuses leaves no trace.
struct Stav
{
    QHash<QString, Ulozena> ulozene;    // by web identifier
    int dalsiKlient = 0;
    int dalsiCislo = 0;
};

// A value refused for one of these is the reservation's own fault; any
// other failure is the database's or the desk's and says nothing about it.
bool odmitnutaHodnota(const DatabaseError &e)
{
    static const QSet<QString> sloupce{
        QStringLiteral("rezervaceid"), QStringLiteral("typ_pokoje_id"), QStringLiteral("od_kdy"),
        QStringLiteral("do_kdy"),      QStringLiteral("cena"),          QStringLiteral("jmeno"),
        QStringLiteral("telefon"),     QStringLiteral("email"),         QStringLiteral("stat")};
    return e.kind() == DatabaseError::Kind::ValueRefused && sloupce.contains(e.column());
}

// What differs between two offers of one identifier, in a few words.
QStringList rozdily(const WebRezervace &puvodni, const WebRezervace &nova, bool sCenouAHostem)
{
    QStringList jine;
    if (puvodni.typ_pokoje_id != nova.typ_pokoje_id)
        jine << tr("typ pokoje");
    if (puvodni.od_kdy != nova.od_kdy || puvodni.do_kdy != nova.do_kdy)
        jine << tr("termín");
    if (sCenouAHostem) {
        if (qRound64(puvodni.cena * 100) != qRound64(nova.cena * 100))
            jine << tr("cena");
        if (puvodni.jmeno != nova.jmeno || puvodni.telefon != nova.telefon || puvodni.email != nova.email
            || puvodni.stat != nova.stat)
            jine << tr("údaje hosta");
    }
    if (jine.isEmpty() && puvodni.chyba != nova.chyba)
        jine << tr("údaje rezervace");
    return jine;
}

QString popis(const WebRezervace &r)
{
    const QString jmeno = r.jmeno.size() > 60 ? r.jmeno.left(60) + QStringLiteral("…") : r.jmeno;
    return tr("Rezervace %1 (%2)").arg(r.rezervaceid.left(60), jmeno);
}

// The error's own sentence speaks of a single save ("nothing was stored"),
// which a pass that stored groups before it would belie.
QString proPreruseni(const DatabaseError &e)
{
    QString co;
    switch (e.kind()) {
    case DatabaseError::Kind::ConnectionLost:
        co = tr("spojení s databází se přerušilo");
        break;
    case DatabaseError::Kind::LockWait:
        co = tr("tabulky držela jiná recepce");
        break;
    default:
        co = tr("databáze odmítla příkaz");
        break;
    }
    return e.detail().isEmpty() ? co + QStringLiteral(": ") + e.text() : co + QStringLiteral(" (") + e.detail() + u')';
}

int readInteger(TMojeQuery &q, const QString &select, const char *column)
{
    q.setSql(select);
    q.open();
    return q.integer(QLatin1String(column));   // NULL on an empty table reads as 0
}

Stav nactiStav(TMojeQuery &q, const std::vector<WebRezervace> &rezervace, const QList<qsizetype> &kUlozeni)
{
    Stav stav;
    QStringList ids;
    for (qsizetype i : kUlozeni)
        ids << rezervace[i].rezervaceid;   // each once: later ones of the reply never come here

    for (qsizetype i = 0; i < ids.size(); i += idNaDotaz) {
        q.setSql(SqlWeb::selectStoredWebReservations(q.format(), ids.mid(i, idNaDotaz)));
        for (q.open(); !q.eof(); q.next()) {
            const QString id = q.text(QStringLiteral("rezervaceid"));
            if (stav.ulozene.contains(id))
                continue;
            Ulozena u;
            u.cislo = q.integer(QStringLiteral("cislo_objednavky"));
            u.nalezena = q.integer(QStringLiteral("nalezena")) != 0;
            u.data.rezervaceid = id;
            u.data.typ_pokoje_id = q.integer(QStringLiteral("typ_pokoje_id"));
            u.data.od_kdy = q.date(QStringLiteral("od_kdy"));
            u.data.do_kdy = q.date(QStringLiteral("do_kdy"));
            u.data.cena = q.real(QStringLiteral("cena"));
            u.data.jmeno = q.text(QStringLiteral("jmeno"));
            u.data.telefon = q.text(QStringLiteral("telefon"));
            u.data.email = q.text(QStringLiteral("email"));
            u.data.stat = q.text(QStringLiteral("stat"));
            stav.ulozene.insert(id, u);
        }
    }
    stav.dalsiKlient = readInteger(q, SqlWeb::selectNewClientId(), "nove_id");
    stav.dalsiCislo = readInteger(q, SqlObjednavky::selectNewNumber(), "nove_cislo");
    return stav;
}

// The pass under its lock: groups of reservations, each stored whole or
// rolled back to its savepoint, and committed, so that a failure later in
// the pass leaves what went before stored and answerable.
class Pruchod
{
public:
    Pruchod(TMojeQuery &q, const std::vector<WebRezervace> &rezervace, const QList<qsizetype> &kUlozeni,
            const QDate &dnes, std::vector<Osud> &osud, Vysledek &vysledek)
        : m_q(q), m_rezervace(rezervace), m_dnes(dnes), m_osud(osud), m_vysledek(vysledek),
          m_stav(nactiStav(q, rezervace, kUlozeni))
    {
        // Stored by an earlier pass: answered as then, whatever the site sends now.
        QSet<int> typy;
        QDate od, doKdy;
        for (qsizetype i : kUlozeni) {
            const WebRezervace &r = m_rezervace[i];
            const auto znama = m_stav.ulozene.constFind(r.rezervaceid);
            if (znama == m_stav.ulozene.constEnd()) {
                m_cekajici << i;
                typy.insert(r.typ_pokoje_id);
                od = od.isValid() ? qMin(od, r.od_kdy) : r.od_kdy;
                doKdy = doKdy.isValid() ? qMax(doKdy, r.do_kdy) : r.do_kdy;
                continue;
            }
            m_osud[i] = Osud::Znama;
            const QStringList jine = rozdily(znama->data, r, znama->nalezena);
            if (!jine.isEmpty())
                m_vysledek.varovani << tr("%1 je už uložena (objednávka č. %2), web ji nabídl znovu s jinými údaji (%3); "
                                          "nic dalšího se neuložilo.")
                                           .arg(popis(r), QString::number(znama->cislo),
                                                jine.join(QStringLiteral(", ")));
        }
        // The rooms are chosen in memory from one read of the stays that
        // matter, as the desk's statement would choose them one by one.
        if (!m_cekajici.isEmpty())
            m_volne = VolnePokoje::Nacti(m_q, typy.values(), od, doKdy);
    }

    void uloz()
    {
        for (qsizetype start = 0; start < m_cekajici.size(); start += davka)
            ulozSkupinu(m_cekajici.mid(start, davka));
    }

private:
    // Which ones the database refuses shows by halves: a refused value
    // costs a few statements, not one per reservation of its group. The
    // halves go in order, so every reservation gets the room it would get
    // one by one.
    void ulozSkupinu(const QList<qsizetype> &skupina)
    {
        if (zkus(skupina))
            return;
        if (skupina.size() == 1) {
            odmitni(skupina.first());
            return;
        }
        const qsizetype pul = skupina.size() / 2;
        ulozSkupinu(skupina.first(pul));
        ulozSkupinu(skupina.sliced(pul));
    }

    void odmitni(qsizetype i)
    {
        m_osud[i] = Osud::Odmitnuta;
        m_vysledek.chyby << popis(m_rezervace[i]) + QStringLiteral(": ") + m_posledniChyba;
    }

    // False when the database refused a value of the group's own; any
    // other failure goes on as DatabaseError and ends the pass.
    bool zkus(const QList<qsizetype> &skupina)
    {
        const Stav zaloha = m_stav;
        const qsizetype znacka = m_volne.Znacka();
        QList<SqlWeb::WebKlient> klienti;
        QList<SqlWeb::WebObjednavka> objednavky;
        m_q.exec(SqlWeb::savepoint());
        try {
            for (qsizetype i : skupina) {
                const WebRezervace &r = m_rezervace[i];
                // The group's own stays count for the next ones.
                const int pokoj = m_volne.NajdiVolnyPokoj(r.typ_pokoje_id, r.od_kdy, r.do_kdy);
                if (pokoj == 0) {
                    m_osud[i] = Osud::Odmitnuta;
                    continue;
                }
                const int klient = m_stav.dalsiKlient++;
                const int cislo = m_stav.dalsiCislo++;
                const SqlWeb::WebObjednavka o{r.rezervaceid, klient, cislo, r.typ_pokoje_id, m_dnes,
                                              r.od_kdy, r.do_kdy, pokoj, r.cena};
                m_volne.Pridej(pokoj, r.od_kdy, r.do_kdy);
                klienti.append({klient, r.jmeno, r.telefon, r.email, r.stat});
                objednavky.append(o);
                m_osud[i] = Osud::Ulozena;
            }
            if (!objednavky.isEmpty()) {
                m_q.exec(SqlWeb::insertWebReservations(objednavky));
                Klient::insertWithIds(m_q, SqlWeb::insertWebClients(m_q.format(), klienti),
                                      klienti.first().klient_id == 0);
                Klient::markChanged(m_q);
                m_q.exec(SqlWeb::rememberWebReservations(m_q.format(), objednavky));
                zapisDoHistorie(klienti, objednavky);
            }
            m_q.exec(SqlSpojeni::commit());
        } catch (const DatabaseError &e) {
            // Not stored, or not known to be: the site hears nothing of the group.
            m_stav = zaloha;
            m_volne.VratNa(znacka);
            for (qsizetype i : skupina)
                m_osud[i] = Osud::Nerozhodnuto;
            if (!odmitnutaHodnota(e))
                throw;
            m_q.exec(SqlWeb::rollbackToSavepoint());
            m_posledniChyba = e.text();
            return false;
        }
        return true;
    }

    // One row per group, written with it: the reservations' and the new clients' numbers.
    void zapisDoHistorie(const QList<SqlWeb::WebKlient> &klienti, const QList<SqlWeb::WebObjednavka> &objednavky)
    {
        QList<int> cisla, idKlientu;
        for (const SqlWeb::WebObjednavka &o : objednavky)
            cisla << o.cislo_objednavky;
        for (const SqlWeb::WebKlient &k : klienti)
            idKlientu << k.klient_id;
        const qsizetype n = objednavky.size();
        const QString rezervaci = n < 5 ? tr("rezervace") : tr("rezervací");
        const QString ktere = n == 1 ? tr("objednávka č. %1").arg(cisla.first())
                                     : tr("objednávky č. %1–%2").arg(cisla.first()).arg(cisla.last());
        Historie::zapis(tr("Webový import: %1 %2 (%3)").arg(QString::number(n), rezervaci, ktere),
                        Historie::ids(QStringLiteral("objednavka"), cisla) + u' '
                            + Historie::ids(QStringLiteral("klient"), idKlientu));
        m_q.database().writeHistory(m_q);
    }

    TMojeQuery &m_q;
    const std::vector<WebRezervace> &m_rezervace;
    QDate m_dnes;
    std::vector<Osud> &m_osud;
    Vysledek &m_vysledek;
    Stav m_stav;
    QList<qsizetype> m_cekajici;
    VolnePokoje m_volne;
    QString m_posledniChyba;
};
} // namespace

Vysledek ulozRezervace(const RezervaceZWebu &rezervace, const QDate &dnes)
{
    Vysledek vysledek;
    const std::vector<WebRezervace> &vsechny = rezervace.rezervace;
    const qsizetype pocet = qsizetype(vsechny.size());
    std::vector<Osud> osud(pocet, Osud::Nerozhodnuto);

    // An identifier met again in the reply shares the outcome of its first
    // offer and is never stored itself.
    std::vector<qsizetype> prvni(pocet);
    QHash<QString, qsizetype> podleId;
    QList<qsizetype> kUlozeni;
    for (qsizetype i = 0; i < pocet; ++i) {
        const WebRezervace &r = vsechny[i];
        prvni[i] = i;
        if (!r.rezervaceid.trimmed().isEmpty()) {
            const auto drive = podleId.constFind(r.rezervaceid);
            if (drive != podleId.constEnd()) {
                prvni[i] = *drive;
                const QStringList jine = rozdily(vsechny[*drive], r, true);
                if (!jine.isEmpty())
                    vysledek.varovani << tr("%1 je v odpovědi webu vícekrát s jinými údaji (%2); platí její první "
                                            "výskyt, další se neukládají.")
                                             .arg(popis(r), jine.join(QStringLiteral(", ")));
                continue;
            }
            podleId.insert(r.rezervaceid, i);
        }
        if (!r.chyba.isEmpty()) {
            osud[i] = Osud::Odmitnuta;
            vysledek.chyby << popis(r) + QStringLiteral(": ") + r.chyba;
        } else {
            kUlozeni << i;
        }
    }

    if (!kUlozeni.isEmpty()) {
        try {
            TMojeDatabaze::current().writeLocked(SqlWeb::lockImport(), [&](TMojeQuery &q) {
                Pruchod(q, vsechny, kUlozeni, dnes, osud, vysledek).uloz();
            });
        } catch (const DatabaseError &e) {
            // What the groups committed before stays decided; the rest waits at the site.
            vysledek.preruseno = proPreruseni(e);
        }
    }

    vysledek.odpoved = QStringLiteral("pocet_rezervaci=") + rezervace.pocet_rezervaci;
    for (qsizetype i = 0; i < pocet; ++i) {
        const Osud o = osud[prvni[i]];
        if (o == Osud::Nerozhodnuto) {
            ++vysledek.nezodpovezeno;
            continue;
        }
        const bool ulozena = o != Osud::Odmitnuta;
        if (!ulozena)
            ++vysledek.odmitnuto;
        else if (o == Osud::Ulozena && prvni[i] == i)
            ++vysledek.ulozeno;
        else
            ++vysledek.znovu;
        vysledek.odpoved += QStringLiteral("&rezervace[") + Pozadavek::hodnota(vsechny[i].rezervaceid)
                            + (ulozena ? QStringLiteral("]=1") : QStringLiteral("]=-1"));
    }
    return vysledek;
}

} // namespace ImportRezervaci
