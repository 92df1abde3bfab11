#pragma once

#include "gui/TDialog.h"
#include "model/Historie.h"

#include <memory>
#include <vector>

namespace Ui {
class THistorieZmen;
}

/**
 * The history of changes, newest first, a page at a time: who (the
 * database account and the desk's machine) changed what and when. Filters
 * by period, account and a text the sentence or the ids contain; Enter in
 * the text searches. Nothing in it is edited.
 */
class THistorieZmen : public TDialog
{
    Q_OBJECT
public:
    explicit THistorieZmen(QWidget *parent = nullptr);
    ~THistorieZmen() override;

    /** Rows per page. */
    static constexpr int naStranku = 200;

protected:
    void FormShow() override;

private:
    void HledejButtonClick();
    void TextEditKeyDown();
    void DalsiButtonClick();
    void PredchoziButtonClick();
    void ObdobiCheckBoxClick();
    /** Reads the page after zaId or before predId (neither: the first) and shows it. */
    void nactiStranku(qint64 zaId, qint64 predId);
    void ukazStranku();

    std::unique_ptr<Ui::THistorieZmen> ui;
    SqlHistorie::Filtr m_filtr;
    std::vector<ZaznamHistorie> m_radky;
    int m_strana = 0;
    bool m_dalsi = false;
};
