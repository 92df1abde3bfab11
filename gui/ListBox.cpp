#include "gui/ListBox.h"

namespace ListBox {

void naplnit(QListWidget *box, const QStringList &lines)
{
    box->clear();
    box->addItems(lines);
}

void naplnit(QComboBox *box, const QStringList &lines)
{
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(lines);
    box->setCurrentIndex(-1);
}

QStringList vybrane(const QListWidget *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        if (box->item(i)->isSelected())
            out << box->item(i)->text();
    return out;
}

QList<int> vybraneRadky(const QListWidget *box)
{
    QList<int> out;
    for (int i = 0; i < box->count(); ++i)
        if (box->item(i)->isSelected())
            out << i;
    return out;
}

int vybranyRadek(const QListWidget *box)
{
    const QList<int> radky = vybraneRadky(box);
    return radky.isEmpty() ? -1 : radky.first();
}

} // namespace ListBox
