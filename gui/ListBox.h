#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

/** List boxes and drop-down lists filled from the collections and read back by their lines' texts. */
namespace ListBox {

/** Clears the list box and adds the lines; nothing stays selected. */
void naplnit(QListWidget *box, const QStringList &lines);

/** Clears the drop-down list and adds the lines; none is selected and no change is signalled. */
void naplnit(QComboBox *box, const QStringList &lines);

/** Clears the list box or drop-down list and fills it with the collection's Vypis. */
template <class Box, class Kolekce>
void vypis(Box *box, const Kolekce &kolekce)
{
    QStringList lines;
    kolekce.Vypis(lines);
    naplnit(box, lines);
}

/** The texts of the selected lines, from the first line to the last. */
QStringList vybrane(const QListWidget *box);

/**
 * The rows of the selected lines, from the first to the last: the positions
 * in the collection the box was filled from, which identify the elements
 * (names repeat).
 */
QList<int> vybraneRadky(const QListWidget *box);

/** The row of the first selected line, or -1 when none is selected. */
int vybranyRadek(const QListWidget *box);

} // namespace ListBox
