#include "app/TLoginDialog.h"
#include "ui_TLoginDialog.h"

TLoginDialog::TLoginDialog(const QString &databaseName, const QString &userName, QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TLoginDialog>())
{
    // The standard prompt of the connection, in the system's font rather than the forms' one.
    setFont(QFont());
    ui->setupUi(this);
    ui->DatabaseNameLabel->setText(databaseName);
    ui->UserNameEdit->setText(userName);
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TLoginDialog::StornoButtonClick);
}

TLoginDialog::~TLoginDialog() = default;

void TLoginDialog::FormShow()
{
    // A known user types only the password.
    if (!ui->UserNameEdit->text().isEmpty())
        ui->PasswordEdit->setFocus();
}

QString TLoginDialog::userName() const
{
    return ui->UserNameEdit->text();
}

QString TLoginDialog::password() const
{
    return ui->PasswordEdit->text();
}
