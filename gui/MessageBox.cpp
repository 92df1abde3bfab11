#include "gui/MessageBox.h"

#include "db/DatabaseError.h"

#include <QCoreApplication>
#include <QQueue>

namespace MessageBox {

namespace {
QQueue<QMessageBox::StandardButton> answers;
QMessageBox::StandardButton defaultAnswer = QMessageBox::NoButton;
QList<Shown> shown;
} // namespace

QMessageBox::StandardButton show(QWidget *parent, const QString &text, const QString &caption,
                                 QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                 const QString &detail)
{
    shown.append({text, caption, buttons, detail});
    if (!answers.isEmpty())
        return answers.dequeue();
    if (defaultAnswer != QMessageBox::NoButton)
        return defaultAnswer;

    QMessageBox box(icon, caption, text, buttons, parent);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    if (buttons & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (box.clickedButton() == nullptr)
        return QMessageBox::Cancel;
    return static_cast<QMessageBox::StandardButton>(answer);
}

void chyba(QWidget *parent, const QString &text, QMessageBox::Icon icon, const QString &detail)
{
    show(parent, text, QCoreApplication::translate("MessageBox", "Chyba"), QMessageBox::Ok, icon, detail);
}

void chybaDatabaze(QWidget *parent, const QString &coSeNepodarilo, const DatabaseError &e)
{
    const QString text = e.veta().isEmpty() ? coSeNepodarilo : coSeNepodarilo + u'\n' + e.veta();
    chyba(parent, text, QMessageBox::Critical, e.detail());
}

QMessageBox::StandardButton varovani(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons)
{
    return show(parent, text, QCoreApplication::translate("MessageBox", "Varování"), buttons);
}

void setNextAnswer(QMessageBox::StandardButton answer)
{
    answers.enqueue(answer);
}

void setDefaultAnswer(QMessageBox::StandardButton answer)
{
    defaultAnswer = answer;
}

const QList<Shown> &history()
{
    return shown;
}

void clearHistory()
{
    shown.clear();
    answers.clear();
}

} // namespace MessageBox
