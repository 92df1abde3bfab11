#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class DatabaseError;

/**
 * Every message box of the application goes through here, so that tests can
 * answer a box in advance instead of racing a modal window.
 */
namespace MessageBox {

struct Shown
{
    QString text;
    QString caption;
    QMessageBox::StandardButtons buttons;
    QString detail;
};

/** Shows a modal box and returns the button chosen (Cancel when closed). */
QMessageBox::StandardButton show(QWidget *parent, const QString &text, const QString &caption,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::Icon icon = QMessageBox::NoIcon,
                                 const QString &detail = QString());

/** The error box: caption "Chyba", one OK button. */
void chyba(QWidget *parent, const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon,
           const QString &detail = QString());
/**
 * The error box for a database error: what could not be done, then the
 * error's own sentence for the user; the database's words as the detail.
 */
void chybaDatabaze(QWidget *parent, const QString &coSeNepodarilo, const DatabaseError &e);
/** The warning box: caption "Varování"; returns the button chosen. */
QMessageBox::StandardButton varovani(QWidget *parent, const QString &text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok);

/** Tests: the next box is not shown but answered with this button. */
void setNextAnswer(QMessageBox::StandardButton answer);
/**
 * Tests: a box with no answer set in advance is not shown either but answered
 * with this button (NoButton: shown as usual), so a box nobody expected is
 * recorded in history() instead of blocking the test.
 */
void setDefaultAnswer(QMessageBox::StandardButton answer);
/** Tests: the boxes shown (or answered) so far. */
const QList<Shown> &history();
/** Tests: forgets the boxes shown and the answers not used yet. */
void clearHistory();

} // namespace MessageBox
