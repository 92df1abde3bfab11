#include "desk/TNovaRezervace.h"
#include "ui_TNovaRezervace.h"

TNovaRezervace::TNovaRezervace(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TNovaRezervace>())
{
    ui->setupUi(this);
}

TNovaRezervace::~TNovaRezervace() = default;
