#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TNastaveniDnuUTypuDne;
}

class TNastaveniDnuUTypuDne : public TDialog
{
    Q_OBJECT
public:
    explicit TNastaveniDnuUTypuDne(QWidget *parent = nullptr);
    ~TNastaveniDnuUTypuDne() override;

private:
    std::unique_ptr<Ui::TNastaveniDnuUTypuDne> ui;
};
