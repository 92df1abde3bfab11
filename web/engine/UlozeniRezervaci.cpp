#include "web/engine/UlozeniRezervaci.h"

#include "db/CiselneRady.h"
#include "db/DatabaseError.h"
#include "db/SqlObjednavky.h"
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

// A web reservation stored by an earlier pass (or another desk's import).
using Ulozene = QHash<QString, Ulozena>;

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

Ulozene nactiUlozene(TMojeQuery &q, const QStringList &ids)
{
    Ulozene ulozene;
    for (qsizetype i = 0; i < ids.size(); i += idNaDotaz) {
        q.setSql(SqlWeb::selectStoredWebReservations(q.format(), ids.mid(i, idNaDotaz)));
        for (q.open(); !q.eof(); q.next()) {
            const QString id = q.text(QStringLiteral("rezervaceid"));
            if (ulozene.contains(id))
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
            ulozene.insert(id, u);
        }
    }
    return ulozene;
}

QList<int> pokojeTypu(TMojeQuery &q, const QList<int> &typy)
{
    QList<int> pokoje;
    for (qsizetype i = 0; i < typy.size(); i += idNaDotaz) {
        q.setSql(SqlObjednavky::selectRoomsOfTypes(typy.mid(i, idNaDotaz)));
        for (q.open(); !q.eof(); q.next())
            pokoje << q.integer(QStringLiteral("pokoj_id"));
    }
    return pokoje;
}

// The pass: groups of reservations, each a save of its own (all of it
// stored or none), so that a failure later in the pass leaves what went
// before stored and answerable. A group locks the rooms it may book, then
// reads what it decides on: a booking at another desk meanwhile waits for
// it, or (on a cluster) makes it run again from its reads.
class Pruchod
{
public:
    Pruchod(TMojeDatabaze &db, const std::vector<WebRezervace> &rezervace, const QDate &dnes,
            std::vector<Osud> &osud, Vysledek &vysledek)
        : m_db(db), m_rezervace(rezervace), m_dnes(dnes), m_osud(osud), m_vysledek(vysledek)
    {
    }

    void uloz(const QList<qsizetype> &kUlozeni)
    {
        for (qsizetype start = 0; start < kUlozeni.size(); start += davka)
            ulozSkupinu(kUlozeni.mid(start, davka));
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
        QStringList varovani;
        try {
            m_db.save({}, [&](TMojeQuery &q) { ulozVUlozeni(q, skupina, varovani); });
        } catch (const DatabaseError &e) {
            // Not stored, or not known to be: the site hears nothing of the group.
            for (qsizetype i : skupina)
                m_osud[i] = Osud::Nerozhodnuto;
            if (!odmitnutaHodnota(e))
                throw;
            m_posledniChyba = e.text();
            return false;
        }
        m_vysledek.varovani << varovani;
        return true;
    }

    // One run of a group's save; a run again after a lost race starts afresh.
    void ulozVUlozeni(TMojeQuery &q, const QList<qsizetype> &skupina, QStringList &varovani)
    {
        varovani.clear();
        QStringList ids;
        for (qsizetype i : skupina)
            ids << m_rezervace[i].rezervaceid;   // each once: later ones of the reply never come here
        // Two imports wait for each other here, before either reads what is stored.
        m_db.lock(q, SqlWeb::lockImport({}));
        const Ulozene ulozene = nactiUlozene(q, ids);

        // Stored by an earlier pass: answered as then, whatever the site sends now.
        QList<qsizetype> cekajici;
        QSet<int> typy;
        QDate od, doKdy;
        for (qsizetype i : skupina) {
            const WebRezervace &r = m_rezervace[i];
            const auto znama = ulozene.constFind(r.rezervaceid);
            if (znama == ulozene.constEnd()) {
                cekajici << i;
                typy.insert(r.typ_pokoje_id);
                od = od.isValid() ? qMin(od, r.od_kdy) : r.od_kdy;
                doKdy = doKdy.isValid() ? qMax(doKdy, r.do_kdy) : r.do_kdy;
                continue;
            }
            m_osud[i] = Osud::Znama;
            const QStringList jine = rozdily(znama->data, r, znama->nalezena);
            if (!jine.isEmpty())
                varovani << tr("%1 je už uložena (objednávka č. %2), web ji nabídl znovu s jinými údaji (%3); "
                               "nic dalšího se neuložilo.")
                                .arg(popis(r), QString::number(znama->cislo), jine.join(QStringLiteral(", ")));
        }
        if (cekajici.isEmpty())
            return;

        // The rooms are locked before their stays are read, and chosen in
        // memory from one read of the stays that matter, as the desk's
        // statement would choose them one by one. A room added meanwhile is
        // locked too before its stays count.
        const QList<int> typyPokoju = typy.values();
        QList<int> zamcene = pokojeTypu(q, typyPokoju);
        m_db.lock(q, SqlWeb::lockImport(zamcene));
        VolnePokoje volne = VolnePokoje::Nacti(q, typyPokoju, od, doKdy);
        for (int pokus = 0; pokus < 3; ++pokus) {
            QList<int> dalsi;
            for (int pokoj : volne.pokojeIds())
                if (!zamcene.contains(pokoj))
                    dalsi << pokoj;
            if (dalsi.isEmpty())
                break;
            m_db.lock(q, SqlWeb::lockImport(dalsi));
            zamcene << dalsi;
            volne = VolnePokoje::Nacti(q, typyPokoju, od, doKdy);
        }

        QList<qsizetype> ukladane;
        QList<int> pokoje;
        for (qsizetype i : cekajici) {
            const WebRezervace &r = m_rezervace[i];
            // The group's own stays count for the next ones.
            const int pokoj = volne.NajdiVolnyPokoj(r.typ_pokoje_id, r.od_kdy, r.do_kdy);
            if (pokoj == 0 || !zamcene.contains(pokoj)) {
                m_osud[i] = Osud::Odmitnuta;
                continue;
            }
            volne.Pridej(pokoj, r.od_kdy, r.do_kdy);
            ukladane << i;
            pokoje << pokoj;
        }
        if (ukladane.isEmpty())
            return;

        // Numbers from the series, as every desk and node takes them.
        const int n = int(ukladane.size());
        const int prvniKlient = CiselneRady::vezmi(q, CiselneRady::Rada::Klient, n);
        const int prvniCislo = CiselneRady::vezmi(q, CiselneRady::Rada::Objednavka, n);
        QList<SqlWeb::WebKlient> klienti;
        QList<SqlWeb::WebObjednavka> objednavky;
        for (int k = 0; k < n; ++k) {
            const WebRezervace &r = m_rezervace[ukladane[k]];
            klienti.append({prvniKlient + k, r.jmeno, r.telefon, r.email, r.stat});
            objednavky.append({r.rezervaceid, prvniKlient + k, prvniCislo + k, r.typ_pokoje_id, m_dnes, r.od_kdy,
                               r.do_kdy, pokoje[k], r.cena});
            m_osud[ukladane[k]] = Osud::Ulozena;
        }
        q.exec(SqlWeb::insertWebReservations(objednavky));
        q.exec(SqlWeb::insertWebClients(q.format(), klienti));
        Klient::markChanged(q);
        q.exec(SqlWeb::rememberWebReservations(q.format(), objednavky));
        zapisDoHistorie(klienti, objednavky);
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
    }

    TMojeDatabaze &m_db;
    const std::vector<WebRezervace> &m_rezervace;
    QDate m_dnes;
    std::vector<Osud> &m_osud;
    Vysledek &m_vysledek;
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
            Pruchod(TMojeDatabaze::current(), vsechny, dnes, osud, vysledek).uloz(kUlozeni);
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
