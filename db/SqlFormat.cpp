#include "db/SqlFormat.h"

#include <QStringList>
#include <iterator>

QString SqlFormat::text(const QString &value) const
{
    QString out;
    out.reserve(value.size() + 8);
    appendText(out, value);
    return out;
}

void SqlFormat::appendText(QString &out, QStringView value) const
{
    // The runs between characters to escape go in whole.
    const QChar *const begin = value.data();
    const QChar *const end = begin + value.size();
    const QChar *run = begin;
    for (const QChar *p = begin; p != end; ++p) {
        const char16_t c = p->unicode();
        if (m_noBackslashEscapes) {
            if (c != u'"')
                continue;
            out.append(run, p - run + 1);   // the quote itself, then once more
            run = p;
            continue;
        }
        QLatin1String escaped;
        switch (c) {
        case u'\\': escaped = QLatin1String("\\\\"); break;
        case u'"': escaped = QLatin1String("\\\""); break;
        case u'\'': escaped = QLatin1String("\\'"); break;
        case 0: escaped = QLatin1String("\\0"); break;
        case u'\r': escaped = QLatin1String("\\r"); break;
        case u'\n': escaped = QLatin1String("\\n"); break;
        case 0x1a: escaped = QLatin1String("\\Z"); break;
        default: continue;
        }
        out.append(run, p - run);
        out += escaped;
        run = p + 1;
    }
    out.append(run, end - run);
}

QString SqlFormat::integer(qint64 value)
{
    QString out;
    appendInteger(out, value);
    return out;
}

void SqlFormat::appendInteger(QString &out, qint64 value)
{
    char16_t digits[20];
    char16_t *p = std::end(digits);
    // The magnitude unsigned: the lowest qint64 has no positive counterpart.
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--p = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        out += u'-';
    out.append(reinterpret_cast<const QChar *>(p), std::end(digits) - p);
}

QString SqlFormat::date(const QDate &value)
{
    QString out;
    appendDate(out, value);
    return out;
}

void SqlFormat::appendDate(QString &out, const QDate &value)
{
    int year = 0, month = 0, day = 0;
    value.getDate(&year, &month, &day);
    if (!value.isValid() || year < 1 || year > 9999) {
        // Rare: whatever the calendar writes for these.
        out += value.toString(QStringLiteral("yyyy-MM-dd"));
        return;
    }
    const char16_t text[10] = {char16_t(u'0' + year / 1000),     char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10),  char16_t(u'0' + year % 10),
                               u'-',
                               char16_t(u'0' + month / 10),      char16_t(u'0' + month % 10),
                               u'-',
                               char16_t(u'0' + day / 10),        char16_t(u'0' + day % 10)};
    out.append(reinterpret_cast<const QChar *>(text), 10);
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
