#include "web/protocol/Presmerovani.h"
#include "web/protocol/Pozadavek.h"

#include <QCoreApplication>

namespace Presmerovani {

QString HodnotaParametru(const QString &text, const QString &nazev)
{
    const QString key = nazev + u'=';
    const qsizetype at = text.indexOf(key);
    if (at < 0)
        return QString();
    const qsizetype start = at + key.size();
    qsizetype end = start;
    while (end < text.size()) {
        const QChar c = text[end];
        if (c == u'&' || c == u' ' || c == u'\r' || c == u'\n')
            break;
        ++end;
    }
    return text.mid(start, end - start);
}

namespace {
QString withoutLineBreaks(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

// Inside the page's attribute a quote or an angle bracket would end it.
QString forAttribute(QString text)
{
    text.replace(u'"', QLatin1String("&quot;"));
    text.replace(u'<', QLatin1String("&lt;"));
    text.replace(u'>', QLatin1String("&gt;"));
    return text;
}
} // namespace

QByteArray OdpovedPresmerovani(const QString &skriptZpet, const QString &dotaz)
{
    const QString cil = withoutLineBreaks(skriptZpet) + u'?' + withoutLineBreaks(dotaz);
    const QString text = QStringLiteral("HTTP/1.1 302 Moved Temporarily\n"
                                        "Connection: close\n"
                                        "Content-type: text/html\n"
                                        "Expires: Thu, 19 Nov 1981 08:52:00 GMT\n"
                                        "Cache-Control: no-store, no-cache\n"
                                        "Pragma: no-cache\n")
                         + QStringLiteral("Location: ") + cil + u'\n'
                         + QStringLiteral("\n"
                                          "<html>\n"
                                          "<head>\n"
                                          "<title>Přesměrování</title>\n"
                                          "</head>\n"
                                          "<body>\n"
                                          "\tPokud nebudete automaticky přesměrováni, pokračujte prosím tímto odkazem:<br>\n")
                         + QStringLiteral("\t<a href=\"") + forAttribute(cil) + QStringLiteral("\">Přesměrování</a>\n")
                         + QStringLiteral("</body>\n"
                                          "</html>\n");
    return Pozadavek::doCp1250(text);
}

bool jeAdresaNavratu(const QString &skriptZpet)
{
    for (const QChar c : skriptZpet)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    qsizetype host = -1;
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://")})
        if (skriptZpet.startsWith(scheme, Qt::CaseInsensitive))
            host = scheme.size();
    if (host < 0 || host >= skriptZpet.size())
        return false;
    const QChar first = skriptZpet[host];
    return first != u'/' && first != u'?' && first != u'#' && first != u'\\';
}

QByteArray OdpovedChybneAdresy()
{
    const QString text = QStringLiteral("HTTP/1.1 400 Bad Request\n"
                                        "Connection: close\n"
                                        "Content-type: text/html\n"
                                        "Cache-Control: no-store, no-cache\n"
                                        "\n"
                                        "<html>\n"
                                        "<head>\n"
                                        "<title>Chyba</title>\n"
                                        "</head>\n"
                                        "<body>\n")
                         + u'\t' + QCoreApplication::translate("Presmerovani", "Adresa pro návrat na web není platná.")
                         + QStringLiteral("\n"
                                          "</body>\n"
                                          "</html>\n");
    return Pozadavek::doCp1250(text);
}

} // namespace Presmerovani

bool PrijataData::pridej(const QByteArray &data)
{
    if (m_bytes + data.size() > limit)
        return false;
    m_bytes += data.size();
    m_text += Pozadavek::zCp1250(data);
    return true;
}

void PrijataData::vyprazdni()
{
    m_text.clear();
    m_bytes = 0;
}

bool PrijataData::jeUplny() const
{
    return m_text.contains(QLatin1String("konec_dat=true")) && m_text.contains(QLatin1String("cislo_rezervace="));
}
