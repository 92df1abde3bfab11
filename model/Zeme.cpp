#include "model/Zeme.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace Zeme {

namespace {
// The states whose citizens a Czech hotel meets: the EU and EEA, the
// neighbours, and the common sources of the country's visitors.
const char *const zeme[][2] = {
    {"AFG", "Afghánistán"}, {"ALB", "Albánie"}, {"DZA", "Alžírsko"}, {"AND", "Andorra"},
    {"ARG", "Argentina"}, {"ARM", "Arménie"}, {"AUS", "Austrálie"}, {"AZE", "Ázerbájdžán"},
    {"BEL", "Belgie"}, {"BLR", "Bělorusko"}, {"BIH", "Bosna a Hercegovina"}, {"BRA", "Brazílie"},
    {"BGR", "Bulharsko"}, {"MNE", "Černá Hora"}, {"CZE", "Česko"}, {"CHL", "Chile"},
    {"HRV", "Chorvatsko"}, {"CHN", "Čína"}, {"DNK", "Dánsko"}, {"EGY", "Egypt"},
    {"EST", "Estonsko"}, {"PHL", "Filipíny"}, {"FIN", "Finsko"}, {"FRA", "Francie"},
    {"GEO", "Gruzie"}, {"HKG", "Hongkong"}, {"IND", "Indie"}, {"IDN", "Indonésie"},
    {"IRQ", "Irák"}, {"IRN", "Írán"}, {"IRL", "Irsko"}, {"ISL", "Island"},
    {"ITA", "Itálie"}, {"ISR", "Izrael"}, {"JPN", "Japonsko"}, {"ZAF", "Jihoafrická republika"},
    {"KOR", "Jižní Korea"}, {"JOR", "Jordánsko"}, {"CAN", "Kanada"}, {"KAZ", "Kazachstán"},
    {"COL", "Kolumbie"}, {"CYP", "Kypr"}, {"KGZ", "Kyrgyzstán"},
    {"LBN", "Libanon"}, {"LIE", "Lichtenštejnsko"}, {"LTU", "Litva"}, {"LVA", "Lotyšsko"},
    {"LUX", "Lucembursko"}, {"HUN", "Maďarsko"}, {"MYS", "Malajsie"}, {"MLT", "Malta"},
    {"MAR", "Maroko"}, {"MEX", "Mexiko"}, {"MDA", "Moldavsko"}, {"MCO", "Monako"},
    {"MNG", "Mongolsko"}, {"DEU", "Německo"}, {"NLD", "Nizozemsko"}, {"NOR", "Norsko"},
    {"NZL", "Nový Zéland"}, {"PAK", "Pákistán"}, {"PER", "Peru"}, {"POL", "Polsko"},
    {"PRT", "Portugalsko"}, {"AUT", "Rakousko"}, {"ROU", "Rumunsko"}, {"RUS", "Rusko"},
    {"GRC", "Řecko"}, {"SAU", "Saúdská Arábie"}, {"SGP", "Singapur"}, {"SVK", "Slovensko"},
    {"SVN", "Slovinsko"}, {"ARE", "Spojené arabské emiráty"}, {"GBR", "Spojené království"},
    {"USA", "Spojené státy americké"}, {"SRB", "Srbsko"}, {"MKD", "Severní Makedonie"},
    {"ESP", "Španělsko"}, {"SWE", "Švédsko"}, {"CHE", "Švýcarsko"}, {"TJK", "Tádžikistán"},
    {"TWN", "Tchaj-wan"}, {"THA", "Thajsko"}, {"TUN", "Tunisko"}, {"TUR", "Turecko"},
    {"TKM", "Turkmenistán"}, {"UKR", "Ukrajina"}, {"UZB", "Uzbekistán"}, {"SMR", "San Marino"},
    {"VAT", "Vatikán"}, {"VNM", "Vietnam"},
};

QList<Zeme> serazene()
{
    QList<Zeme> out;
    for (const auto &z : zeme)
        out.append({QString::fromLatin1(z[0]), QString::fromUtf8(z[1])});
    // "Č" after "C", "Ch" after "H", "Ř" after "R": the Czech alphabet.
    const QCollator cesky{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    std::sort(out.begin(), out.end(), [&](const Zeme &a, const Zeme &b) { return cesky.compare(a.nazev, b.nazev) < 0; });
    return out;
}
} // namespace

const QList<Zeme> &seznam()
{
    static const QList<Zeme> vsechny = serazene();
    return vsechny;
}

QString nazev(const QString &kod)
{
    for (const Zeme &z : seznam())
        if (z.kod == kod)
            return z.nazev;
    return kod;
}

} // namespace Zeme
