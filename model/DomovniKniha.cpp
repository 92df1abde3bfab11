#include "model/DomovniKniha.h"
#include "model/Historie.h"
#include "model/Zeme.h"

#include "db/SqlKnihy.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <algorithm>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("DomovniKniha", text);
}

QDateTime cas(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODate);
}

QString casText(const QDateTime &kdy)
{
    return Historie::datum(kdy.date()) + u' ' + kdy.toString(u"H:mm");
}

QString adresa(const Host &h)
{
    QStringList casti;
    for (const QString &s : {h.ulice.trimmed(), (h.psc.trimmed() + u' ' + h.mesto.trimmed()).trimmed(),
                             Zeme::nazev(h.stat)})
        if (!s.isEmpty())
            casti << s;
    return casti.join(QStringLiteral(", "));
}
} // namespace

namespace DomovniKniha {

QString ucel(const QString &kod)
{
    for (const auto &[k, nazev] : Hoste::ucely())
        if (k == kod)
            return nazev;
    return kod;
}

std::vector<ZapisDomovniKnihy> nacti(TMojeQuery &q, const QDate &od, const QDate &doKdy, const QDate &dnes)
{
    std::vector<ZapisDomovniKnihy> out;
    q.setSql(SqlKnihy::selectForeigners(od, doKdy));
    for (q.open(); !q.eof(); q.next()) {
        ZapisDomovniKnihy z;
        z.host = Hoste::zRadku(q);
        z.cislo_pokoje = q.text(QStringLiteral("cislo_pokoje"));
        z.prijezd = cas(q.text(QStringLiteral("prijezd")));
        z.prvniDen = q.date(QStringLiteral("od_kdy"));
        z.posledniDen = q.date(QStringLiteral("do_kdy")).addDays(1);
        z.opraveno = cas(q.text(QStringLiteral("opraveno")));
        z.opravil = q.text(QStringLiteral("opravil"));
        z.chybi = Hoste::coChybi(z.host, dnes);
        const auto &ucely = Hoste::ucely();
        if (std::none_of(ucely.begin(), ucely.end(), [&](const auto &u) { return u.first == z.host.ucel; }))
            z.chybi << tr("účel pobytu");
        out.push_back(std::move(z));
    }
    // Incomplete entries on top, so that none is overlooked; the order of arrival kept within each part.
    std::stable_partition(out.begin(), out.end(), [](const ZapisDomovniKnihy &z) { return !z.chybi.isEmpty(); });
    return out;
}

QString mistoPobytu(const UdajeOHotelu &hotel)
{
    QString cislo = hotel.cislo_domovni.trimmed();
    if (!hotel.cislo_orientacni.trimmed().isEmpty())
        cislo += u'/' + hotel.cislo_orientacni.trimmed();
    const QString ulice = (hotel.ulice.trimmed() + u' ' + cislo).trimmed();
    QStringList casti;
    for (const QString &s : {hotel.zarizeni.trimmed(), ulice, (hotel.psc.trimmed() + u' ' + hotel.obec.trimmed()).trimmed()})
        if (!s.isEmpty())
            casti << s;
    return casti.join(QStringLiteral(", "));
}

QStringList sloupce()
{
    return {tr("Příjezd"),         tr("Jméno a příjmení"), tr("Datum narození"), tr("Státní příslušnost"),
            tr("Bydliště v cizině"), tr("Cestovní doklad"), tr("Vízum"),         tr("Účel pobytu"),
            tr("Pokoj"),            tr("První den"),        tr("Poslední den"),  tr("Délka (nocí)"),
            tr("Poznámka")};
}

QStringList bunky(const ZapisDomovniKnihy &z)
{
    QStringList poznamka;
    if (!z.chybi.isEmpty())
        poznamka << tr("chybí %1").arg(z.chybi.join(QStringLiteral(", ")));
    if (z.opraveno.isValid())
        poznamka << tr("opraveno %1 (%2)").arg(casText(z.opraveno), z.opravil);
    const Host &h = z.host;
    return {casText(z.prijezd),
            (h.jmeno.trimmed() + u' ' + h.prijmeni.trimmed()).trimmed(),
            h.datum_narozeni.isValid() ? Historie::datum(h.datum_narozeni) : QString(),
            Zeme::nazev(h.statni_prislusnost),
            adresa(h),
            h.doklad_cislo,
            h.vizum,
            ucel(h.ucel),
            z.cislo_pokoje,
            Historie::datum(z.prvniDen),
            Historie::datum(z.posledniDen),
            QString::number(z.delka()),
            poznamka.join(QStringLiteral("; "))};
}

QString html(const UdajeOHotelu &hotel, const std::vector<ZapisDomovniKnihy> &zapisy, const QDate &od,
             const QDate &doKdy)
{
    QString h = QStringLiteral("<h3>%1</h3><p>%2<br>%3</p>")
                    .arg(tr("Domovní kniha – cizinci").toHtmlEscaped(),
                         tr("Období příjezdů: %1 – %2").arg(Historie::datum(od), Historie::datum(doKdy)).toHtmlEscaped(),
                         tr("Místo pobytu: %1").arg(mistoPobytu(hotel)).toHtmlEscaped());
    h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><thead><tr>");
    for (const QString &s : sloupce())
        h += QStringLiteral("<th>%1</th>").arg(s.toHtmlEscaped());
    h += QStringLiteral("</tr></thead><tbody>");
    for (const ZapisDomovniKnihy &z : zapisy) {
        // Red on paper as on screen; the note column says what is missing in words.
        const QString td = z.chybi.isEmpty() ? QStringLiteral("<td>") : QStringLiteral("<td style=\"color:#c00000\">");
        h += QStringLiteral("<tr>");
        for (const QString &s : bunky(z))
            h += td + s.toHtmlEscaped() + QStringLiteral("</td>");
        h += QStringLiteral("</tr>");
    }
    h += QStringLiteral("</tbody></table>");
    if (zapisy.empty())
        h += QStringLiteral("<p>%1</p>").arg(tr("V tomto období nebyl ubytován žádný cizinec.").toHtmlEscaped());
    return h;
}

} // namespace DomovniKniha
