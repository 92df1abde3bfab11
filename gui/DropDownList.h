#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <functional>

class QComboBox;

/** Drop-down lists a receptionist works with from the keyboard. */
namespace DropDownList {

/** Lines that find themselves: long lists keep their search keys precomputed. */
class SearchableLines : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    /** The rows, ascending, whose search key contains the key (a searchKey already). */
    virtual QList<int> rowsContaining(const QString &key) const = 0;
};

/**
 * Shows the lines in the box and lets the user find a line by any part of
 * it. The box never measures its lines (a hundred thousand of them would
 * take long): it is as wide as its place, its list's lines as high as the
 * first. The box becomes editable:
 * what is typed (into the box or into its open list) shows, below the box,
 * the lines that contain it, whatever the case and diacritics; Enter takes
 * the only line shown, or the one moved to with the arrows. Taking a line
 * selects its row in the box, as choosing it from the box's own list does
 * (lines are identities, a name may repeat). The box keeps its lines and
 * their order; when editing ends the box shows its selected line again, so
 * the text never stands for another line than the selected one.
 */
void enableSearch(QComboBox *box, SearchableLines *lines);

/**
 * Replaces the box's lines: `reset` changes them between the model's
 * begin/endResetModel. No line is selected afterwards, and the lines are
 * not searched for the line the box selects on the way.
 */
void resetLines(QComboBox *box, const std::function<void()> &reset);

/**
 * Drops the box's list down, with the focus in the box, as soon as the
 * box's window is the active window (it asks to be activated): a list opened
 * earlier would keep the keys from the window and leave the previous window
 * active once it closes. Nothing drops down when the window is hidden first.
 */
void openWhenActive(QComboBox *box);

} // namespace DropDownList
