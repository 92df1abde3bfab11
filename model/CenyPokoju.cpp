#include "model/CenyPokoju.h"

#include "db/SqlCenyPokoju.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

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
