#include "model/CenyPokoju.h"

#include "db/SqlCenyPokoju.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QLocale>
#include <cmath>

std::optional<double> parsePrice(const QString &text)
{
    QString t = text.trimmed();
    // One separator of either kind; with both, or two commas, it is not
    // clear which one is meant.
    const qsizetype commas = t.count(u',');
    if (commas > 1 || (commas == 1 && t.contains(u'.')))
        return std::nullopt;
    t.replace(u',', u'.');
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double cena = c.toDouble(t, &ok);
    // "inf" and "nan" convert, but no price column holds them.
    if (!ok || !std::isfinite(cena))
        return std::nullopt;
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
    for (; !q.eof(); q.next())
        m_ceny.insert({q.integer("typ_pokoje_id"), q.integer("typ_klienta_id"), q.integer("typ_dne_id"),
                       q.real("cena")});
    return m_ceny;
}

void CenyPokoju::NastavCenu(int typPokojeId, int typKlientaId, int typDneId, double cena)
{
    const CenaPokoje c{typPokojeId, typKlientaId, typDneId, cena};
    m_ceny.erase(c);
    m_ceny.insert(c);
}

void CenyPokoju::Uloz() const
{
    TMojeDatabaze::current().writeLocked(SqlCenyPokoju::lockPrices(), [this](TMojeQuery &q) {
        q.exec(SqlCenyPokoju::deletePrices());
        for (const CenaPokoje &c : m_ceny)
            q.exec(SqlCenyPokoju::insertPrice(c.typ_pokoje_id, c.typ_klienta_id, c.typ_dne_id, c.cena));
    });
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
