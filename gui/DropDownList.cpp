#include "gui/DropDownList.h"
#include "model/Klienti.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QAbstractProxyModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <algorithm>

namespace {

const char *const openerName = "DropDownList::openWhenActive";

/**
 * The lines that contain the typed text, in the lines' order: a proxy of
 * the box's own lines, so the box maps a line taken here to its own row.
 */
class Found : public QAbstractProxyModel
{
public:
    Found(DropDownList::SearchableLines *lines, QObject *parent)
        : QAbstractProxyModel(parent), m_lines(lines)
    {
        setSourceModel(lines);
        connect(lines, &QAbstractItemModel::modelReset, this, [this] { filter(m_key); });
    }

    void filter(const QString &key)
    {
        beginResetModel();
        m_key = key;
        m_rows = m_paused ? QList<int>() : m_lines->rowsContaining(key);
        endResetModel();
    }
    /** While the box replaces its lines, the texts it shows on the way are searched for nothing. */
    void pause(bool paused) { m_paused = paused; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override
    {
        return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex &) const override { return {}; }
    QModelIndex mapToSource(const QModelIndex &proxy) const override
    {
        return proxy.isValid() && proxy.row() < m_rows.size() ? m_lines->index(m_rows[proxy.row()], 0) : QModelIndex();
    }
    QModelIndex mapFromSource(const QModelIndex &source) const override
    {
        const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), source.row());
        return source.isValid() && at != m_rows.end() && *at == source.row() ? index(int(at - m_rows.begin()), 0)
                                                                              : QModelIndex();
    }

private:
    DropDownList::SearchableLines *m_lines;
    QString m_key;
    QList<int> m_rows;
    bool m_paused = false;
};

/**
 * Finds the lines by the typed text, as a search key, anywhere in the lines'
 * keys; takes a line as its text. The lines found are filtered here, from
 * the precomputed keys: the completer itself would ask every line for its
 * key at every key typed, and is given an empty prefix that takes them all.
 */
class Search : public QCompleter
{
public:
    Search(Found *found, QObject *parent)
        : QCompleter(found, parent), m_found(found)
    {
    }

    QStringList splitPath(const QString &path) const override
    {
        m_found->filter(searchKey(path));
        return {QString()};
    }
    QString pathFromIndex(const QModelIndex &index) const override { return index.data(Qt::DisplayRole).toString(); }

    Found *found() const { return m_found; }

private:
    Found *m_found;
};

bool isText(const QKeyEvent *key)
{
    return !key->text().isEmpty() && key->text().front().isPrint()
           && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

/** Keys in the box's own open list and in the list of found lines. */
class SearchKeysTyped : public QObject
{
public:
    SearchKeysTyped(QComboBox *box, QCompleter *search)
        : QObject(box), m_box(box), m_search(search)
    {
        box->view()->installEventFilter(this);
        search->popup()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_box->view()) {
            if (!isText(key))
                return false;
            // Typing into the open list searches, a space included, with
            // the typed text in place of the line shown.
            m_box->hidePopup();
            m_box->setFocus();
            m_box->lineEdit()->selectAll();
            QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(m_box->lineEdit(), &typed);
            return true;
        }
        // Enter takes the only line found; among several the user picks one with the arrows.
        QAbstractItemView *found = m_search->popup();
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !found->currentIndex().isValid()
            && m_search->completionModel()->rowCount() == 1)
            found->setCurrentIndex(m_search->completionModel()->index(0, 0));
        return false;
    }

private:
    QComboBox *m_box;
    QCompleter *m_search;
};

/** Opens the box's list once its window is activated; gone when the window hides. */
class Opener : public QObject
{
public:
    explicit Opener(QComboBox *box)
        : QObject(box), m_box(box)
    {
        setObjectName(QLatin1String(openerName));
        box->window()->installEventFilter(this);
        // After the show, when the window exists on the screen.
        QTimer::singleShot(0, this, [this] {
            QWidget *window = m_box->window();
            if (window->isActiveWindow())
                open();
            else
                window->activateWindow();
        });
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, this, &Opener::open);   // once the activation has settled
        else if (event->type() == QEvent::Hide)
            deleteLater();
        return false;
    }

private:
    void open()
    {
        QWidget *window = m_box->window();
        if (m_opened || !window->isVisible() || !window->isActiveWindow())
            return;
        m_opened = true;
        m_box->setFocus();
        m_box->showPopup();
        deleteLater();
    }

    QComboBox *m_box;
    bool m_opened = false;
};

} // namespace

namespace DropDownList {

void enableSearch(QComboBox *box, SearchableLines *lines)
{
    box->setModel(lines);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);   // typing searches, it never adds a line
    // A hundred thousand clients: the box is not sized by its lines, and
    // every line is as high as the first.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto *list = qobject_cast<QListView *>(box->view()))
        list->setUniformItemSizes(true);

    auto *search = new Search(new Found(lines, box), box);
    search->setModelSorting(QCompleter::UnsortedModel);
    search->setCompletionMode(QCompleter::PopupCompletion);
    search->setMaxVisibleItems(box->maxVisibleItems());
    auto *found = new QListView;
    found->setUniformItemSizes(true);
    found->setFont(box->font());   // a window of its own: it would not take the dialog's font
    search->setPopup(found);
    // A line found maps to the box's row through the proxy: the box selects that row itself.
    box->setCompleter(search);
    new SearchKeysTyped(box, search);

    QLineEdit *edit = box->lineEdit();
    QObject::connect(edit, &QLineEdit::editingFinished, box, [box, edit] {
        const int row = box->currentIndex();
        const QString selected = row >= 0 ? box->itemText(row) : QString();
        if (edit->text() != selected)
            edit->setText(selected);
    });
}

void resetLines(QComboBox *box, const std::function<void()> &reset)
{
    // The box selects its first line on a reset and sets that line as the
    // completer's text: a search of the whole list for nothing.
    auto *search = dynamic_cast<Search *>(box->completer());
    if (search)
        search->found()->pause(true);
    box->hidePopup();   // before its lines go
    reset();
    box->setCurrentIndex(-1);
    if (search) {
        search->found()->pause(false);
        search->splitPath(search->completionPrefix());
    }
}

void openWhenActive(QComboBox *box)
{
    delete box->findChild<QObject *>(QLatin1String(openerName), Qt::FindDirectChildrenOnly);
    new Opener(box);
}

} // namespace DropDownList
