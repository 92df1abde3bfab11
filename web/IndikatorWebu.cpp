#include "web/IndikatorWebu.h"

IndikatorWebu::IndikatorWebu(SpolupraceSWebem *spoluprace, QWidget *parent)
    : QLabel(parent), m_spoluprace(spoluprace)
{
    setObjectName(QStringLiteral("IndikatorWebu"));
    connect(spoluprace, &SpolupraceSWebem::stavZmenen, this, &IndikatorWebu::ukaz);
    connect(spoluprace, &SpolupraceSWebem::chyba, this, [this](const QString &text) {
        m_posledniChyba = text;
        ukaz();
    });
    ukaz();
}

QString IndikatorWebu::popis(const QString &nazev, const PosledniAkce &akce)
{
    const QString cas = akce.cas.time().toString(QStringLiteral("H:mm:ss"));
    return akce.uspech ? tr("%1 %2: %3").arg(nazev, cas, akce.text) : tr("%1 %2 selhal: %3").arg(nazev, cas, akce.text);
}

QString IndikatorWebu::kratce(const QString &nazev, const PosledniAkce &akce)
{
    const QString cas = akce.cas.time().toString(QStringLiteral("H:mm:ss"));
    return akce.uspech ? tr("%1 %2 v pořádku").arg(nazev, cas) : tr("%1 %2 selhal").arg(nazev, cas);
}

void IndikatorWebu::ukaz()
{
    const quint16 port = m_spoluprace->portNaslouchani();
    // A port taken by another desk on this machine is said in the bar
    // itself: the web's guests reach that desk, not this one.
    QStringList parts{port != 0                        ? tr("Web: port %1").arg(port)
                      : m_spoluprace->portObsazen() ? tr("Web: port %1 je obsazen").arg(m_spoluprace->pozadovanyPort())
                                                       : tr("Web: port %1 nepřijímá hosty").arg(m_spoluprace->pozadovanyPort())};
    bool potiz = port == 0;
    QStringList jak;   // the whole story goes to the tooltip: the bar has one short line
    for (const auto &[nazev, akce] : {std::pair{tr("export"), m_spoluprace->posledniExport()},
                                      std::pair{tr("import"), m_spoluprace->posledniImport()}}) {
        if (!akce.cas.isValid())
            continue;
        parts << kratce(nazev, akce);
        jak << popis(nazev, akce);
        potiz = potiz || !akce.uspech;
    }
    setText(parts.join(QStringLiteral(" · ")));
    // Red when something needs the receptionist's eye.
    setStyleSheet(potiz ? QStringLiteral("color: #b00000;") : QString());

    QStringList tip = jak;
    if (port == 0)
        tip << tr("Hosty přesměrované z webu nelze přijímat: %1").arg(m_spoluprace->chybaNaslouchani());
    tip << m_spoluprace->cekani();
    if (!m_posledniChyba.isEmpty())
        tip << m_posledniChyba;
    setToolTip(tip.join(u'\n'));
}
