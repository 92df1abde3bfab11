#include "admin/TAdministraceSkupinyPokoju.h"
#include "ui_TAdministraceSkupinyPokoju.h"

TAdministraceSkupinyPokoju::TAdministraceSkupinyPokoju(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceSkupinyPokoju>())
{
    ui->setupUi(this);
}

TAdministraceSkupinyPokoju::~TAdministraceSkupinyPokoju() = default;
