#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TAboutBox;
}

/** "About": the product label and an OK button. */
class TAboutBox : public TDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;

private:
    std::unique_ptr<Ui::TAboutBox> ui;
};
