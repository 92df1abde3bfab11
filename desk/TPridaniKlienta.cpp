#include "desk/TPridaniKlienta.h"
#include "ui_TPridaniKlienta.h"

TPridaniKlienta::TPridaniKlienta(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TPridaniKlienta>())
{
    ui->setupUi(this);
}

TPridaniKlienta::~TPridaniKlienta() = default;
