#include "DveRecepce.h"

#include "model/KalendarTypuDne.h"
#include "model/TypyDnu.h"

#include <memory>

namespace {
// Weekdays and weekends, each with a date and a price.
const QStringList pripravit{
    "INSERT INTO typy_dnu_tab VALUES (1, 'Všední', 1), (2, 'Víkend', 2)",
    "INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-07-04', 1), ('2025-07-11', 1), ('2025-07-05', 2)",
    "INSERT INTO ceny_pokoje_tab VALUES (1, 1, 1, 1000), (1, 1, 2, 1200)",
};

// Every day-type id that a type, a date or a price has: name, poradi, dates, prices.
const QString dotaz = QStringLiteral(
    "SELECT ids.id, t.nazev_typu_dne, t.poradi,"
    " (SELECT GROUP_CONCAT(datum ORDER BY datum) FROM kalendar_typy_dnu_tab k WHERE k.typ_dne_id = ids.id),"
    " (SELECT GROUP_CONCAT(cena ORDER BY cena) FROM ceny_pokoje_tab c WHERE c.typ_dne_id = ids.id)"
    " FROM (SELECT typ_dne_id AS id FROM typy_dnu_tab UNION SELECT typ_dne_id FROM kalendar_typy_dnu_tab"
    " UNION SELECT typ_dne_id FROM ceny_pokoje_tab) ids LEFT JOIN typy_dnu_tab t ON t.typ_dne_id = ids.id"
    " ORDER BY ids.id");

const QString vsedni = QStringLiteral("1|Všední|1|2025-07-04,2025-07-11|1000.00");
const QString vikend = QStringLiteral("2|Víkend|2|2025-07-05|1200.00");
const QString svatekJinde = QStringLiteral("INSERT INTO typy_dnu_tab VALUES (3, 'Svátek', 3)");
const QStringList svatekJindeSDaty{svatekJinde, "INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-07-05', 3)",
                                   "INSERT INTO ceny_pokoje_tab VALUES (1, 1, 3, 1500)"};
const QString svatek = QStringLiteral("3|Svátek|3|2025-07-05|1500.00");

/** This desk loads the day types and edits them; the save comes later. */
std::function<std::function<void()>()> typy(std::function<void(TypyDnu &)> upravit)
{
    return [upravit] {
        auto t = std::make_shared<TypyDnu>();
        upravit(*t);
        return std::function<void()>([t] { t->Uloz(); });
    };
}

/** This desk loads one type's dates and edits them; the save comes later. */
std::function<std::function<void()>()> kalendar(int id, const QString &nazev,
                                                std::function<void(KalendarTypuDne &)> upravit)
{
    return [=] {
        auto k = std::make_shared<KalendarTypuDne>(id, nazev);
        upravit(*k);
        return std::function<void()>([k] { k->Uloz(); });
    };
}
} // namespace

QList<DvouRecepcniPripad> pripadyTypuDnu()
{
    return {
        {"typy dní: typ přidaný mezitím si nechá id, dny i ceny; náš nový dostane nové id a místo pod ním",
         pripravit, typy([](TypyDnu &t) {
             t.nastavDnyNovehoTypu(t.Pridej("Sezóna"), {QDate(2025, 8, 1), QDate(2025, 8, 2)});
         }),
         svatekJindeSDaty, false, dotaz,
         {vsedni, vikend, svatek, "4|Sezóna|4|2025-08-01,2025-08-02|"}},
        {"typy dní: změna pořadí, když jiná recepce mezitím přidala typ, je konflikt", pripravit,
         typy([](TypyDnu &t) { t.Posun(1, -1); }), {svatekJinde}, true, dotaz, {vsedni, vikend, "3|Svátek|3||"}},
        {"typy dní: typ přejmenovaný mezitím a námi nedotčený zůstane přejmenovaný", pripravit,
         typy([](TypyDnu &t) { t.Pridej("Sezóna"); }),
         {"UPDATE typy_dnu_tab SET nazev_typu_dne = 'Pracovní' WHERE typ_dne_id = 1"}, false, dotaz,
         {"1|Pracovní|1|2025-07-04,2025-07-11|1000.00", vikend, "3|Sezóna|3||"}},
        {"typy dní: nový typ nahoře, když jiná recepce mezitím přidala typ, je konflikt",
         pripravit, typy([](TypyDnu &t) {
             t.Pridej("Sezóna");
             t.Posun(2, -1);
             t.Posun(1, -1);
         }),
         svatekJindeSDaty, true, dotaz, {vsedni, vikend, svatek}},
        {"typy dní: název přidaný mezitím jinou recepcí je konflikt", pripravit,
         typy([](TypyDnu &t) { t.Pridej("Svátek"); }), svatekJindeSDaty, true, dotaz, {vsedni, vikend, svatek}},
        {"typy dní: odstranění typu přejmenovaného mezitím je konflikt", pripravit, typy([](TypyDnu &t) { t.Odstran(1); }),
         {"UPDATE typy_dnu_tab SET nazev_typu_dne = 'Sobota a neděle' WHERE typ_dne_id = 2"}, true, dotaz,
         {vsedni, "2|Sobota a neděle|2|2025-07-05|1200.00"}},
        {"typy dní: posun typu přejmenovaného mezitím je konflikt", pripravit, typy([](TypyDnu &t) { t.Posun(1, -1); }),
         {"UPDATE typy_dnu_tab SET nazev_typu_dne = 'Pracovní' WHERE typ_dne_id = 1"}, true, dotaz,
         {"1|Pracovní|1|2025-07-04,2025-07-11|1000.00", vikend}},
        {"typy dní: posun typu posunutého mezitím je konflikt", pripravit, typy([](TypyDnu &t) { t.Posun(0, 1); }),
         {"UPDATE typy_dnu_tab SET poradi = 5 WHERE typ_dne_id = 1"}, true, dotaz,
         {"1|Všední|5|2025-07-04,2025-07-11|1000.00", vikend}},
        {"typy dní: odstranění typu, který mezitím dostal den, je konflikt", pripravit,
         typy([](TypyDnu &t) { t.Odstran(1); }), {"INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-07-12', 2)"},
         true, dotaz, {vsedni, "2|Víkend|2|2025-07-05,2025-07-12|1200.00"}},
        {"kalendář: dny uložené mezitím jinou recepcí zůstanou, žádný dvakrát", pripravit,
         kalendar(1, "Všední",
                  [](KalendarTypuDne &k) {
                      k.OdstranDen(QDate(2025, 7, 4));
                      k.PridejDen(QDate(2025, 7, 18));
                      k.PridejDen(QDate(2025, 7, 25));
                  }),
         {"INSERT INTO kalendar_typy_dnu_tab VALUES ('2025-08-01', 1), ('2025-07-25', 1)"}, false, dotaz,
         {"1|Všední|1|2025-07-11,2025-07-18,2025-07-25,2025-08-01|1000.00", vikend}},
        {"kalendář: typ odstraněný mezitím je konflikt", pripravit,
         kalendar(2, "Víkend", [](KalendarTypuDne &k) { k.PridejDen(QDate(2025, 7, 12)); }),
         {"DELETE FROM typy_dnu_tab WHERE typ_dne_id = 2", "DELETE FROM kalendar_typy_dnu_tab WHERE typ_dne_id = 2",
          "DELETE FROM ceny_pokoje_tab WHERE typ_dne_id = 2"},
         true, dotaz, {vsedni}},
    };
}
