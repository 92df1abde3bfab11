#include "app/TAboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About"));
    auto *product = new QLabel(tr("Vitrana 1.0"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    product->setAlignment(Qt::AlignCenter);
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(220, 110)));
}
