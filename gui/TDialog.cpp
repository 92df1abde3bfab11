#include "gui/TDialog.h"

#include "db/DatabaseError.h"
#include "gui/MessageBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

namespace {
bool jeEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}
} // namespace

TDialog::TDialog(QWidget *parent)
    : QDialog(parent)
{
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
}

int TDialog::ukaz()
{
    return exec();
}

void TDialog::StornoButtonClick()
{
    reject();
}

bool TDialog::zkus(const QString &coSeNepodarilo, const std::function<void()> &akce)
{
    try {
        akce();
        return true;
    } catch (const DatabaseError &e) {
        MessageBox::chybaDatabaze(this, coSeNepodarilo, e);
    }
    return false;
}

bool TDialog::zkusUlozit(const QString &coSeNepodarilo, const std::function<void()> &uloz,
                         const std::function<void()> &obnov)
{
    try {
        uloz();
        return true;
    } catch (const DatabaseError &e) {
        MessageBox::chybaDatabaze(this, coSeNepodarilo, e);
        if (e.kind() == DatabaseError::Kind::Conflict && obnov)
            zkus(tr("Nepodařilo se znovu načíst údaje z databáze."), obnov);
    }
    return false;
}

void TDialog::ulozAZavri(const QString &coSeNepodarilo, const std::function<void()> &uloz,
                         const std::function<void()> &obnov)
{
    if (zkusUlozit(coSeNepodarilo, uloz, obnov))
        accept();
}

void TDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Set up by the form after this base was built, so looked up now (once, however often shown).
    if (auto *storno = findChild<QAbstractButton *>(QStringLiteral("StornoButton")))
        connect(storno, &QAbstractButton::clicked, this, &TDialog::StornoButtonClick, Qt::UniqueConnection);
    // Enter elsewhere presses a button only where the form says so.
    for (QPushButton *button : findChildren<QPushButton *>())
        if (!button->isDefault())
            button->setAutoDefault(false);
    watchLists();
    // Not the control used last time: where FormShow puts the focus, or the first control.
    if (QWidget *last = focusWidget())
        last->clearFocus();
    if (!zkus(tr("Nepodařilo se načíst údaje z databáze."), [this] { FormShow(); })) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    if (!focusWidget())
        focusFirstControl();
}

void TDialog::focusFirstControl()
{
    for (QWidget *w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (w->window() == this && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy()
            && w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void TDialog::watchLists()
{
    for (QComboBox *box : findChildren<QComboBox *>())
        box->view();   // its list exists from now on, so it can be watched
    for (QWidget *w : findChildren<QWidget *>())
        if (w->windowType() == Qt::Popup)
            w->installEventFilter(this);   // once, however often installed
}

void TDialog::activateAgain()
{
    // A list that dropped down before the dialog came up left the window
    // that opened the dialog active: keys reached the dialog unseen. (Never
    // taken back from another application the user went to.)
    if (!isVisible() || isActiveWindow() || QApplication::activePopupWidget()
        || QApplication::activeModalWidget() != this || QGuiApplication::applicationState() != Qt::ApplicationActive)
        return;
    if (QGuiApplication::focusWindow() == windowHandle()) {
        // The window system has made it active already and will not say so again.
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(this);
        QT_WARNING_POP
    } else {
        activateWindow();
    }
}

void TDialog::keyPressEvent(QKeyEvent *event)
{
    if (jeEnter(event)) {
        // Enter presses the focused button (a default one presses itself).
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()); button && button->isEnabled()) {
            if (!event->isAutoRepeat())
                button->click();
            return;
        }
        // The edit box's handler has had it (returnPressed): no default button besides.
        if (m_enterEdits.contains(focusWidget()))
            return;
    } else if (event->matches(QKeySequence::Cancel)) {
        // Escape closes an open list, not the dialog under it.
        if (QWidget *popup = QApplication::activePopupWidget()) {
            if (auto *box = qobject_cast<QComboBox *>(popup->parentWidget()))
                box->hidePopup();
            else
                popup->close();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    FormHide();
    for (const auto &zahod : m_zahodit)
        zahod();
}

bool TDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->windowType() == Qt::Popup) {
        QMetaObject::invokeMethod(this, &TDialog::activateAgain, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}
