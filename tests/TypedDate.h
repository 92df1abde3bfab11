#pragma once

// Dates typed into a date picker as a user types them: the picker reached
// by Tab (its first section selected), digits typed over the selected
// section, Tab and the arrows as keys.

#include <QApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace GuiTest {

/**
 * Types into the picker: each key is "Tab", "Backtab", "Up" or "Down", or
 * text typed character by character ("15", "1.2.2027").
 */
inline void typeDate(QDateTimeEdit *picker, const QStringList &keys)
{
    picker->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), picker);
    static const QHash<QString, Qt::Key> named{{QStringLiteral("Tab"), Qt::Key_Tab},
                                               {QStringLiteral("Backtab"), Qt::Key_Backtab},
                                               {QStringLiteral("Up"), Qt::Key_Up},
                                               {QStringLiteral("Down"), Qt::Key_Down}};
    for (const QString &key : keys) {
        // Keys go where the keyboard sends them: to the widget that has the focus.
        if (named.contains(key))
            QTest::keyClick(QApplication::focusWidget(), named.value(key));
        else
            QTest::keyClicks(QApplication::focusWidget(), key);
    }
}

/** The date as the picker's edit field shows it. */
inline QString editedText(const QDateTimeEdit *picker)
{
    return picker->findChild<QLineEdit *>()->text();
}

/**
 * The long date shown beside the edited one names the weekday of `date`
 * and its year.
 */
inline void verifyLongDate(const QDateTimeEdit *picker, const QDate &date)
{
    const auto *label = picker->findChild<QLabel *>(QStringLiteral("LongDateLabel"));
    QVERIFY2(label && label->isVisibleTo(picker), "no long date beside the edited one");
    const QLocale locale = picker->locale();
    QVERIFY2(label->text().startsWith(locale.dayName(date.dayOfWeek(), QLocale::ShortFormat))
                 && label->text().contains(QString::number(date.year())),
             qPrintable(label->text() + QStringLiteral(" is not ") + locale.toString(date, QLocale::LongFormat)));
}

} // namespace GuiTest
