#include "web/TAdministraceSpolupraceSWebem.h"
#include "ui_TAdministraceSpolupraceSWebem.h"

#include "gui/MessageBox.h"
#include "web/IndikatorWebu.h"

TAdministraceSpolupraceSWebem::TAdministraceSpolupraceSWebem(SpolupraceSWebem *spoluprace, QWidget *parent)
    : TDialog(parent), ui(std::make_unique<Ui::TAdministraceSpolupraceSWebem>()), m_spoluprace(spoluprace)
{
    ui->setupUi(this);

    // The inputs show the engine's settings, which it reads whenever it composes a request.
    NastaveniWebu &n = m_spoluprace->nastaveni();
    const struct
    {
        QLineEdit *edit;
        QString *value;
    } inputs[] = {{ui->AdresaEdit, &n.adresa}, {ui->AdresarEdit, &n.adresar}, {ui->IDEdit, &n.id},
                  {ui->HesloEdit, &n.heslo}, {ui->LokalniIPEdit, &n.lokalniIP}};
    for (const auto &i : inputs) {
        i.edit->setText(*i.value);
        connect(i.edit, &QLineEdit::textChanged, this, [value = i.value](const QString &text) { *value = text; });
    }

    const struct
    {
        QPushButton *button;
        void (TAdministraceSpolupraceSWebem::*handler)();
    } buttons[] = {
        {ui->PripojButton, &TAdministraceSpolupraceSWebem::PripojButtonClick},
        {ui->UlozIPAdresuButton, &TAdministraceSpolupraceSWebem::UlozIPAdresuButtonClick},
        {ui->ExportTypuPokojuButton, &TAdministraceSpolupraceSWebem::ExportTypuPokojuButtonClick},
        {ui->ExportCenObsazenostiButton, &TAdministraceSpolupraceSWebem::ExportCenObsazenostiButtonClick},
        {ui->ImportRezervaciButton, &TAdministraceSpolupraceSWebem::ImportRezervaciButtonClick},
        {ui->ZavriButton, &TAdministraceSpolupraceSWebem::ZavriButtonClick},
    };
    for (const auto &b : buttons)
        connect(b.button, &QPushButton::clicked, this, b.handler);

    connect(m_spoluprace, &SpolupraceSWebem::pripojeniZmeneno, this, &TAdministraceSpolupraceSWebem::ukazPripojeni);
    connect(m_spoluprace, &SpolupraceSWebem::odpovedVyprazdnena, ui->OdpovedServeruMemo, &QPlainTextEdit::clear);
    // A hidden box is filled when it is shown (FormShow), from what the engine keeps.
    connect(m_spoluprace, &SpolupraceSWebem::odpovedPrijata, this, [this](const QString &data) {
        if (isVisible())
            pridejOdpoved(data);
    });
    connect(m_spoluprace, &SpolupraceSWebem::stavZmenen, this, &TAdministraceSpolupraceSWebem::ukazStav);
    connect(m_spoluprace, &SpolupraceSWebem::chyba, this, &TAdministraceSpolupraceSWebem::ukazChybu);

    const quint16 port = m_spoluprace->portNaslouchani();
    ui->NaslouchaniLabel->setText(
        port != 0 ? tr("Hosty přesměrované z webu přijímám na portu %1.").arg(port)
                  : tr("Hosty přesměrované z webu nelze přijímat na portu %1: %2. Ostatní práce s webem funguje.")
                        .arg(m_spoluprace->pozadovanyPort())
                        .arg(m_spoluprace->chybaNaslouchani()));
    ukazStav();
}

TAdministraceSpolupraceSWebem::~TAdministraceSpolupraceSWebem() = default;

void TAdministraceSpolupraceSWebem::FormShow()
{
    ui->OdpovedServeruMemo->clear();
    pridejOdpoved(m_spoluprace->konecOdpovedi());
    ukazPripojeni(m_spoluprace->jePripojeno());
    ukazStav();
}

void TAdministraceSpolupraceSWebem::PripojButtonClick()
{
    m_spoluprace->Pripoj();
}

void TAdministraceSpolupraceSWebem::ExportTypuPokojuButtonClick()
{
    m_spoluprace->ExportTypuPokoju();
}

void TAdministraceSpolupraceSWebem::ExportCenObsazenostiButtonClick()
{
    m_spoluprace->ExportCenObsazenosti();
}

void TAdministraceSpolupraceSWebem::ImportRezervaciButtonClick()
{
    m_spoluprace->ImportRezervaci();
}

void TAdministraceSpolupraceSWebem::UlozIPAdresuButtonClick()
{
    m_spoluprace->UlozIPAdresu();
}

void TAdministraceSpolupraceSWebem::ZavriButtonClick()
{
    close();
}

void TAdministraceSpolupraceSWebem::pridejOdpoved(const QString &data)
{
    ui->OdpovedServeruMemo->moveCursor(QTextCursor::End);
    ui->OdpovedServeruMemo->insertPlainText(QString(data).remove(u'\r'));
}

void TAdministraceSpolupraceSWebem::ukazPripojeni(bool pripojeno)
{
    ui->PripojenoLabel->setText(pripojeno ? tr("Připojeno") : tr("Odpojeno"));
}

void TAdministraceSpolupraceSWebem::ukazStav()
{
    ui->CekaniLabel->setText(m_spoluprace->cekani().join(u'\n'));
    QStringList lines;
    for (const auto &[nazev, akce] : {std::pair{tr("Export"), m_spoluprace->posledniExport()},
                                      std::pair{tr("Import"), m_spoluprace->posledniImport()}})
        if (akce.cas.isValid())
            lines << IndikatorWebu::popis(nazev, akce);
    ui->StavLabel->setText(lines.join(u'\n'));
    ui->StavLabel->setToolTip(m_posledniChyba);
}

void TAdministraceSpolupraceSWebem::ukazChybu(const QString &text, bool odRecepcniho)
{
    // What a guest's request started has no one to read a box: the line and the log keep it.
    m_posledniChyba = text;
    ukazStav();
    if (odRecepcniho)
        MessageBox::chyba(this, text, QMessageBox::Warning);
}
