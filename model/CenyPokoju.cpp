#include "model/CenyPokoju.h"

#include "db/SqlCenyPokoju.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Zmeny.h"
#include "model/Historie.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("CenyPokoju", text);
}

// The price column is DECIMAL(15,2): 13 digits before the decimals.
constexpr qsizetype maxIntegerDigits = 13;
} // namespace

std::optional<double> parsePrice(const QString &text, QString *duvod)
{
    const auto refuse = [duvod](const QString &why) -> std::optional<double> {
        if (duvod)
            *duvod = why;
        return std::nullopt;
    };
    if (duvod)
        duvod->clear();
    const QString t = text.trimmed();   // a no-break space is a blank too
    const QString neplatne = tr("Pole cena neobsahuje platné číslo.");

    // Digits with a separator before every third: thousands with a point or a
    // comma, or a price with three decimals? Neither is guessed.
    static const QRegularExpression tisice(QStringLiteral("^[0-9]{1,3}(?:[.,][0-9]{3})+(?:[.,][0-9]{1,2})?$"));
    if (tisice.match(t).hasMatch())
        return refuse(tr("Cena „%1“ není jednoznačná: tisíce pište s mezerou (1 200), desetinná místa "
                         "nejvýše dvě (1200,50).")
                          .arg(t));

    static const QRegularExpression cislo(
        QStringLiteral("^([0-9]{1,3}(?:[ \\x{00A0}\\x{202F}][0-9]{3})+|[0-9]+)(?:[.,]([0-9]+))?$"));
    const QRegularExpressionMatch m = cislo.match(t);
    if (!m.hasMatch()) {
        if ((t.startsWith(u'-') || t.startsWith(QChar(0x2212))) && cislo.match(t.mid(1).trimmed()).hasMatch())
            return refuse(tr("Cena nesmí být záporná."));
        return refuse(neplatne);
    }
    const QString desetinna = m.captured(2);
    if (desetinna.size() > 2)
        return refuse(tr("Cena „%1“ má víc než dvě desetinná místa.").arg(t));
    static const QRegularExpression mezery(QStringLiteral("[^0-9]"));
    QString cela = m.captured(1);
    cela.remove(mezery);
    while (cela.size() > 1 && cela.startsWith(u'0'))
        cela.remove(0, 1);
    if (cela.size() > maxIntegerDigits)
        return refuse(tr("Cena „%1“ je příliš vysoká, nejvýše může být 9 999 999 999 999,99.").arg(t));
    // At most 15 significant digits: the double written back gives the same digits.
    bool ok = false;
    const double cena = QLocale::c().toDouble(desetinna.isEmpty() ? cela : cela + u'.' + desetinna, &ok);
    if (!ok)
        return refuse(neplatne);
    return cena;
}

CenyPokoju::CenyPokoju()
{
    Nacti();
}

const std::set<CenaPokoje> &CenyPokoju::Nacti()
{
    TMojeQuery q;
    q.setSql(SqlCenyPokoju::selectPrices());
    q.open();
    m_ceny.clear();
    m_nactene.clear();
    for (; !q.eof(); q.next())
        m_ceny.insert({q.integer("typ_pokoje_id"), q.integer("typ_klienta_id"), q.integer("typ_dne_id"),
                       q.real("cena")});
    return m_ceny;
}

void CenyPokoju::NastavCenu(int typPokojeId, int typKlientaId, int typDneId, double cena)
{
    const CenaPokoje c{typPokojeId, typKlientaId, typDneId, cena};
    const auto it = m_ceny.find(c);
    std::optional<double> predtim;
    if (it != m_ceny.end()) {
        predtim = it->cena;
        m_ceny.erase(it);
    }
    m_nactene.try_emplace(c, predtim);   // the first setting knows the loaded price
    m_ceny.insert(c);
}

namespace {
QSet<int> readIds(TMojeQuery &q, const QString &select, const QString &column)
{
    QSet<int> ids;
    q.setSql(select);
    q.open();
    for (; !q.eof(); q.next())
        ids.insert(q.integer(column));
    return ids;
}

struct UlozeneTypy
{
    QSet<int> pokoje, klienti, dny;

    explicit UlozeneTypy(TMojeQuery &q)
        : pokoje(readIds(q, SqlCenyPokoju::selectRoomTypeIds(), QStringLiteral("typ_pokoje_id")))
        , klienti(readIds(q, SqlCenyPokoju::selectClientTypeIds(), QStringLiteral("typ_klienta_id")))
        , dny(readIds(q, SqlCenyPokoju::selectDayTypeIds(), QStringLiteral("typ_dne_id")))
    {
    }
    bool maji(const CenaPokoje &c) const
    {
        return pokoje.contains(c.typ_pokoje_id) && klienti.contains(c.typ_klienta_id) && dny.contains(c.typ_dne_id);
    }
};

// A price as the history writes it, the Czech way whatever the desk's
// locale: "1 600,25", crowns alone when there are no hellers.
QString castka(double cena)
{
    const bool cele = qRound64(cena * 100) % 100 == 0;
    return QLocale(QLocale::Czech, QLocale::CzechRepublic).toString(cena, 'f', cele ? 0 : 2);
}

QString nazev(const QHash<int, QString> &nazvy, int id)
{
    return Konflikt::uvozovky(nazvy.value(id, QString::number(id)));
}
} // namespace

void CenyPokoju::Uloz(const NazvyTypu &nazvy)
{
    std::vector<CenaPokoje> zapsat;
    QList<int> typyPokoju;
    for (const auto &[slot, predtim] : m_nactene) {
        if (jeDocasneId(slot.typ_pokoje_id))
            continue;
        zapsat.push_back(*m_ceny.find(slot));
        if (!typyPokoju.contains(slot.typ_pokoje_id))
            typyPokoju << slot.typ_pokoje_id;
    }
    if (zapsat.empty())
        return;
    TMojeDatabaze::current().save(SqlCenyPokoju::lockPrices(), [&](TMojeQuery &q) {
        const UlozeneTypy typy(q);
        for (const CenaPokoje &c : zapsat) {
            if (!typy.pokoje.contains(c.typ_pokoje_id))
                throw Konflikt::odstranen(tr("Typ pokoje %1").arg(nazev(nazvy.typyPokoju, c.typ_pokoje_id)));
            if (!typy.dny.contains(c.typ_dne_id))
                throw Konflikt::odstranen(tr("Typ dne %1").arg(nazev(nazvy.typyDnu, c.typ_dne_id)));
            if (!typy.klienti.contains(c.typ_klienta_id))
                throw Konflikt::odstranen(tr("Typ klienta %1").arg(nazev(nazvy.typyKlientu, c.typ_klienta_id)));
        }
        // The first row of a slot counts, as at the load.
        std::set<CenaPokoje> ulozene;
        q.setSql(SqlCenyPokoju::selectPricesOfRoomTypes(typyPokoju));
        q.open();
        for (; !q.eof(); q.next())
            ulozene.insert({q.integer("typ_pokoje_id"), q.integer("typ_klienta_id"), q.integer("typ_dne_id"),
                            q.real("cena")});
        for (const CenaPokoje &c : zapsat) {
            const auto ted = ulozene.find(c);
            const std::optional<double> &predtim = m_nactene.at(c);
            const bool stejna = ted == ulozene.end() ? !predtim : predtim && *predtim == ted->cena;
            if (!stejna)
                throw Konflikt::zmenen(tr("Cenu typu pokoje %1 pro typ dne %2 a typ klienta %3")
                                           .arg(nazev(nazvy.typyPokoju, c.typ_pokoje_id),
                                                nazev(nazvy.typyDnu, c.typ_dne_id),
                                                nazev(nazvy.typyKlientu, c.typ_klienta_id)));
        }
        QStringList zmenene;
        QList<int> zmeneneTypy;
        for (const CenaPokoje &c : zapsat) {
            q.exec(SqlCenyPokoju::deletePrice(c.typ_pokoje_id, c.typ_klienta_id, c.typ_dne_id));
            q.exec(SqlCenyPokoju::insertPrice(c.typ_pokoje_id, c.typ_klienta_id, c.typ_dne_id, c.cena));
            const std::optional<double> &predtim = m_nactene.at(c);
            if (predtim && *predtim == c.cena)
                continue;   // set again to what it was
            zmenene << tr("%1 / %2 / %3: %4 → %5")
                           .arg(nazvy.typyPokoju.value(c.typ_pokoje_id), nazvy.typyDnu.value(c.typ_dne_id),
                                nazvy.typyKlientu.value(c.typ_klienta_id),
                                predtim ? castka(*predtim) : QStringLiteral("–"), castka(c.cena));
            if (!zmeneneTypy.contains(c.typ_pokoje_id))
                zmeneneTypy << c.typ_pokoje_id;
        }
        if (!zmenene.isEmpty())
            Historie::zapis(QCoreApplication::translate("Historie", "Ceny uloženy: %1").arg(Historie::vycet(zmenene)),
                            Historie::ids(QStringLiteral("typ_pokoje"), zmeneneTypy));
    });
    for (const CenaPokoje &c : zapsat)
        m_nactene.erase(c);
}

void CenyPokoju::obnov()
{
    std::vector<std::pair<CenaPokoje, std::optional<double>>> nastavene;
    for (const auto &[slot, predtim] : m_nactene)
        nastavene.emplace_back(*m_ceny.find(slot), predtim);
    Nacti();
    TMojeQuery q;
    const UlozeneTypy typy(q);
    for (const auto &[c, predtim] : nastavene) {
        if (!jeDocasneId(c.typ_pokoje_id)) {
            if (!typy.maji(c))
                continue;
            const auto ted = m_ceny.find(c);
            const bool stejna = ted == m_ceny.end() ? !predtim : predtim && *predtim == ted->cena;
            if (!stejna)
                continue;   // the other desk's price shows
        }
        NastavCenu(c.typ_pokoje_id, c.typ_klienta_id, c.typ_dne_id, c.cena);
    }
}

std::vector<CenaPokoje> CenyPokoju::cenyNovychTypu() const
{
    std::vector<CenaPokoje> ceny;
    for (const CenaPokoje &c : m_ceny)
        if (jeDocasneId(c.typ_pokoje_id))
            ceny.push_back(c);
    return ceny;
}

QList<QList<PriceCell>> CenyPokoju::summarize(const QList<int> &typyPokoju, const QList<int> &typyDnu,
                                              const QList<int> &typyKlientu) const
{
    QList<QList<PriceCell>> rows;
    for (int den : typyDnu) {
        QList<PriceCell> row;
        for (int klient : typyKlientu) {
            PriceCell cell;
            int priced = 0;
            for (int pokoj : typyPokoju) {
                const auto it = m_ceny.find({pokoj, klient, den, 0});
                if (it == m_ceny.end())
                    continue;
                if (priced++ == 0)
                    cell = {PriceCell::Kind::Same, it->cena};
                else if (it->cena != cell.cena)
                    cell.kind = PriceCell::Kind::Different;
            }
            if (priced > 0 && priced < typyPokoju.size())
                cell.kind = PriceCell::Kind::Different;
            if (cell.kind == PriceCell::Kind::Different)
                cell.cena = 0;
            row << cell;
        }
        rows << row;
    }
    return rows;
}
