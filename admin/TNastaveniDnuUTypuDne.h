#pragma once

#include "gui/TDialog.h"

#include <memory>

class KalendarTypuDne;

namespace Ui {
class TNastaveniDnuUTypuDne;
}

/**
 * The dates of one day type: lists them, adds the dates of a period that
 * fall on the checked weekdays, removes selected dates, and on OK writes the
 * type's dates. The weekday check marks keep their state between openings.
 */
class TNastaveniDnuUTypuDne : public TDialog
{
    Q_OBJECT
public:
    explicit TNastaveniDnuUTypuDne(QWidget *parent = nullptr);
    ~TNastaveniDnuUTypuDne() override;

    /** Shows the dates of the day type modally; Accepted when they were saved. */
    int OtevriProTyp(int typDneId);

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void OdstranVybraneDnyButtonClick();
    void PridejDnyButtonClick();
    void OKButtonClick();
    void StornoButtonClick();
    void obnov();

    std::unique_ptr<Ui::TNastaveniDnuUTypuDne> ui;
    int m_typDneId = -1;
    std::unique_ptr<KalendarTypuDne> m_kalendar;
};
