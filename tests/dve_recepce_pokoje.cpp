#include "DveRecepce.h"

#include "model/Pokoje.h"
#include "model/SkupinyPokoju.h"

#include <memory>

namespace {
// Each room with its type and how many reservations point at it.
const QString pokojeSRezervacemi = QStringLiteral(
    "SELECT p.pokoj_id, p.cislo_pokoje, p.typ_pokoje_id, COUNT(o.cislo_objednavky) FROM pokoje_tab p "
    "LEFT JOIN objednavky_pokoje_tab o USING (pokoj_id) GROUP BY p.pokoj_id ORDER BY p.pokoj_id");
// Each group with its member room ids.
const QString skupinySCleny = QStringLiteral(
    "SELECT s.skupina_pokoju_id, s.nazev_skupiny_pokoju, GROUP_CONCAT(l.pokoj_id ORDER BY l.pokoj_id) "
    "FROM skupiny_pokoju_tab s LEFT JOIN skupiny_pokoju_propojeni_tab l USING (skupina_pokoju_id) "
    "GROUP BY s.skupina_pokoju_id ORDER BY s.skupina_pokoju_id");

const QStringList hotel{
    "INSERT INTO typy_pokoju_tab VALUES (1, 'Jednolůžkový', 1), (2, 'Dvoulůžkový', 2)",
    "INSERT INTO pokoje_tab VALUES (1, '101', 1), (2, '102', 1)",
    "INSERT INTO skupiny_pokoju_tab VALUES (1, 'Přízemí')",
    "INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 1)",
};

QString rezervace(int cislo, int pokojId)
{
    return QStringLiteral("INSERT INTO objednavky_pokoje_tab VALUES (1, %1, '2030-01-01', '2030-02-01', "
                          "'2030-02-03', %2, 100)")
        .arg(cislo)
        .arg(pokojId);
}

/** This desk in the rooms dialog: loads the rooms, edits them; the save comes later. */
std::function<std::function<void()>()> pokoje(std::function<void(Pokoje &)> uprav)
{
    return [uprav] {
        auto p = std::make_shared<Pokoje>();
        uprav(*p);
        return std::function<void()>([p] { p->Uloz({{2, QStringLiteral("Dvoulůžkový")}}); });
    };
}

/** This desk in the groups dialog, with the rooms it lists. */
std::function<std::function<void()>()> skupiny(std::function<void(SkupinyPokoju &, const Pokoje &)> uprav)
{
    return [uprav] {
        auto s = std::make_shared<SkupinyPokoju>();
        uprav(*s, Pokoje());
        return std::function<void()>([s] { s->Uloz(); });
    };
}

Pokoje jen(const Pokoje &pokoje, int index)
{
    return Pokoje({pokoje.prvky()[index]});
}
} // namespace

QList<DvouRecepcniPripad> pripadyPokoju()
{
    const QStringList pokoj201{"INSERT INTO pokoje_tab VALUES (3, '201', 1)", rezervace(7, 3)};
    return {
        {"pokoje: pokoj přidaný a zarezervovaný jinou recepcí zůstane", hotel,
         pokoje([](Pokoje &p) { p.Odstran(1); }), pokoj201, false, pokojeSRezervacemi,
         {"1|101|1|0", "3|201|1|1"}},
        {"pokoje: nový pokoj nedostane id pokoje přidaného mezitím", hotel,
         pokoje([](Pokoje &p) { p.Pridej("103", 2); }), pokoj201, false, pokojeSRezervacemi,
         {"1|101|1|0", "2|102|1|0", "3|201|1|1", "4|103|2|0"}},
        {"pokoje: odebrání pokoje, který jiná recepce změnila, je konflikt", hotel,
         pokoje([](Pokoje &p) { p.Odstran(0); }), {"UPDATE pokoje_tab SET typ_pokoje_id = 2 WHERE pokoj_id = 1"},
         true, pokojeSRezervacemi, {"1|101|2|0", "2|102|1|0"}},
        {"pokoje: změna typu ponechá id i rezervace", hotel + QStringList{rezervace(1, 1)},
         pokoje([](Pokoje &p) { p.ZmenTyp(0, 2); }), {rezervace(2, 1)}, false, pokojeSRezervacemi,
         {"1|101|2|2", "2|102|1|0"}},
        {"pokoje: odebrané a znovu přidané číslo je tentýž pokoj", hotel + QStringList{rezervace(1, 1)},
         pokoje([](Pokoje &p) {
             p.Odstran(0);
             p.Pridej("101", 2);
         }),
         {rezervace(2, 1)}, false, pokojeSRezervacemi, {"1|101|2|2", "2|102|1|0"}},
        {"pokoje: číslo přidané mezitím jinou recepcí je konflikt", hotel,
         pokoje([](Pokoje &p) { p.Pridej("201", 1); }), pokoj201, true, pokojeSRezervacemi,
         {"1|101|1|0", "2|102|1|0", "3|201|1|1"}},
        {"pokoje: typ odstraněný mezitím je konflikt", hotel, pokoje([](Pokoje &p) { p.ZmenTyp(1, 2); }),
         {"DELETE FROM typy_pokoju_tab WHERE typ_pokoje_id = 2"}, true, pokojeSRezervacemi,
         {"1|101|1|0", "2|102|1|0"}},

        {"skupiny: skupina přidaná jinou recepcí zůstane", hotel, skupiny([](SkupinyPokoju &s, const Pokoje &p) {
             s.Pridej("Patro");
             s.PridejPokojeDoSkupiny(1, jen(p, 1));
             s.PridejPokojeDoSkupiny(0, jen(p, 1));
         }),
         {"INSERT INTO skupiny_pokoju_tab VALUES (2, 'Sklep')", "INSERT INTO skupiny_pokoju_propojeni_tab VALUES (2, 2)"},
         false, skupinySCleny, {"1|Přízemí|1,2", "2|Sklep|2", "3|Patro|2"}},
        {"skupiny: člen přidaný jinou recepcí zůstane", hotel,
         skupiny([](SkupinyPokoju &s, const Pokoje &p) { s.OdeberPokojeZeSkupiny(0, jen(p, 0)); }),
         {"INSERT INTO skupiny_pokoju_propojeni_tab VALUES (1, 2)"}, false, skupinySCleny, {"1|Přízemí|2"}},
        {"skupiny: pokoj odstraněný mezitím nelze přidat do skupiny", hotel,
         skupiny([](SkupinyPokoju &s, const Pokoje &p) { s.PridejPokojeDoSkupiny(0, jen(p, 1)); }),
         {"DELETE FROM pokoje_tab WHERE pokoj_id = 2"}, true, skupinySCleny, {"1|Přízemí|1"}},
        {"skupiny: id pokoje mezitím s jiným číslem je konflikt", hotel,
         skupiny([](SkupinyPokoju &s, const Pokoje &p) {
             s.Pridej("Patro");
             s.PridejPokojeDoSkupiny(1, jen(p, 1));
         }),
         {"UPDATE pokoje_tab SET cislo_pokoje = '999' WHERE pokoj_id = 2"}, true, skupinySCleny, {"1|Přízemí|1"}},
        {"skupiny: název obsazený mezitím je konflikt", hotel,
         skupiny([](SkupinyPokoju &s, const Pokoje &) { s.Pridej("Patro"); }),
         {"INSERT INTO skupiny_pokoju_tab VALUES (2, 'Patro')"}, true, skupinySCleny, {"1|Přízemí|1", "2|Patro|"}},
        {"skupiny: do skupiny odstraněné mezitím nelze přidávat", hotel,
         skupiny([](SkupinyPokoju &s, const Pokoje &p) { s.PridejPokojeDoSkupiny(0, jen(p, 1)); }),
         {"DELETE FROM skupiny_pokoju_tab", "DELETE FROM skupiny_pokoju_propojeni_tab"}, true, skupinySCleny, {}},
    };
}
