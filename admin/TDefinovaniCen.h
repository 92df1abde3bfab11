#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TDefinovaniCen;
}

class TDefinovaniCen : public TDialog
{
    Q_OBJECT
public:
    explicit TDefinovaniCen(QWidget *parent = nullptr);
    ~TDefinovaniCen() override;

private:
    std::unique_ptr<Ui::TDefinovaniCen> ui;
};
