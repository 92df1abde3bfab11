#pragma once

#include "gui/TDialog.h"

#include <memory>

namespace Ui {
class TAdministraceSkupinyPokoju;
}

class TAdministraceSkupinyPokoju : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceSkupinyPokoju(QWidget *parent = nullptr);
    ~TAdministraceSkupinyPokoju() override;

private:
    std::unique_ptr<Ui::TAdministraceSkupinyPokoju> ui;
};
