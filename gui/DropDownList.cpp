#include "gui/DropDownList.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <optional>

namespace DropDownList {

QString searchKey(const QString &text)
{
    // Decomposed, a letter with a diacritic is the letter followed by its mark.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    bool space = false;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isSpace()) {
            space = !key.isEmpty();
            continue;
        }
        if (space)
            key += u' ';
        space = false;
        key += c.toCaseFolded();
    }
    // A space typed last belongs to the search: "jan " finds "Jan Novák", not "Jana".
    if (space)
        key += u' ';
    return key;
}

} // namespace DropDownList

namespace {

constexpr int searchKeyRole = Qt::UserRole + 1;
const char *const openerName = "DropDownList::openWhenActive";

/** The box's lines with their search keys, computed once per filling of the box, not per key typed. */
class SearchKeys : public QIdentityProxyModel
{
public:
    SearchKeys(QAbstractItemModel *lines, QObject *parent)
        : QIdentityProxyModel(parent)
    {
        setSourceModel(lines);
        const auto stale = [this] { m_keys.reset(); };
        connect(this, &QAbstractItemModel::modelReset, this, stale);
        connect(this, &QAbstractItemModel::layoutChanged, this, stale);
        connect(this, &QAbstractItemModel::rowsInserted, this, stale);
        connect(this, &QAbstractItemModel::rowsRemoved, this, stale);
        connect(this, &QAbstractItemModel::rowsMoved, this, stale);
        connect(this, &QAbstractItemModel::dataChanged, this, stale);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != searchKeyRole)
            return QIdentityProxyModel::data(index, role);
        if (!m_keys) {
            QStringList keys;
            keys.reserve(rowCount());
            for (int row = 0; row < rowCount(); ++row)
                keys << DropDownList::searchKey(QIdentityProxyModel::data(this->index(row, 0), Qt::DisplayRole).toString());
            m_keys = std::move(keys);
        }
        return index.row() < m_keys->size() ? m_keys->at(index.row()) : QString();
    }

private:
    mutable std::optional<QStringList> m_keys;
};

/** Matches the typed text, as a search key, anywhere in the lines' keys; takes a line as its text. */
class Search : public QCompleter
{
public:
    Search(QAbstractItemModel *lines, QObject *parent)
        : QCompleter(lines, parent)
    {
    }

    QStringList splitPath(const QString &path) const override { return {DropDownList::searchKey(path)}; }
    QString pathFromIndex(const QModelIndex &index) const override { return index.data(Qt::DisplayRole).toString(); }
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

void enableSearch(QComboBox *box)
{
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);   // typing searches, it never adds a line
    // Thousands of clients: every line is as high as the first.
    if (auto *list = qobject_cast<QListView *>(box->view()))
        list->setUniformItemSizes(true);

    auto *search = new Search(new SearchKeys(box->model(), box), box);
    search->setCompletionRole(searchKeyRole);
    search->setFilterMode(Qt::MatchContains);
    search->setCaseSensitivity(Qt::CaseSensitive);   // both sides are search keys already
    search->setModelSorting(QCompleter::UnsortedModel);
    search->setCompletionMode(QCompleter::PopupCompletion);
    search->setMaxVisibleItems(box->maxVisibleItems());
    auto *found = new QListView;
    found->setUniformItemSizes(true);
    found->setFont(box->font());   // a window of its own: it would not take the dialog's font
    search->setPopup(found);
    // The completer's row is the box's row (the key model adds a role, no rows): the
    // box selects that row itself.
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

void openWhenActive(QComboBox *box)
{
    delete box->findChild<QObject *>(QLatin1String(openerName), Qt::FindDirectChildrenOnly);
    new Opener(box);
}

} // namespace DropDownList
