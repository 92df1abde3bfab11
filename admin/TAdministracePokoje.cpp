#include "admin/TAdministracePokoje.h"
#include "ui_TAdministracePokoje.h"

TAdministracePokoje::TAdministracePokoje(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministracePokoje>())
{
    ui->setupUi(this);
}

TAdministracePokoje::~TAdministracePokoje() = default;
