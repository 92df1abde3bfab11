#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

/**
 * Writes values into SQL text. Every value goes between double quotes that
 * the statement's literal pieces supply; these functions give the text
 * between them.
 *
 * Text values are escaped for the connection they are sent on: with
 * backslash escapes (the server's default) \ " ' NUL CR LF and ^Z are
 * backslash-escaped; under NO_BACKSLASH_ESCAPES a backslash is an ordinary
 * character and only the double quote is doubled.
 */
class SqlFormat
{
public:
    explicit SqlFormat(bool noBackslashEscapes = false)
        : m_noBackslashEscapes(noBackslashEscapes) {}

    bool noBackslashEscapes() const { return m_noBackslashEscapes; }

    /** Text for a value inside "...". */
    QString text(const QString &value) const;

    /** Decimal digits, a minus sign for negatives. */
    static QString integer(qint64 value);
    /** "yyyy-mm-dd"; the time of day is ignored. */
    static QString date(const QDate &value);
    static QString date(const QDateTime &value) { return date(value.date()); }
    /**
     * General number form with at most 15 significant digits and a point,
     * whatever the locale: 1200 -> 1200, 1200.5 -> 1200.5, -1 -> -1.
     */
    static QString price(double value);

    /** The same, with the double quotes around. */
    QString quotedText(const QString &value) const { return u'"' + text(value) + u'"'; }
    static QString quotedInteger(qint64 value) { return u'"' + integer(value) + u'"'; }
    static QString quotedDate(const QDate &value) { return u'"' + date(value) + u'"'; }
    static QString quotedPrice(double value) { return u'"' + price(value) + u'"'; }
    /** Quoted integers joined by ", ", for IN (...). */
    static QString quotedIntegers(const QList<int> &values);

    /**
     * The same texts written onto the end of a statement being built, so
     * that a statement of thousands of rows is one buffer, not a string
     * per value.
     */
    void appendText(QString &out, QStringView value) const;
    static void appendInteger(QString &out, qint64 value);
    static void appendDate(QString &out, const QDate &value);
    void appendQuotedText(QString &out, QStringView value) const
    {
        out += u'"';
        appendText(out, value);
        out += u'"';
    }
    static void appendQuotedInteger(QString &out, qint64 value)
    {
        out += u'"';
        appendInteger(out, value);
        out += u'"';
    }
    static void appendQuotedDate(QString &out, const QDate &value)
    {
        out += u'"';
        appendDate(out, value);
        out += u'"';
    }

private:
    bool m_noBackslashEscapes;
};
