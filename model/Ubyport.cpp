#include "model/Ubyport.h"
#include "model/Zeme.h"

#include <QCoreApplication>
#include <algorithm>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringEncoder>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("Ubyport", text);
}

QString datum(const QDate &den)
{
    return den.toString(u"dd.MM.yyyy");
}

bool prazdne(const QString &text)
{
    return text.trimmed().isEmpty();
}

/** "Bratislava, Hlavná 1": the residence abroad as one field. */
QString bydliste(const Host &h)
{
    QStringList casti;
    for (const QString &cast : {h.mesto, h.ulice})
        if (!prazdne(cast))
            casti << cast.trimmed();
    return casti.join(QStringLiteral(", "));
}

/** A field of a line: its name for a refusal, and its value. */
struct Pole
{
    QString nazev;
    QString hodnota;
};

/**
 * Appends the fields to the line in Windows-1250, each fault to chyby.
 * A separator or a line break inside a value is refused, not replaced: the
 * police compare the names with the travel document, and a silently
 * altered name there is worse than a file not made. A character the code
 * page lacks is refused for the same reason (no transliteration).
 */
void zapis(QByteArray &radek, const QString &kdo, const std::vector<Pole> &pole, QStringList &chyby)
{
    for (std::size_t i = 0; i < pole.size(); ++i) {
        // The police's format leaves out trailing spaces.
        const QString hodnota = pole[i].hodnota.trimmed();
        if (i > 0)
            radek += '|';
        if (hodnota.contains(u'|'))
            chyby << tr("%1: %2 obsahuje znak „|“, který soubor používá jako oddělovač").arg(kdo, pole[i].nazev);
        else if (std::any_of(hodnota.cbegin(), hodnota.cend(), [](QChar c) { return c.unicode() < 0x20; }))
            chyby << tr("%1: %2 obsahuje konec řádku nebo jiný řídicí znak").arg(kdo, pole[i].nazev);
        QStringEncoder kodovani("windows-1250");
        const QByteArray bajty = kodovani(hodnota);
        if (!kodovani.isValid() || kodovani.hasError())
            chyby << tr("%1: %2 obsahuje znak, který nelze zapsat v kódování Windows-1250").arg(kdo, pole[i].nazev);
        radek += bajty;
    }
    radek += "\r\n";
}

QString ucelZnamy(const QString &kod)
{
    for (const auto &[k, nazev] : Hoste::ucely())
        if (k == kod)
            return nazev;
    return {};
}
} // namespace

bool HlaseniHosta::opraven() const
{
    return nahlaseno.isValid() && nahlasenyOtisk != Ubyport::otisk(*this);
}

namespace Ubyport {

QStringList coChybi(const HlaseniHosta &h, const QDate &dnes)
{
    QStringList chybi;
    const Host &g = h.host;
    if (prazdne(g.jmeno))
        chybi << tr("jméno");
    if (prazdne(g.prijmeni))
        chybi << tr("příjmení");
    if (!g.datum_narozeni.isValid())
        chybi << tr("datum narození");
    else if (g.datum_narozeni >= dnes)
        chybi << tr("datum narození (musí být v minulosti)");
    static const QRegularExpression kodZeme(QStringLiteral("^[A-Z]{3}$"));
    if (!kodZeme.match(g.statni_prislusnost).hasMatch())
        chybi << tr("státní příslušnost");
    if (prazdne(g.mesto))
        chybi << tr("obec bydliště v zahraničí");
    if (prazdne(g.doklad_cislo))
        chybi << tr("číslo cestovního dokladu");
    if (ucelZnamy(g.ucel).isEmpty())
        chybi << tr("účel pobytu");
    if (!h.prvniDen.isValid() || !h.posledniDen.isValid() || h.posledniDen < h.prvniDen)
        chybi << tr("dny pobytu");
    return chybi;
}

QStringList coChybiHotelu(const UdajeOHotelu &hotel)
{
    QStringList chybi;
    if (prazdne(hotel.idub))
        chybi << tr("IDUB");
    if (prazdne(hotel.zkratka))
        chybi << tr("zkratka ubytovatele");
    if (prazdne(hotel.zarizeni))
        chybi << tr("název zařízení");
    if (prazdne(hotel.obec))
        chybi << tr("obec");
    if (prazdne(hotel.psc))
        chybi << tr("PSČ");
    return chybi;
}

Soubor soubor(const UdajeOHotelu &hotel, const std::vector<HlaseniHosta> &hoste, const QDateTime &vytvoreno,
              const QDate &dnes)
{
    Soubor s;
    const QString zarizeni = tr("Údaje o hotelu");
    if (const QStringList chybi = coChybiHotelu(hotel); !chybi.isEmpty())
        s.chyby << tr("%1: chybí %2").arg(zarizeni, chybi.join(QStringLiteral(", ")));
    if (hoste.empty())
        s.chyby << tr("Není vybrán žádný host k nahlášení.");
    QString psc = hotel.psc;
    psc.remove(u' ');
    zapis(s.data, zarizeni,
          {{QStringLiteral("typ"), QStringLiteral("A")},
           {QStringLiteral("formát"), QStringLiteral("2")},
           {tr("IDUB"), hotel.idub},
           {tr("zkratka ubytovatele"), hotel.zkratka},
           {tr("název zařízení"), hotel.zarizeni},
           {tr("kontakt"), hotel.kontakt},
           {tr("okres"), hotel.okres},
           {tr("obec"), hotel.obec},
           {tr("část obce"), hotel.cast_obce},
           {tr("ulice"), hotel.ulice},
           {tr("číslo domovní"), hotel.cislo_domovni},
           {tr("číslo orientační"), hotel.cislo_orientacni},
           {tr("PSČ"), psc},
           {QString(), vytvoreno.toString(u"dd.MM.yyyy HH:mm:ss")},
           {QString(), QString()},
           {QString(), QString()}},
          s.chyby);
    for (const HlaseniHosta &h : hoste) {
        const Host &g = h.host;
        const QString kdo = tr("Host %1 (pokoj %2)").arg(g.celeJmeno(), h.cislo_pokoje);
        if (const QStringList chybi = coChybi(h, dnes); !chybi.isEmpty())
            s.chyby << tr("%1: chybí %2").arg(kdo, chybi.join(QStringLiteral(", ")));
        zapis(s.data, kdo,
              {{QString(), QStringLiteral("U")},
               {tr("první den"), datum(h.prvniDen)},
               {tr("poslední den"), datum(h.posledniDen)},
               {tr("příjmení"), g.prijmeni},
               {tr("jméno"), g.jmeno},
               {QString(), QString()},
               {tr("datum narození"), datum(g.datum_narozeni)},
               {QString(), QString()},
               {QString(), QString()},
               {tr("státní příslušnost"), g.statni_prislusnost},
               {tr("bydliště"), bydliste(g)},
               {tr("číslo cestovního dokladu"), g.doklad_cislo},
               {tr("číslo víza"), g.vizum},
               {tr("účel pobytu"), g.ucel},
               {QString(), QString()},
               {tr("poznámka"), QString()}},
              s.chyby);
    }
    if (!s.ok())
        s.data.clear();
    return s;
}

QString otisk(const HlaseniHosta &h)
{
    // The last day is left out: an early departure is no correction of the report.
    const Host &g = h.host;
    const QStringList pole{datum(h.prvniDen), g.prijmeni.trimmed(), g.jmeno.trimmed(), datum(g.datum_narozeni),
                           g.statni_prislusnost, bydliste(g), g.doklad_cislo.trimmed(), g.vizum.trimmed(), g.ucel};
    return QString::fromLatin1(
        QCryptographicHash::hash(pole.join(u'|').toUtf8(), QCryptographicHash::Sha1).toHex());
}

QDate velikonocniNedele(int rok)
{
    // The anonymous Gregorian computus (Meeus/Jones/Butcher).
    const int a = rok % 19, b = rok / 100, c = rok % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int mesic = (h + l - 7 * m + 114) / 31, den = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(rok, mesic, den);
}

bool jeSvatek(const QDate &den)
{
    static const QList<QPair<int, int>> pevne{{1, 1},  {5, 1},   {5, 8},   {7, 5},   {7, 6},  {9, 28},
                                              {10, 28}, {11, 17}, {12, 24}, {12, 25}, {12, 26}};
    if (pevne.contains({den.month(), den.day()}))
        return true;
    const QDate velikonoce = velikonocniNedele(den.year());
    return den == velikonoce.addDays(-2) || den == velikonoce.addDays(1);
}

bool jePracovniDen(const QDate &den)
{
    return den.dayOfWeek() <= 5 && !jeSvatek(den);
}

QDate termin(const QDate &prijezd)
{
    QDate den = prijezd;
    for (int pracovnich = 0; pracovnich < 3;)
        if (jePracovniDen(den = den.addDays(1)))
            ++pracovnich;
    return den;
}

bool poTerminu(const QDate &prijezd, const QDate &dnes)
{
    return dnes > termin(prijezd);
}

} // namespace Ubyport
