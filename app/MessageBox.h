#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

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
};

/** Shows a modal box and returns the button chosen (Cancel when closed). */
QMessageBox::StandardButton show(QWidget *parent, const QString &text, const QString &caption,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::Icon icon = QMessageBox::NoIcon,
                                 const QString &detail = QString());

/** Tests: the next box is not shown but answered with this button. */
void setNextAnswer(QMessageBox::StandardButton answer);
/** Tests: the boxes shown (or answered) so far. */
const QList<Shown> &history();
void clearHistory();

} // namespace MessageBox
