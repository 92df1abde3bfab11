#pragma once

// What the GUI tests share: controls found by object name, a modal dialog
// driven from inside, list boxes clicked like a user does, message boxes
// answered through the seam.

#include "TestDatabase.h"
#include "gui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <type_traits>

/**
 * Declares `variable` as the control of that type and object name inside
 * `parent`; the test fails naming the control when there is none.
 */
#define CONTROL(Type, variable, parent, name)                                                      \
    auto *variable = (parent)->findChild<Type *>(QStringLiteral(name));                   \
    QVERIFY2(variable != nullptr, "no control " #Type " named " name)

namespace GuiTest {

/**
 * The control of that type and object name inside `parent`. A test cannot
 * go on without it: a missing one ends the program, naming the control.
 */
template <class Type>
Type *control(const QObject *parent, const QString &name)
{
    Type *found = parent->findChild<Type *>(name);
    if (!found)
        qFatal("no control %s named %s", Type::staticMetaObject.className(), qPrintable(name));
    return found;
}

/**
 * Opens a modal dialog with `open` (a menu item, a button, exec()) and runs
 * `act` inside it as soon as it is the active modal window. Whatever `act`
 * leaves open is closed with reject() afterwards, and a dialog of another
 * type (or none) within a few seconds fails the test instead of hanging it.
 * Calls nest: `act` may open a further dialog the same way.
 */
template <class Dialog>
void inModal(const std::function<void()> &open, const std::function<void(Dialog *)> &act)
{
    bool ran = false;
    QString other;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<Dialog *>(modal);
        if (dialog && dialog->isVisible()) {
            poll.stop();
            ran = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        } else if (waited.elapsed() > 5000) {
            poll.stop();
            if (modal) {
                other = modal->objectName();
                if (auto *d = qobject_cast<QDialog *>(modal))
                    d->reject();
                else
                    modal->close();
            }
        }
    });
    poll.start();
    open();
    // A menu item or button may open its dialog from the event loop: wait for that opening.
    QTRY_VERIFY_WITH_TIMEOUT(!poll.isActive(), 10000);
    QVERIFY2(ran, qPrintable(QStringLiteral("%1 was not opened%2")
                                 .arg(QLatin1String(Dialog::staticMetaObject.className()),
                                      other.isEmpty() ? QString() : QStringLiteral(" (%1 was)").arg(other))));
}

/** Opens the dialog itself modally and acts inside it. */
template <class Dialog>
void inModal(Dialog &dialog, const std::function<void(Dialog *)> &act)
{
    inModal<Dialog>([&dialog] { dialog.ukaz(); }, act);
}

/**
 * Makes `dir` the working directory with the two client attributes of the
 * new-client dialog (it reads its labels relative to it).
 */
inline void useClientLabelsIn(const QString &dir)
{
    QVERIFY(QDir::setCurrent(dir));
    QVERIFY(QDir().mkpath("text"));
    QFile labels("text/popis_polozek_klienta.txt");
    QVERIFY(labels.open(QIODevice::WriteOnly));
    labels.write("jmeno\tJmeno\ntelefon\tTelefon\n");
}

/** The test server for the program, and no box left waiting for an answer. */
inline void setUpDatabase()
{
    TestDatabase::setUp();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

/** Empty tables and no boxes remembered, before each test. */
inline void startClean()
{
    MessageBox::clearHistory();
    TestDatabase::clearTables();
}

inline void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void pressEnter(QWidget *widget)
{
    QTest::keyClick(widget, Qt::Key_Return);
}

/** Replaces an edit box's text as if typed (Czech letters too). */
inline void type(QWidget *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(edit, char(c.unicode()));
        else   // QTest maps only ASCII to keys
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

/** The lines of a list box, top to bottom. */
inline QStringList lines(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

/** The selected lines, top to bottom. */
inline QStringList selectedLines(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            out << list->item(i)->text();
    return out;
}

/** Clicks a line with the mouse; with Ctrl it is added to (or taken from) the selection. */
inline void clickLine(QListWidget *list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QListWidgetItem *item = list->item(row);
    QVERIFY2(item, qPrintable(QStringLiteral("%1 has no line %2").arg(list->objectName()).arg(row)));
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
}

/** Selects exactly these lines, as Ctrl+clicks would. */
inline void selectLines(QListWidget *list, const QList<int> &rows)
{
    list->clearSelection();
    for (int row : rows)
        clickLine(list, row, Qt::ControlModifier);
}

/** The boxes shown since the history was last cleared, as "text|caption". */
inline QStringList messages()
{
    QStringList out;
    for (const MessageBox::Shown &m : MessageBox::history())
        out << m.text + u'|' + m.caption;
    return out;
}

/** Leaves the dialog by "Storno", "close" (the title bar) or "Escape". */
inline void closeWithoutOk(QDialog *dialog, QAbstractButton *storno, const QString &how)
{
    if (how == QLatin1String("Storno"))
        click(storno);
    else if (how == QLatin1String("close"))
        dialog->close();
    else
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
}

/**
 * The one box so far is a database error: it says first what could not be
 * done, then the error's own Czech sentence (none when `veta` is empty),
 * with the database's words (containing `serverWords`) as the detail.
 */
inline void verifyDatabaseErrorShown(const QString &coSeNepodarilo, const QString &veta, const QString &serverWords)
{
    QCOMPARE(MessageBox::history().size(), 1);
    const MessageBox::Shown &box = MessageBox::history()[0];
    QCOMPARE(box.caption, QStringLiteral("Chyba"));
    if (veta.isEmpty())
        QCOMPARE(box.text, coSeNepodarilo);
    else
        QVERIFY2(box.text.startsWith(coSeNepodarilo + u'\n' + veta), qPrintable(box.text));
    QVERIFY2(box.detail.contains(serverWords), qPrintable(box.detail));
}

/** The one box so far is the error of a save that waited past the lock wait. */
inline void verifyLockTimeoutShown(const QString &coSeNepodarilo)
{
    verifyDatabaseErrorShown(coSeNepodarilo, QStringLiteral("Tabulky právě používá jiná recepce"),
                             QStringLiteral("Lock wait timeout"));
}

/** The lines of a drop-down list, top to bottom. */
inline QStringList lines(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

/** Chooses a line of a drop-down list as a user does: the list opened, the line taken with Enter. */
inline void chooseLine(QComboBox *box, int row)
{
    QVERIFY2(row < box->count(), qPrintable(QStringLiteral("%1 has no line %2").arg(box->objectName()).arg(row)));
    if (!box->view()->isVisible())
        box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    QVERIFY(!box->view()->isVisible());
}

} // namespace GuiTest
