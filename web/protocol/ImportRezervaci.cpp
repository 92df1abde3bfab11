#include "web/protocol/ImportRezervaci.h"

#include "db/DatabaseError.h"
#include "db/SqlWeb.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Klienti.h"
#include "model/Objednavky.h"
#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

namespace ImportRezervaci {

namespace {
struct Kolize
{
};

// The client and the reservation go in together or not at all; the collision
// test is repeated under the lock, where no other desk can store in between.
// A value its column refuses (a name too long) refuses this one alone.
bool ulozJednu(Objednavka &objednavka, const WebRezervace &r, QStringList *odmitnute)
{
    Klient klient(0, r.jmeno, r.telefon, r.email, r.stat);
    try {
        TMojeDatabaze::current().writeLocked(SqlWeb::lockImport(), [&](TMojeQuery &q) {
                if (objednavka.JeKolize(&q))
                    throw Kolize();
                klient.UlozKlienta(&q);
                objednavka.klient_id = klient.klient_id;
                if (!objednavka.Zarezervuj(&q))
                    throw Kolize();
            });
    } catch (const Kolize &) {
        return false;
    } catch (const DatabaseError &e) {
        if (e.kind() != DatabaseError::Kind::ValueRefused)
            throw;
        const QString zprava = QStringLiteral("%1: %2").arg(r.rezervaceid, e.text());
        qWarning("Vitrana: rezervace z webu %s", qUtf8Printable(zprava));
        if (odmitnute)
            *odmitnute << zprava;
        return false;
    }
    return true;
}
} // namespace

QString ulozRezervace(const RezervaceZWebu &rezervace, const QDate &dnes, QStringList *odmitnute)
{
    QString vysledek = QStringLiteral("pocet_rezervaci=") + rezervace.pocet_rezervaci;
    for (const WebRezervace &r : rezervace.rezervace) {
        // The room is searched; the web site's price of the stay wins over the price list.
        Objednavka objednavka(0, dnes, r.od_kdy, r.do_kdy, 0, r.typ_pokoje_id);
        objednavka.cena = r.cena;
        const bool ulozeno = !objednavka.JeKolize() && ulozJednu(objednavka, r, odmitnute);
        vysledek += QStringLiteral("&rezervace[") + Pozadavek::hodnota(r.rezervaceid)
                    + (ulozeno ? QStringLiteral("]=1") : QStringLiteral("]=-1"));
    }
    return vysledek;
}

} // namespace ImportRezervaci
