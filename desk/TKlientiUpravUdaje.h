#pragma once

#include "gui/TDialog.h"

#include <memory>

class ModelKlientu;

namespace Ui {
class TKlientiUpravUdaje;
}

/**
 * Deleting a client: the chosen client is deleted after a confirmation
 * unless reservations still point at it. Each deletion is written at once.
 */
class TKlientiUpravUdaje : public TDialog
{
    Q_OBJECT
public:
    explicit TKlientiUpravUdaje(QWidget *parent = nullptr);
    ~TKlientiUpravUdaje() override;

protected:
    void FormShow() override;
    void FormHide() override;

private:
    void SmazKlientaButtonClick();
    void OKButtonClick();
    void nelzeSmazat();

    std::unique_ptr<Ui::TKlientiUpravUdaje> ui;
    ModelKlientu *m_klienti;
};
