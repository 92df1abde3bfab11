#include "web/protocol/OdpovedWebu.h"
#include "web/protocol/Pozadavek.h"

#include <QCoreApplication>
#include <cmath>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("OdpovedWebu", text);
}

std::optional<int> celeCislo(const QString &text)
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
        m_rozpracovany += text.mid(pos, end - pos);
        if (end == text.size())
            break;
        radek(m_rozpracovany);
        m_rozpracovany.clear();
        pos = end + 1;
    }
}

void OdpovedWebu::radek(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return;
    const QString name = line.left(eq).toLower();
    if (!m_hodnoty.contains(name))
        m_hodnoty.insert(name, line.mid(eq + 1));
}

std::optional<QString> OdpovedWebu::najdi(const QString &nazev) const
{
    const QString name = nazev.toLower();
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
    const auto year = celeCislo(text.left(first));
    const auto month = celeCislo(text.mid(first + 1, second - first - 1));
    const auto day = celeCislo(text.mid(second + 1));
    if (!year || !month || !day || *year < 1)
        return QDate();
    return QDate(*year, *month, *day);   // invalid for a day that does not exist
}

namespace {
// Why the reservation's values cannot be stored; empty when they can. The
// site's texts are quoted short: a message may go to a box.
QString vadaRezervace(WebRezervace &r, const OdpovedWebu &odpoved, const QString &n, const QDate &dnes)
{
    const auto value = [&](const char *name) { return odpoved.hodnota(QLatin1String(name) + n); };
    const auto ukaz = [](const QString &text) { return text.size() > 40 ? text.left(40) + QStringLiteral("…") : text; };
    if (r.rezervaceid.trimmed().isEmpty())
        return tr("web neuvedl identifikátor rezervace.");
    if (r.rezervaceid.toUtf8().size() > maxDelkaId)
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
    const QDate nejdrive = dnes.addYears(-maxLetOdDneska);
    const QDate nejpozdeji = dnes.addYears(maxLetOdDneska);
    for (const auto &[datum, text] : {std::pair{r.od_kdy, od}, std::pair{r.do_kdy, doKdy}}) {
        if (!datum.isValid())
            return tr("datum \"%1\" není platné datum.").arg(ukaz(text));
        if (datum < nejdrive || datum > nejpozdeji)
            return tr("datum \"%1\" je více než %2 let od dneška.").arg(ukaz(text), QString::number(maxLetOdDneska));
    }
    if (r.do_kdy < r.od_kdy)
        return tr("pobyt končí %1, dřív než začíná (%2).").arg(ukaz(doKdy), ukaz(od));
    if (r.od_kdy.daysTo(r.do_kdy) >= maxDnuPobytu)
        return tr("pobyt od %1 do %2 je delší než rok.").arg(ukaz(od), ukaz(doKdy));
    if (r.do_kdy < dnes)
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

    for (int i = 0; i < *count; ++i) {
        const QString n = QString::number(i);
        // Without its identifier a reservation cannot even be answered: the reply is broken.
        const auto id = odpoved.najdi(QStringLiteral("rezervaceid") + n);
        if (!id) {
            out.chyba = tr("Rezervace %1: v odpovědi chybí, odpověď ohlašuje %2 rezervací.").arg(n).arg(*count);
            out.rezervace.clear();
            return out;
        }
        WebRezervace r;
        r.rezervaceid = *id;
        r.jmeno = odpoved.hodnota(QStringLiteral("jmeno") + n);
        r.telefon = odpoved.hodnota(QStringLiteral("telefon") + n);
        r.email = odpoved.hodnota(QStringLiteral("email") + n);
        r.stat = odpoved.hodnota(QStringLiteral("stat") + n);
        r.chyba = vadaRezervace(r, odpoved, n, dnes);
        out.rezervace.push_back(r);
    }
    return out;
}
