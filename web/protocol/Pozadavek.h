#pragma once

#include <QByteArray>
#include <QString>

/**
 * What the desk sends to the web site's scripts: form bodies and the POST
 * requests that carry them. Texts travel in code page 1250.
 */
namespace Pozadavek {

/** The text in code page 1250; a character the code page lacks becomes '?'. */
QByteArray doCp1250(const QString &text);
QString zCp1250(const QByteArray &bytes);

/**
 * A value for a form body: "&", "=", "+", "%" and control characters are
 * percent-encoded, everything else stays as it is (spaces and national
 * characters included), so ordinary values go unchanged.
 */
QString hodnota(const QString &value);

/** "id=<id>&heslo=<heslo>": every body starts so. */
QString spolecnyZacatek(const QString &id, const QString &heslo);

/**
 * The POST of a script in the directory, for the host as typed: LF line
 * ends, Content-Length counting the body's bytes, nothing after the body.
 */
QByteArray SestavPozadavek(const QString &adresar, const QString &adresa, const QString &skript,
                           const QString &telo);

/** Where the web server listens. */
struct CilServeru
{
    QString host;
    quint16 port = 80;
    bool platny = false;
};

/**
 * "host" or "host:port" (an IPv6 address in brackets when a port follows);
 * port 80 when none is given. An empty host or a bad port is not valid.
 */
CilServeru rozeberAdresu(const QString &adresa);

} // namespace Pozadavek
