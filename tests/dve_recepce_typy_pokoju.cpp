// Room types and prices saved while another desk stores its own.

#include "DveRecepce.h"

#include "model/CenyPokoju.h"
#include "model/TypyPokoju.h"

#include <memory>

namespace {
const QStringList hotel{
    "INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2)",
    "INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne) VALUES (1, 'Všední'), (2, 'Víkend')",
    "INSERT INTO typy_klientu_tab VALUES (1, 'Běžný'), (2, 'Firma')",
    "INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (2, 1, 1, 1500)",
};

// Types, prices and rooms, one line each.
const QString stav = QStringLiteral(
    "SELECT CONCAT_WS(' ', 'typ', typ_pokoje_id, nazev_typu_pokoje, pocet_luzek) AS r FROM typy_pokoju_tab "
    "UNION ALL SELECT CONCAT_WS(' ', 'cena', typ_pokoje_id, typ_klienta_id, typ_dne_id, cena) FROM ceny_pokoje_tab "
    "UNION ALL SELECT CONCAT_WS(' ', 'pokoj', cislo_pokoje, typ_pokoje_id) FROM pokoje_tab ORDER BY r");

// The arranged rows and those a case adds, in the order of the select.
QStringList a(QStringList rows)
{
    rows.sort();
    return rows;
}

const QStringList puvodni{"cena 1 1 1 1000.00", "cena 2 1 1 1500.00", "typ 1 Jednolůžkový 1",
                          "typ 2 Dvoulůžkový 2"};

// The room types loaded, edited by `uprav`, saved with the prices it gives for new types.
std::function<std::function<void()>()> typy(std::function<std::vector<CenaPokoje>(TypyPokoju &)> uprav)
{
    return [uprav] {
        auto t = std::make_shared<TypyPokoju>();
        const std::vector<CenaPokoje> ceny = uprav(*t);
        return std::function<void()>([t, ceny] { t->Uloz(ceny); });
    };
}

std::function<std::function<void()>()> ceny(std::function<void(CenyPokoju &)> uprav)
{
    return [uprav] {
        auto c = std::make_shared<CenyPokoju>();
        uprav(*c);
        return std::function<void()>([c] { c->Uloz(); });
    };
}

const QString apartma = "INSERT INTO typy_pokoju_tab VALUES (3, 'Apartmá', 4)";
} // namespace

QList<DvouRecepcniPripad> pripadyTypuPokoju()
{
    return {
        {"typy pokojů: typ přidaný mezitím i s pokojem a cenou zůstane", hotel,
         typy([](TypyPokoju &t) {
             t.Odstran(0);
             return std::vector<CenaPokoje>();
         }),
         {apartma, "INSERT INTO pokoje_tab VALUES (1, '301', 3)", "INSERT INTO ceny_pokoje_tab VALUES (3, 1, 1, 3000)"},
         false, stav,
         {"cena 2 1 1 1500.00", "cena 3 1 1 3000.00", "pokoj 301 3", "typ 2 Dvoulůžkový 2", "typ 3 Apartmá 4"}},
        {"typy pokojů: nový typ nevezme id ani ceny typu přidaného mezitím, jeho ceny dostanou jeho id", hotel,
         typy([](TypyPokoju &t) {
             const int id = t.Pridej("Rodinný", 4);
             return std::vector<CenaPokoje>{{id, 2, 2, 2500}};
         }),
         {apartma, "INSERT INTO pokoje_tab VALUES (1, '301', 3)", "INSERT INTO ceny_pokoje_tab VALUES (3, 2, 2, 3000)"},
         false, stav,
         a(puvodni + QStringList{"cena 3 2 2 3000.00", "cena 4 2 2 2500.00", "pokoj 301 3", "typ 3 Apartmá 4",
                                 "typ 4 Rodinný 4"})},
        {"typy pokojů: odstraněný typ dostal mezitím pokoj", hotel,
         typy([](TypyPokoju &t) {
             t.Odstran(1);
             t.Pridej("Rodinný", 4);
             return std::vector<CenaPokoje>();
         }),
         {"INSERT INTO pokoje_tab VALUES (1, '201', 2)"}, true, stav, a(puvodni + QStringList{"pokoj 201 2"})},
        {"typy pokojů: přidaný název mezitím uložen", hotel,
         typy([](TypyPokoju &t) {
             t.Pridej("Apartmá", 3);
             return std::vector<CenaPokoje>();
         }),
         {apartma}, true, stav, a(puvodni + QStringList{"typ 3 Apartmá 4"})},
        {"ceny: cena změněná mezitím se nevrátí", hotel, ceny([](CenyPokoju &c) { c.NastavCenu(2, 1, 2, 1800); }),
         {"UPDATE ceny_pokoje_tab SET cena = 1100 WHERE typ_pokoje_id = 1"}, false, stav,
         {"cena 1 1 1 1100.00", "cena 2 1 1 1500.00", "cena 2 1 2 1800.00", "typ 1 Jednolůžkový 1",
          "typ 2 Dvoulůžkový 2"}},
        {"ceny: tatáž cena změněná mezitím", hotel, ceny([](CenyPokoju &c) { c.NastavCenu(1, 1, 1, 1200); }),
         {"UPDATE ceny_pokoje_tab SET cena = 1100 WHERE typ_pokoje_id = 1"}, true, stav,
         {"cena 1 1 1 1100.00", "cena 2 1 1 1500.00", "typ 1 Jednolůžkový 1", "typ 2 Dvoulůžkový 2"}},
        {"ceny: typ dne mezitím odstraněn", hotel, ceny([](CenyPokoju &c) { c.NastavCenu(1, 1, 2, 900); }),
         {"DELETE FROM typy_dnu_tab WHERE typ_dne_id = 2"}, true, stav, puvodni},
    };
}
