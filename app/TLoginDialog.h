#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TLoginDialog;
}

/** The database login prompt shown when the connection opens. */
class TLoginDialog : public TDialog
{
    Q_OBJECT
public:
    TLoginDialog(const QString &databaseName, const QString &userName, QWidget *parent = nullptr);
    ~TLoginDialog() override;

    QString userName() const;
    QString password() const;

protected:
    void FormShow() override;

private:
    std::unique_ptr<Ui::TLoginDialog> ui;
};
