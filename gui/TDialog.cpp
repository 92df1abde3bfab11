#include "gui/TDialog.h"

#include "db/DatabaseError.h"
#include "gui/MessageBox.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

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

bool TDialog::jeEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
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
        if (e.kind() == DatabaseError::Kind::Conflict)
            zkus(tr("Nepodařilo se znovu načíst údaje z databáze."), obnov);
    }
    return false;
}

void TDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // A dialog presses a button on Enter only where its form says so.
    for (QPushButton *button : findChildren<QPushButton *>())
        if (!button->isDefault())
            button->setAutoDefault(false);
    if (!zkus(tr("Nepodařilo se načíst údaje z databáze."), [this] { FormShow(); }))
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void TDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

bool TDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto handler = m_keyDown.constFind(watched);
        if (handler != m_keyDown.constEnd()) {
            auto *key = static_cast<QKeyEvent *>(event);
            key->ignore();
            (*handler)(key);
            if (key->isAccepted())
                return true;
            key->accept();   // the widget sees it as usual
        }
    }
    return QDialog::eventFilter(watched, event);
}
