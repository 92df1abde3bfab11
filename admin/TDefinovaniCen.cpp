#include "admin/TDefinovaniCen.h"
#include "ui_TDefinovaniCen.h"

TDefinovaniCen::TDefinovaniCen(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TDefinovaniCen>())
{
    ui->setupUi(this);
}

TDefinovaniCen::~TDefinovaniCen() = default;
