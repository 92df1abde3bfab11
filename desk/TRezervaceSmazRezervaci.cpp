#include "desk/TRezervaceSmazRezervaci.h"
#include "ui_TRezervaceSmazRezervaci.h"

TRezervaceSmazRezervaci::TRezervaceSmazRezervaci(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TRezervaceSmazRezervaci>())
{
    ui->setupUi(this);
}

TRezervaceSmazRezervaci::~TRezervaceSmazRezervaci() = default;
