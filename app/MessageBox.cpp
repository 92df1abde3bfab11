#include "app/MessageBox.h"

#include <QQueue>

namespace MessageBox {

namespace {
QQueue<QMessageBox::StandardButton> answers;
QList<Shown> shown;
} // namespace

QMessageBox::StandardButton show(QWidget *parent, const QString &text, const QString &caption,
                                 QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                 const QString &detail)
{
    shown.append({text, caption, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();

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

void setNextAnswer(QMessageBox::StandardButton answer)
{
    answers.enqueue(answer);
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
