#include "admin/TAdministraceTypyPokoju.h"
#include "ui_TAdministraceTypyPokoju.h"

TAdministraceTypyPokoju::TAdministraceTypyPokoju(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceTypyPokoju>())
{
    ui->setupUi(this);
}

TAdministraceTypyPokoju::~TAdministraceTypyPokoju() = default;
