#pragma once

#include <QDialog>
#include <QHash>
#include <functional>

class QKeyEvent;

/**
 * What every dialog of the desk shares. A dialog is created once at start-up
 * and hidden between uses, so its edit boxes keep their text; it owns its
 * working data only while it is shown: FormShow builds it, FormHide drops it.
 * Storno, the title-bar close and Escape all end in reject(), which closes
 * without writing; OK writes and then accept()s. Enter presses the button
 * that has the focus; elsewhere it presses a button only where the form
 * marks one as its default button; Escape with a list open closes the list
 * only. Every opening starts at the first control of the form's tab order,
 * unless FormShow puts the focus elsewhere.
 */
class TDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDialog(QWidget *parent);

    /** Shows the dialog modally over its parent; Accepted when it was closed by OK. */
    int ukaz();

    /** Enter on either key. */
    static bool jeEnter(const QKeyEvent *key);

protected:
    /**
     * Loads what the dialog shows. A database error is shown in the error box
     * and the dialog closes again.
     */
    virtual void FormShow() {}
    /** Drops what FormShow built, however the dialog was closed. */
    virtual void FormHide() {}

    /**
     * Runs a database action of a handler. When it fails, the error box says
     * what could not be done (coSeNepodarilo, a Czech sentence) and why, and
     * false is returned: the dialog stays open with its unsaved data (the
     * saves are all or nothing).
     */
    bool zkus(const QString &coSeNepodarilo, const std::function<void()> &akce);
    /**
     * A save, as zkus. When another desk changed meanwhile what the save
     * would change (nothing was written), obnov runs after the box: it loads
     * the dialog's lists again, keeping the changes of this opening that
     * still apply.
     */
    bool zkusUlozit(const QString &coSeNepodarilo, const std::function<void()> &uloz,
                    const std::function<void()> &obnov);

    /**
     * Key presses in the widget reach the handler first; a handler that
     * accept()s the key takes it, any other key goes on to the widget.
     */
    template <class Dialog>
    void napojKeyDown(QWidget *widget, void (Dialog::*handler)(QKeyEvent *))
    {
        m_keyDown.insert(widget, [this, handler](QKeyEvent *key) { (static_cast<Dialog *>(this)->*handler)(key); });
        widget->installEventFilter(this);
    }

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusFirstControl();
    void watchLists();
    void activateAgain();

    QHash<QObject *, std::function<void(QKeyEvent *)>> m_keyDown;
};
