#pragma once

#include <QDialog>

class QLineEdit;

/** The database login prompt shown when the connection opens. */
class TLoginDialog : public QDialog
{
    Q_OBJECT
public:
    TLoginDialog(const QString &databaseName, const QString &userName, QWidget *parent = nullptr);

    QString userName() const;
    QString password() const;

private:
    QLineEdit *m_user;
    QLineEdit *m_password;
};
