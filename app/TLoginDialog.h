#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TLoginDialog;
}

/** The database login prompt shown when the connection opens. */
class TLoginDialog : public QDialog
{
    Q_OBJECT
public:
    TLoginDialog(const QString &databaseName, const QString &userName, QWidget *parent = nullptr);
    ~TLoginDialog() override;

    QString userName() const;
    QString password() const;

private:
    std::unique_ptr<Ui::TLoginDialog> ui;
};
