#include "web/protocol/OdpovedWebu.h"

#include <QCoreApplication>
#include <QRegularExpression>
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

OdpovedWebu::OdpovedWebu(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = text.split(lineEnd);
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString name = line.left(eq).toLower();
        if (!m_hodnoty.contains(name))
            m_hodnoty.insert(name, line.mid(eq + 1));
    }
}

std::optional<QString> OdpovedWebu::najdi(const QString &nazev) const
{
    const auto it = m_hodnoty.constFind(nazev.toLower());
    if (it == m_hodnoty.constEnd())
        return std::nullopt;
    return *it;
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

RezervaceZWebu nactiRezervace(const OdpovedWebu &odpoved)
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

        const QString od = value("datum_od").value_or(QString());
        const QString doKdy = value("datum_do").value_or(QString());
        r.od_kdy = datumZWebu(od);
        r.do_kdy = datumZWebu(doKdy);
        if (!r.od_kdy.isValid())
            return fail(tr("datum \"%1\" není platné datum.").arg(od));
        if (!r.do_kdy.isValid())
            return fail(tr("datum \"%1\" není platné datum.").arg(doKdy));

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
