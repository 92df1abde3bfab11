#include "admin/TNastaveniDnuUTypuDne.h"
#include "ui_TNastaveniDnuUTypuDne.h"

TNastaveniDnuUTypuDne::TNastaveniDnuUTypuDne(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TNastaveniDnuUTypuDne>())
{
    ui->setupUi(this);
}

TNastaveniDnuUTypuDne::~TNastaveniDnuUTypuDne() = default;
