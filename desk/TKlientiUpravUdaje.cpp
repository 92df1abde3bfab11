#include "desk/TKlientiUpravUdaje.h"
#include "ui_TKlientiUpravUdaje.h"

TKlientiUpravUdaje::TKlientiUpravUdaje(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TKlientiUpravUdaje>())
{
    ui->setupUi(this);
}

TKlientiUpravUdaje::~TKlientiUpravUdaje() = default;
