#include "gui/DatePicker.h"

#include "gui/DisplayFormat.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <utility>

namespace {
bool isDigit(const QKeyEvent *key)
{
    return key->text().size() == 1 && key->text().at(0).isDigit();
}

/** Tab, or a separator typed between sections (".", "/", "-", a space; some keyboards need Shift for them). */
bool movesOn(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (key->key() == Qt::Key_Tab)
        return !(key->modifiers() & Qt::ShiftModifier);
    return key->text().size() == 1 && !key->text().at(0).isLetterOrNumber() && key->text().at(0).isPrint();
}

bool steps(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}
} // namespace

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(parent), m_longDate(new QLabel(lineEdit()))
{
    m_longDate->setObjectName(QStringLiteral("LongDateLabel"));
    // Part of the field: a click on it places the cursor in the edited date.
    m_longDate->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_longDate->setForegroundRole(QPalette::Text);
    setCalendarPopup(true);
    connect(this, &QDateEdit::dateChanged, this, &DatePicker::showLongDate);
    applyLocale();
}

QString DatePicker::longDateShown() const
{
    return m_longDate->isHidden() ? QString() : m_longDate->text();
}

QSize DatePicker::sizeHint() const
{
    QSize size = QDateEdit::sizeHint();
    const QFontMetrics metrics = lineEdit()->fontMetrics();
    size.rwidth() += metrics.averageCharWidth()
                     + DisplayFormat::widestDate(locale(), metrics, locale().dateFormat(QLocale::LongFormat));
    return size;
}

bool DatePicker::event(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDateEdit::event(event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Still in the section the typing moved to, as it left it (not clicked elsewhere since).
    const bool justMovedOn = std::exchange(m_advancedTo, -1) == currentSectionIndex() && lineEdit()->hasSelectedText();
    if (justMovedOn && movesOn(key)) {
        key->accept();
        return true;
    }
    // An arrow steps what is shown: a day typed as "3" is the 3rd, not the day before the typing.
    if (steps(key))
        interpretText();
    const int section = currentSectionIndex();
    const bool handled = QDateEdit::event(event);
    if (isDigit(key) && currentSectionIndex() != section)
        m_advancedTo = currentSectionIndex();
    return handled;
}

void DatePicker::resizeEvent(QResizeEvent *event)
{
    QDateEdit::resizeEvent(event);   // places the edit field first
    placeLongDate();
}

void DatePicker::changeEvent(QEvent *event)
{
    QDateEdit::changeEvent(event);
    if (event->type() == QEvent::LocaleChange)
        applyLocale();
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeLongDate();
}

void DatePicker::applyLocale()
{
    setDisplayFormat(DisplayFormat::shortDateFormat(locale()));
    placeLongDate();
}

int DatePicker::editedWidth() const
{
    // QLineEdit keeps 2 px free before its text; then the widest date, the
    // cursor and a space before the long date.
    const QFontMetrics metrics = lineEdit()->fontMetrics();
    return 2 + DisplayFormat::widestDate(locale(), metrics, displayFormat()) + 1 + metrics.averageCharWidth();
}

void DatePicker::placeLongDate()
{
    QLineEdit *edit = lineEdit();
    const QRect area = edit->contentsRect();
    const int edited = editedWidth();
    const int rest = area.width() - edited;
    // The label draws its text from its left edge; 2 px spare at the right end.
    m_longFormat = rest > 2 ? DisplayFormat::longDateFormatFitting(locale(), m_longDate->fontMetrics(), rest - 2)
                            : QString();
    m_longDate->setHidden(m_longFormat.isEmpty());
    m_longDate->setGeometry(area.left() + edited, area.top(), qMax(rest, 0), area.height());
    // The edited date never runs under the long one.
    edit->setTextMargins(0, 0, m_longFormat.isEmpty() ? 0 : rest, 0);
    showLongDate();
}

void DatePicker::showLongDate()
{
    const QDate shown = date();
    m_longDate->setText(m_longFormat.isEmpty() ? QString() : locale().toString(shown, m_longFormat));
    // A screen reader hears the whole long date, whatever the field has room for.
    setAccessibleDescription(locale().toString(shown, QLocale::LongFormat));
}
