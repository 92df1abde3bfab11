#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QSet>
#include <functional>
#include <vector>

class QKeyEvent;

/**
 * What every dialog of the desk shares. A dialog is created once at start-up
 * and hidden between uses, so its edit boxes keep their text; it owns its
 * working data only while it is shown: FormShow builds it, FormHide drops it.
 * The form's StornoButton, the title-bar close and Escape all end in
 * reject(), which closes without writing; OK writes and then accept()s
 * (ulozAZavri). Enter presses the button that has the focus; in an edit box
 * given an Enter handler (naEnter) it runs that handler only; elsewhere it
 * presses a button only where the form marks one as its default button;
 * Escape with a list open closes the list only. Every opening starts at the first control of the form's tab order,
 * unless FormShow puts the focus elsewhere.
 */
class TDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDialog(QWidget *parent);

    /** Shows the dialog modally over its parent; Accepted when it was closed by OK. */
    int ukaz();

protected:
    /**
     * Loads what the dialog shows. A database error is shown in the error box
     * and the dialog closes again.
     */
    virtual void FormShow() {}
    /**
     * Drops what FormShow built, however the dialog was closed; the working
     * data given to zahazujPriSkryti is dropped after it by the base.
     */
    virtual void FormHide() {}
    /** Closes without writing: the form's StornoButton is connected here. */
    void StornoButtonClick();

    /**
     * Working data that lives only while the dialog is shown: each is set
     * back to its empty value (a null pointer, an empty list) on every hide.
     */
    template <class... Data>
    void zahazujPriSkryti(Data &...data)
    {
        (m_zahodit.push_back([&data] { data = Data{}; }), ...);
    }

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
     * OK's save: as zkusUlozit, and the dialog closes as Accepted only when
     * the save went through; otherwise it stays open with its data.
     */
    void ulozAZavri(const QString &coSeNepodarilo, const std::function<void()> &uloz,
                    const std::function<void()> &obnov = {});

    /** Enter in the edit box runs the handler and nothing else (no default button). */
    template <class Dialog>
    void naEnter(QLineEdit *edit, void (Dialog::*handler)())
    {
        m_enterEdits.insert(edit);
        connect(edit, &QLineEdit::returnPressed, static_cast<Dialog *>(this), handler);
    }

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusFirstControl();
    void watchLists();
    void activateAgain();

    std::vector<std::function<void()>> m_zahodit;
    QSet<const QWidget *> m_enterEdits;
};
