#include "app/TLoginDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TLoginDialog::TLoginDialog(const QString &databaseName, const QString &userName, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(tr("Database Login"));

    auto *database = new QLabel(tr("Database:") + u' ' + databaseName, this);
    database->setObjectName(QStringLiteral("DatabaseLabel"));

    m_user = new QLineEdit(userName, this);
    m_user->setObjectName(QStringLiteral("UserNameEdit"));
    m_user->setMaxLength(31);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("PasswordEdit"));
    m_password->setMaxLength(31);
    m_password->setEchoMode(QLineEdit::Password);

    auto *userLabel = new QLabel(tr("&User Name:"), this);
    userLabel->setBuddy(m_user);
    auto *passwordLabel = new QLabel(tr("&Password:"), this);
    passwordLabel->setBuddy(m_password);

    auto *ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(userLabel, m_user);
    form->addRow(passwordLabel, m_password);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(database);
    layout->addLayout(form);
    layout->addLayout(buttons);

    if (!userName.isEmpty())
        m_password->setFocus();
}

QString TLoginDialog::userName() const { return m_user->text(); }
QString TLoginDialog::password() const { return m_password->text(); }
