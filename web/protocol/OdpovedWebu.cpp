#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

#include <QCoreApplication>
#include <cmath>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("OdpovedWebu", text);
}

std::optional<int> celeCislo(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}
} // namespace

bool OdpovedWebu::pridej(const QByteArray &data)
{
    return pridej(data.size(), Pozadavek::zCp1250(data));
}

bool OdpovedWebu::pridej(qsizetype bajtu, QStringView text)
{
    if (m_bytes + bajtu > limit)
        return false;
    m_bytes += bajtu;
    pridej(text);
    return true;
}

void OdpovedWebu::pridej(QStringView text)
{
    // CR and LF each end a line: the empty line between the two of a CR LF has no name and counts for nothing.
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (end == text.size()) {
            m_rozpracovany += text.sliced(pos);
            break;
        }
        // A line whole in this piece is read where it lies.
        if (m_rozpracovany.isEmpty()) {
            radek(text.sliced(pos, end - pos));
        } else {
            m_rozpracovany += text.sliced(pos, end - pos);
            radek(m_rozpracovany);
            m_rozpracovany.clear();
        }
        pos = end + 1;
    }
}

namespace {
// Names are nearly always lower-case ASCII already: those need no copy.
bool maleAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80 || (c >= u'A' && c <= u'Z'))
            return false;
    }
    return true;
}
} // namespace

void OdpovedWebu::radek(QStringView line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return;
    QString name = line.first(eq).toString();
    if (!maleAscii(name))
        name = std::move(name).toLower();
    // One look-up: a name met before keeps its first value.
    const qsizetype pred = m_hodnoty.size();
    QString &hodnota = m_hodnoty[name];
    if (m_hodnoty.size() != pred)
        hodnota = line.sliced(eq + 1).toString();
}

std::optional<QString> OdpovedWebu::najdi(const QString &nazev) const
{
    const QString name = maleAscii(nazev) ? nazev : nazev.toLower();
    const auto it = m_hodnoty.constFind(name);
    if (it != m_hodnoty.constEnd())
        return *it;
    // The text may end without a line break: its last line counts as it stands.
    const qsizetype eq = m_rozpracovany.indexOf(u'=');
    if (eq >= 0 && m_rozpracovany.left(eq).toLower() == name)
        return m_rozpracovany.mid(eq + 1);
    return std::nullopt;
}

QDate datumZWebu(const QString &text)
{
    const qsizetype first = text.indexOf(u'-');
    const qsizetype second = first < 0 ? -1 : text.indexOf(u'-', first + 1);
    if (second < 0)
        return QDate();
    const QStringView t(text);
    const auto year = celeCislo(t.first(first));
    const auto month = celeCislo(t.sliced(first + 1, second - first - 1));
    const auto day = celeCislo(t.sliced(second + 1));
    if (!year || !month || !day || *year < 1)
        return QDate();
    return QDate(*year, *month, *day);   // invalid for a day that does not exist
}

namespace {
// Why the reservation's values cannot be stored; empty when they can. The
// site's texts are quoted short: a message may go to a box.
// The days a stay may reach, from the import day.
struct Meze
{
    QDate dnes, nejdrive, nejpozdeji;
};

// The name of a reservation's field: one buffer for them all.
class Nazvy
{
public:
    explicit Nazvy(const OdpovedWebu &odpoved) : m_odpoved(odpoved) {}
    void proRezervaci(int i)
    {
        m_cislo.setNum(i);
    }
    const QString &cislo() const { return m_cislo; }
    std::optional<QString> najdi(QLatin1String pole)
    {
        m_nazev = pole;
        m_nazev += m_cislo;
        return m_odpoved.najdi(m_nazev);
    }
    QString hodnota(QLatin1String pole) { return najdi(pole).value_or(QString()); }

private:
    const OdpovedWebu &m_odpoved;
    QString m_cislo, m_nazev;
};

QString vadaRezervace(WebRezervace &r, Nazvy &nazvy, const Meze &meze)
{
    const auto value = [&](const char *name) { return nazvy.hodnota(QLatin1String(name)); };
    const auto ukaz = [](const QString &text) { return text.size() > 40 ? text.left(40) + QStringLiteral("…") : text; };
    if (r.rezervaceid.trimmed().isEmpty())
        return tr("web neuvedl identifikátor rezervace.");
    // A UTF-16 unit is at most three bytes of UTF-8: short ones need no count.
    if (r.rezervaceid.size() * 3 > maxDelkaId && r.rezervaceid.toUtf8().size() > maxDelkaId)
        return tr("identifikátor je delší než %1 bajtů.").arg(maxDelkaId);

    const QString typ = value("pokojid");
    const auto typId = celeCislo(typ);
    if (!typId)
        return tr("typ pokoje \"%1\" není celé číslo.").arg(ukaz(typ));
    r.typ_pokoje_id = *typId;

    // A year far off would cost the desk nothing useful and the database an error.
    const QString od = value("datum_od");
    const QString doKdy = value("datum_do");
    r.od_kdy = datumZWebu(od);
    r.do_kdy = datumZWebu(doKdy);
    for (const auto &[datum, text] : {std::pair{r.od_kdy, od}, std::pair{r.do_kdy, doKdy}}) {
        if (!datum.isValid())
            return tr("datum \"%1\" není platné datum.").arg(ukaz(text));
        if (datum < meze.nejdrive || datum > meze.nejpozdeji)
            return tr("datum \"%1\" je více než %2 let od dneška.").arg(ukaz(text), QString::number(maxLetOdDneska));
    }
    if (r.do_kdy < r.od_kdy)
        return tr("pobyt končí %1, dřív než začíná (%2).").arg(ukaz(doKdy), ukaz(od));
    if (r.od_kdy.daysTo(r.do_kdy) >= maxDnuPobytu)
        return tr("pobyt od %1 do %2 je delší než rok.").arg(ukaz(od), ukaz(doKdy));
    if (r.do_kdy < meze.dnes)
        return tr("pobyt skončil %1, před dneškem.").arg(ukaz(doKdy));

    // A point is the decimal separator, whatever the desk's regional settings.
    const QString cena = value("cena");
    bool ok = false;
    r.cena = cena.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(r.cena))
        return tr("cena \"%1\" není číslo.").arg(ukaz(cena));
    if (r.cena < 0)
        return tr("cena \"%1\" je záporná.").arg(ukaz(cena));
    return QString();
}
} // namespace

RezervaceZWebu nactiRezervace(const OdpovedWebu &odpoved, const QDate &dnes)
{
    RezervaceZWebu out;
    out.pocet_rezervaci = odpoved.hodnota(QStringLiteral("pocet_rezervaci")).trimmed();
    const auto count = celeCislo(out.pocet_rezervaci);
    if (!count || *count < 0) {
        out.chyba = tr("Počet rezervací \"%1\" není platné číslo.").arg(out.pocet_rezervaci);
        return out;
    }

    const Meze meze{dnes, dnes.addYears(-maxLetOdDneska), dnes.addYears(maxLetOdDneska)};
    Nazvy nazvy(odpoved);
    for (int i = 0; i < *count; ++i) {
        nazvy.proRezervaci(i);
        // Without its identifier a reservation cannot even be answered: the reply is broken.
        const auto id = nazvy.najdi(QLatin1String("rezervaceid"));
        if (!id) {
            out.chyba = tr("Rezervace %1: v odpovědi chybí, odpověď ohlašuje %2 rezervací.").arg(nazvy.cislo()).arg(*count);
            out.rezervace.clear();
            return out;
        }
        WebRezervace r;
        r.rezervaceid = *id;
        r.jmeno = nazvy.hodnota(QLatin1String("jmeno"));
        r.telefon = nazvy.hodnota(QLatin1String("telefon"));
        r.email = nazvy.hodnota(QLatin1String("email"));
        r.stat = nazvy.hodnota(QLatin1String("stat"));
        r.chyba = vadaRezervace(r, nazvy, meze);
        out.rezervace.push_back(std::move(r));
    }
    return out;
}
