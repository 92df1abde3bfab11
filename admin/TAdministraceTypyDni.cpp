#include "admin/TAdministraceTypyDni.h"
#include "ui_TAdministraceTypyDni.h"

TAdministraceTypyDni::TAdministraceTypyDni(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceTypyDni>())
{
    ui->setupUi(this);
}

TAdministraceTypyDni::~TAdministraceTypyDni() = default;
