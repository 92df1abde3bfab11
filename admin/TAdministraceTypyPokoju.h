#pragma once

#include "gui/TDialog.h"

#include <memory>

class TDefinovaniCen;

namespace Ui {
class TAdministraceTypyPokoju;
}

class TAdministraceTypyPokoju : public TDialog
{
    Q_OBJECT
public:
    explicit TAdministraceTypyPokoju(QWidget *parent = nullptr);
    ~TAdministraceTypyPokoju() override;

    void setDefinovaniCen(TDefinovaniCen *dialog) { m_definovaniCen = dialog; }

private:
    TDefinovaniCen *m_definovaniCen = nullptr;
    std::unique_ptr<Ui::TAdministraceTypyPokoju> ui;
};
