#include "db/SqlFormat.h"

#include <QStringList>

QString SqlFormat::text(const QString &value) const
{
    QString out;
    out.reserve(value.size() + 8);
    if (m_noBackslashEscapes) {
        for (QChar c : value) {
            if (c == u'"')
                out += u'"';
            out += c;
        }
        return out;
    }
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'"': out += QLatin1String("\\\""); break;
        case u'\'': out += QLatin1String("\\'"); break;
        case 0: out += QLatin1String("\\0"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case 0x1a: out += QLatin1String("\\Z"); break;
        default: out += c;
        }
    }
    return out;
}

QString SqlFormat::integer(qint64 value)
{
    return QString::number(value);
}

QString SqlFormat::date(const QDate &value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd"));
}

QString SqlFormat::price(double value)
{
    // QString::number never uses the locale. Its 'g' form turns scientific
    // below 0.0001, one decade earlier than our rule (below 0.00001), so that
    // decade is written in fixed form by hand: 4 leading zeros + 15 digits.
    const double magnitude = value < 0 ? -value : value;
    if (magnitude >= 0.00001 && magnitude < 0.0001) {
        QString s = QString::number(value, 'f', 19);
        while (s.endsWith(u'0'))
            s.chop(1);
        return s;
    }
    return QString::number(value, 'g', 15);
}

QString SqlFormat::quotedIntegers(const QList<int> &values)
{
    QStringList out;
    out.reserve(values.size());
    for (int v : values)
        out << quotedInteger(v);
    return out.join(QStringLiteral(", "));
}
