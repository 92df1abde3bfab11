#include "app/TAboutBox.h"
#include "ui_TAboutBox.h"

TAboutBox::TAboutBox(QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    ui->ProductName->setText(QStringLiteral("Vitrana " VITRANA_VERSION));
    // Not resizable: the designed size, or what its layout needs at a larger font.
    ensurePolished();
    setFixedSize(size().expandedTo(minimumSizeHint()));
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() = default;
