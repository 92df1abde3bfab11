#include "app/TAboutBox.h"
#include "ui_TAboutBox.h"

TAboutBox::TAboutBox(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() = default;
