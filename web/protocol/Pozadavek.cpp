#include "web/protocol/Pozadavek.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace Pozadavek {

namespace {
const char *const codePage = "windows-1250";
}

QByteArray doCp1250(const QString &text)
{
    QStringEncoder encoder(codePage);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;

    // Rare: something outside the code page. One code point at a time, so
    // that each one missing becomes a single '?'.
    bytes.clear();
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder one(codePage);
        const QByteArray b = one.encode(QStringView(text).mid(i, length));
        bytes += one.hasError() ? QByteArray("?") : b;
        i += length - 1;
    }
    return bytes;
}

QString zCp1250(const QByteArray &bytes)
{
    QStringDecoder decoder(codePage);
    return decoder.decode(bytes);
}

QString hodnota(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'&' || u == u'=' || u == u'+' || u == u'%' || u < 0x20 || u == 0x7f)
            out += u'%' + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

QString spolecnyZacatek(const QString &id, const QString &heslo)
{
    return QStringLiteral("id=") + hodnota(id) + QStringLiteral("&heslo=") + hodnota(heslo);
}

QByteArray SestavPozadavek(const QString &adresar, const QString &adresa, const QString &skript,
                           const QString &telo)
{
    const QByteArray body = doCp1250(telo);
    const QString header = QStringLiteral("POST ") + adresar + u'/' + skript + QStringLiteral(" HTTP/1.1\n")
                           + QStringLiteral("Accept: text/html, text/plain\n"
                                            "Content-Type: application/x-www-form-urlencoded\n"
                                            "User-Agent: Vitrana.exe version " VITRANA_VERSION "\n")
                           + QStringLiteral("Host: ") + adresa + u'\n'
                           + QStringLiteral("Content-Length: ") + QString::number(body.size()) + u'\n'
                           + QStringLiteral("Connection: Keep-Alive\n"
                                            "Cache-Control: no-cache\n"
                                            "\n");
    return doCp1250(header) + body;
}

CilServeru rozeberAdresu(const QString &adresa)
{
    CilServeru cil;
    QString host = adresa.trimmed();
    QString port;
    bool hasPort = false;
    if (host.startsWith(u'[')) {
        const qsizetype end = host.indexOf(u']');
        if (end < 0)
            return cil;
        const QString rest = host.mid(end + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':'))
                return cil;
            port = rest.mid(1);
            hasPort = true;
        }
        host = host.mid(1, end - 1);
    } else if (host.count(u':') == 1) {
        // Several colons without brackets are an IPv6 address alone.
        port = host.section(u':', 1);
        host = host.section(u':', 0, 0);
        hasPort = true;
    }
    if (hasPort) {
        bool ok = !port.isEmpty() && port.size() <= 5
                  && std::all_of(port.begin(), port.end(), [](QChar c) { return c.isDigit(); });
        const uint number = ok ? port.toUInt() : 0;
        if (number < 1 || number > 65535)
            return cil;
        cil.port = quint16(number);
    }
    cil.host = host;
    cil.platny = !host.isEmpty();
    return cil;
}

} // namespace Pozadavek
