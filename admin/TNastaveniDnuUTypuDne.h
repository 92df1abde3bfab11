#pragma once

#include "gui/TDialog.h"

#include <QDate>
#include <memory>
#include <set>

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

    /**
     * Shows the stored dates of the day type modally; Accepted when they were
     * saved. nazev names the type in a conflict.
     */
    int OtevriProTyp(int typDneId, const QString &nazev = QString());
    /**
     * Shows the dates of a day type not saved yet (its provisional id)
     * modally: they are edited here only and on OK handed back in dny
     * (Accepted); the day types' save stores them with the type.
     */
    int OtevriProNovyTyp(int typDneId, const QString &nazev, std::set<QDate> &dny);

protected:
    void FormShow() override;

private:
    void OdstranVybraneDnyButtonClick();
    void PridejDnyButtonClick();
    void OKButtonClick();
    void obnov();

    std::unique_ptr<Ui::TNastaveniDnuUTypuDne> ui;
    int m_typDneId = -1;
    QString m_nazev;
    std::set<QDate> *m_dnyNovehoTypu = nullptr;   // while a new type's dates are shown
    std::unique_ptr<KalendarTypuDne> m_kalendar;
};
