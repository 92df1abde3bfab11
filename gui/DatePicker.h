#pragma once

#include <QDateEdit>

class QLabel;

/**
 * A date picker with a drop-down calendar that takes typed dates: day, month
 * and year are edited as numbers in the short date format of the regional
 * settings (the year in full), and the long date with its weekday is shown
 * beside them inside the field, shortened where it does not fit. A format
 * that holds the weekday name cannot be typed into: every typed digit
 * changes the weekday, its length and so the place of the sections after it.
 *
 * A section typed in full moves on to the next one by itself; the Tab or
 * separator that a user types after it then stays there instead of skipping
 * a section ("12", Tab, "04" is 12 April, as is "12.04.").
 */
class DatePicker : public QDateEdit
{
    Q_OBJECT
public:
    explicit DatePicker(QWidget *parent = nullptr);

    /** The long date as the field shows it beside the edited one; empty when none fits. */
    QString longDateShown() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyLocale();
    void placeLongDate();
    void showLongDate();
    int editedWidth() const;

    QLabel *m_longDate;
    QString m_longFormat;
    int m_advancedTo = -1;   // the section that the last key, filling the one before, moved on to
};
