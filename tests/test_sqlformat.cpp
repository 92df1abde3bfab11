// How values are written into SQL text, without a server.

#include "db/SqlFormat.h"

#include <QtTest>
#include <clocale>
#include <limits>

class TestSqlFormat : public QObject
{
    Q_OBJECT

private slots:
    void price_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole number has no decimal part") << 1200.0 << "1200";
        QTest::newRow("half a crown") << 1200.5 << "1200.5";
        QTest::newRow("minus one") << -1.0 << "-1";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("binary fraction rounded at 15 digits") << 0.1 + 0.2 << "0.3";
        QTest::newRow("15 significant digits kept") << 1234567.12345678 << "1234567.12345678";
        QTest::newRow("more than 15 integer digits") << 1234567890123456.0 << "1.23456789012346e+15";
        QTest::newRow("0.00001 still fixed") << 0.00001 << "0.00001";
        QTest::newRow("0.00005 fixed") << 0.00005 << "0.00005";
        QTest::newRow("below 0.00001 scientific") << 0.000001 << "1e-06";
    }
    void price()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(SqlFormat::price(value), text);
    }

    void priceIgnoresCzechLocale()
    {
        // Czech writes a decimal comma; SQL needs the point.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        std::setlocale(LC_ALL, "cs_CZ.UTF-8");
        const QString written = SqlFormat::price(1200.5);
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(before);
        QCOMPARE(written, QStringLiteral("1200.5"));
    }

    void dateIgnoresTimeOfDay()
    {
        QCOMPARE(SqlFormat::date(QDateTime(QDate(2002, 9, 1), QTime(23, 59, 59))), QStringLiteral("2002-09-01"));
        QCOMPARE(SqlFormat::date(QDate(2002, 9, 1)), QStringLiteral("2002-09-01"));
        QCOMPARE(SqlFormat::quotedDate(QDate(999, 1, 2)), QStringLiteral("\"0999-01-02\""));
        QCOMPARE(SqlFormat::date(QDate()), QString());
    }

    void integer()
    {
        QCOMPARE(SqlFormat::integer(-1), QStringLiteral("-1"));
        QCOMPARE(SqlFormat::quotedInteger(2147483647), QStringLiteral("\"2147483647\""));
        QCOMPARE(SqlFormat::integer(std::numeric_limits<qint64>::min()), QStringLiteral("-9223372036854775808"));
    }

    void text_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("backslashEscapes");
        QTest::addColumn<QString>("noBackslashEscapes");
        QTest::newRow("plain Czech") << "Žluťoučký kůň" << "Žluťoučký kůň" << "Žluťoučký kůň";
        QTest::newRow("double quote") << "Hotel \"U Lípy\"" << "Hotel \\\"U Lípy\\\"" << "Hotel \"\"U Lípy\"\"";
        QTest::newRow("backslash") << "C:\\temp\\new" << "C:\\\\temp\\\\new" << "C:\\temp\\new";
        QTest::newRow("apostrophe") << "O'Brien" << "O\\'Brien" << "O'Brien";
        QTest::newRow("line breaks") << "a\r\nb" << "a\\r\\nb" << "a\r\nb";
        QTest::newRow("NUL and ^Z") << QString(QChar(0)) + QChar(0x1a) << "\\0\\Z" << QString(QChar(0)) + QChar(0x1a);
        QTest::newRow("escaped quote at the end") << "x\\" << "x\\\\" << "x\\";
    }
    void text()
    {
        QFETCH(QString, value);
        QFETCH(QString, backslashEscapes);
        QFETCH(QString, noBackslashEscapes);
        QCOMPARE(SqlFormat(false).text(value), backslashEscapes);
        QCOMPARE(SqlFormat(true).text(value), noBackslashEscapes);
    }
};

QTEST_APPLESS_MAIN(TestSqlFormat)
#include "test_sqlformat.moc"
