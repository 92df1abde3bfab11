#pragma once

// What the front-desk tests share: days counted from today, as the database
// stores them and as the desk's tooltips write them.

#include "TestDatabase.h"
#include "gui/MessageBox.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace RecepceTest {

/** Czech regional settings (the days and the decimal comma the desk shows), the test server, no box left waiting. */
inline void setUp()
{
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    TestDatabase::setUp();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

inline QDate den(int offset)
{
    return QDate::currentDate().addDays(offset);
}

/** "yyyy-mm-dd", as in SQL. */
inline QString sql(int offset)
{
    return den(offset).toString(Qt::ISODate);
}

/** Short weekday and the Czech short date with the year in full, as a tooltip writes a day. */
inline QString ukaz(int offset)
{
    return QLocale().toString(den(offset), QStringLiteral("ddd dd.MM.yyyy"));
}

} // namespace RecepceTest
