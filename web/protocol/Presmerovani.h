#pragma once

#include <QByteArray>
#include <QString>

/**
 * The reception listener's side of the road of a web reservation: the
 * browser's request, forwarded by the web site, and the redirect back.
 */
namespace Presmerovani {

/**
 * The value of the first "<nazev>=" anywhere in the text (even inside a
 * longer name), up to the next "&", space, CR or LF; empty when the name is
 * not there. Percent-encoding stays as it is.
 */
QString HodnotaParametru(const QString &text, const QString &nazev);

/**
 * The 302 reply sending the browser to "<skriptZpet>?<dotaz>", with a page
 * carrying the same link, in code page 1250. CR and LF never reach a header.
 */
QByteArray OdpovedPresmerovani(const QString &skriptZpet, const QString &dotaz);

/**
 * A return address the desk sends a browser to: an http or https URL with a
 * host and no control characters. Anything else (javascript:, data:, a
 * relative path, a raw NUL) would make the redirect a tool for others.
 */
bool jeAdresaNavratu(const QString &skriptZpet);

/** The plain page for a request whose return address is refused; no redirect. */
QByteArray OdpovedChybneAdresy();

} // namespace Presmerovani

/**
 * What the listener has received from the browser it serves, kept as it
 * came so that a pair split between two pieces of data is found whole.
 * Holds at most limit bytes.
 */
class PrijataData
{
public:
    static constexpr qsizetype limit = 64 * 1024;

    /** Appends a piece; false (and nothing kept) when the total would pass the limit. */
    bool pridej(const QByteArray &data);
    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    void vyprazdni();

    /** The request is complete: konec_dat=true and a reservation number came. */
    bool jeUplny() const;

private:
    QString m_text;
    qsizetype m_bytes = 0;
};
