#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TKlientiUpravUdaje;
}

class TKlientiUpravUdaje : public TDialog
{
    Q_OBJECT
public:
    explicit TKlientiUpravUdaje(QWidget *parent = nullptr);
    ~TKlientiUpravUdaje() override;

private:
    std::unique_ptr<Ui::TKlientiUpravUdaje> ui;
};
