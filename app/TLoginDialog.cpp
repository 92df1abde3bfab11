#include "app/TLoginDialog.h"
#include "ui_TLoginDialog.h"

TLoginDialog::TLoginDialog(const QString &databaseName, const QString &userName, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TLoginDialog>())
{
    ui->setupUi(this);
    ui->DatabaseNameLabel->setText(databaseName);
    ui->UserNameEdit->setText(userName);
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    if (!userName.isEmpty())
        ui->PasswordEdit->setFocus();
}

TLoginDialog::~TLoginDialog() = default;

QString TLoginDialog::userName() const
{
    return ui->UserNameEdit->text();
}

QString TLoginDialog::password() const
{
    return ui->PasswordEdit->text();
}
