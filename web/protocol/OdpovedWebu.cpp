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

RezervaceZWebu nactiRezervace(const OdpovedWebu &odpoved, const QDate &dnes)
{
    RezervaceZWebu out;
    out.pocet_rezervaci = odpoved.hodnota(QStringLiteral("pocet_rezervaci")).trimmed();
    const auto count = celeCislo(out.pocet_rezervaci);
    if (!count || *count < 0) {
        out.chyba = tr("Počet rezervací \"%1\" není platné číslo.").arg(out.pocet_rezervaci);
        return out;
    }

    const QDate nejdrive = dnes.addYears(-maxLetOdDneska);
    const QDate nejpozdeji = dnes.addYears(maxLetOdDneska);
    for (int i = 0; i < *count; ++i) {
        const QString n = QString::number(i);
        const auto value = [&](const char *name) { return odpoved.najdi(QLatin1String(name) + n); };
        const auto fail = [&](const QString &why) {
            out.chyba = tr("Rezervace %1: %2").arg(n, why);
            out.rezervace.clear();
            return out;
        };

        if (!value("rezervaceid"))
            return fail(tr("v odpovědi chybí, odpověď ohlašuje %1 rezervací.").arg(*count));
        WebRezervace r;
        r.rezervaceid = *value("rezervaceid");

        const QString typ = value("pokojid").value_or(QString());
        const auto typId = celeCislo(typ);
        if (!typId)
            return fail(tr("typ pokoje \"%1\" není celé číslo.").arg(typ));
        r.typ_pokoje_id = *typId;

        // A year far off would cost the desk nothing useful and the database an error.
        const QString od = value("datum_od").value_or(QString());
        const QString doKdy = value("datum_do").value_or(QString());
        r.od_kdy = datumZWebu(od);
        r.do_kdy = datumZWebu(doKdy);
        for (const auto &[datum, text] : {std::pair{r.od_kdy, od}, std::pair{r.do_kdy, doKdy}}) {
            if (!datum.isValid())
                return fail(tr("datum \"%1\" není platné datum.").arg(text));
            if (datum < nejdrive || datum > nejpozdeji)
                return fail(tr("datum \"%1\" je více než %2 let od dneška.").arg(text).arg(maxLetOdDneska));
        }
        if (r.od_kdy.daysTo(r.do_kdy) >= maxDnuPobytu)
            return fail(tr("pobyt od %1 do %2 je delší než rok.").arg(od, doKdy));

        // A point is the decimal separator, whatever the desk's regional settings.
        const QString cena = value("cena").value_or(QString());
        bool ok = false;
        r.cena = cena.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(r.cena))
            return fail(tr("cena \"%1\" není číslo.").arg(cena));

        r.jmeno = value("jmeno").value_or(QString());
        r.telefon = value("telefon").value_or(QString());
        r.email = value("email").value_or(QString());
        r.stat = value("stat").value_or(QString());
        out.rezervace.push_back(r);
    }
    return out;
}
