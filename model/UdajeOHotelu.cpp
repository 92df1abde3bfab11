#include "model/UdajeOHotelu.h"
#include "model/Historie.h"

#include "db/SqlUdajeOHotelu.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("UdajeOHotelu", text);
}

bool digits(const QString &text, int min, int max)
{
    if (text.size() < min || text.size() > max)
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int idOf(const Osvobozeni &o)
{
    return o.osvobozeni_id;
}

QString popisOsvobozeni(const Osvobozeni &o)
{
    return tr("Důvod osvobození %1").arg(Konflikt::uvozovky(o.nazev));
}

// How the history names a column: as the window labels it.
QString nazevPole(const QString &sloupec)
{
    static const QHash<QString, const char *> nazvy{
        {QStringLiteral("provozovatel"), QT_TRANSLATE_NOOP("UdajeOHotelu", "provozovatel")},
        {QStringLiteral("provozovatel_adresa"), QT_TRANSLATE_NOOP("UdajeOHotelu", "adresa provozovatele")},
        {QStringLiteral("ico"), QT_TRANSLATE_NOOP("UdajeOHotelu", "IČO")},
        {QStringLiteral("dic"), QT_TRANSLATE_NOOP("UdajeOHotelu", "DIČ")},
        {QStringLiteral("platce_dph"), QT_TRANSLATE_NOOP("UdajeOHotelu", "plátce DPH")},
        {QStringLiteral("zarizeni"), QT_TRANSLATE_NOOP("UdajeOHotelu", "název zařízení")},
        {QStringLiteral("okres"), QT_TRANSLATE_NOOP("UdajeOHotelu", "okres")},
        {QStringLiteral("obec"), QT_TRANSLATE_NOOP("UdajeOHotelu", "obec")},
        {QStringLiteral("cast_obce"), QT_TRANSLATE_NOOP("UdajeOHotelu", "část obce")},
        {QStringLiteral("ulice"), QT_TRANSLATE_NOOP("UdajeOHotelu", "ulice")},
        {QStringLiteral("cislo_domovni"), QT_TRANSLATE_NOOP("UdajeOHotelu", "číslo domovní")},
        {QStringLiteral("cislo_orientacni"), QT_TRANSLATE_NOOP("UdajeOHotelu", "číslo orientační")},
        {QStringLiteral("psc"), QT_TRANSLATE_NOOP("UdajeOHotelu", "PSČ")},
        {QStringLiteral("kontakt"), QT_TRANSLATE_NOOP("UdajeOHotelu", "kontakt")},
        {QStringLiteral("idub"), QT_TRANSLATE_NOOP("UdajeOHotelu", "IDUB")},
        {QStringLiteral("zkratka"), QT_TRANSLATE_NOOP("UdajeOHotelu", "zkratka")},
        {QStringLiteral("poplatek_sazba"), QT_TRANSLATE_NOOP("UdajeOHotelu", "sazba poplatku")},
        {QStringLiteral("poplatek_obdobi"), QT_TRANSLATE_NOOP("UdajeOHotelu", "odvádění poplatku")},
        {QStringLiteral("bankovni_ucet"), QT_TRANSLATE_NOOP("UdajeOHotelu", "bankovní účet")}};
    const char *nazev = nazvy.value(sloupec);
    return nazev ? tr(nazev) : sloupec;
}

// The text columns with their values, in the table's order.
QList<QPair<QString, QString>> texty(const UdajeOHotelu &u)
{
    return {{QStringLiteral("provozovatel"), u.provozovatel},
            {QStringLiteral("provozovatel_adresa"), u.provozovatel_adresa},
            {QStringLiteral("ico"), u.ico},
            {QStringLiteral("dic"), u.dic},
            {QStringLiteral("zarizeni"), u.zarizeni},
            {QStringLiteral("okres"), u.okres},
            {QStringLiteral("obec"), u.obec},
            {QStringLiteral("cast_obce"), u.cast_obce},
            {QStringLiteral("ulice"), u.ulice},
            {QStringLiteral("cislo_domovni"), u.cislo_domovni},
            {QStringLiteral("cislo_orientacni"), u.cislo_orientacni},
            {QStringLiteral("psc"), u.psc},
            {QStringLiteral("kontakt"), u.kontakt},
            {QStringLiteral("idub"), u.idub},
            {QStringLiteral("zkratka"), u.zkratka},
            {QStringLiteral("bankovni_ucet"), u.bankovni_ucet}};
}

UdajeOHotelu readParticulars(TMojeQuery &q)
{
    UdajeOHotelu u;
    q.setSql(SqlUdajeOHotelu::selectParticulars());
    q.open();
    if (q.isEmpty())
        return u;
    const auto t = [&](const char *sloupec) { return q.text(QString::fromLatin1(sloupec)); };
    u.provozovatel = t("provozovatel");
    u.provozovatel_adresa = t("provozovatel_adresa");
    u.ico = t("ico");
    u.dic = t("dic");
    u.platce_dph = q.integer(QStringLiteral("platce_dph")) != 0;
    u.zarizeni = t("zarizeni");
    u.okres = t("okres");
    u.obec = t("obec");
    u.cast_obce = t("cast_obce");
    u.ulice = t("ulice");
    u.cislo_domovni = t("cislo_domovni");
    u.cislo_orientacni = t("cislo_orientacni");
    u.psc = t("psc");
    u.kontakt = t("kontakt");
    u.idub = t("idub");
    u.zkratka = t("zkratka");
    u.poplatek_sazba = q.real(QStringLiteral("poplatek_sazba"));
    u.poplatek_obdobi = q.integer(QStringLiteral("poplatek_obdobi"));
    u.bankovni_ucet = t("bankovni_ucet");
    return u;
}

std::vector<Osvobozeni> readExemptions(TMojeQuery &q)
{
    std::vector<Osvobozeni> out;
    q.setSql(SqlUdajeOHotelu::selectExemptions());
    for (q.open(); !q.eof(); q.next())
        out.push_back({q.integer(QStringLiteral("osvobozeni_id")), q.text(QStringLiteral("nazev"))});
    return out;
}
} // namespace

namespace KontrolaUdaju {

bool platneIco(const QString &ico)
{
    if (!digits(ico, 8, 8))
        return false;
    int soucet = 0;
    for (int i = 0; i < 7; ++i)
        soucet += ico[i].digitValue() * (8 - i);
    // 11 - remainder, where 10 gives 0 and 11 gives 1.
    const int kontrolni = (11 - soucet % 11) % 10;
    return ico[7].digitValue() == kontrolni;
}

bool platneDic(const QString &dic)
{
    return dic.startsWith(QStringLiteral("CZ")) && digits(dic.mid(2), 8, 10);
}

bool platnaPsc(const QString &psc)
{
    QString bezMezery = psc;
    if (psc.size() == 6 && psc[3] == u' ')
        bezMezery.remove(3, 1);
    return digits(bezMezery, 5, 5);
}

bool platneIdub(const QString &idub)
{
    // The police give a facility's IDUB as 12 to 14 letters and digits
    // (most are 12 digits).
    static const QRegularExpression tvar(QStringLiteral("^[A-Za-z0-9]{12,14}$"));
    return tvar.match(idub).hasMatch();
}

bool platnyIban(const QString &iban)
{
    QString s = iban;
    s.remove(u' ');
    s = s.toUpper();
    static const QRegularExpression tvar(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}$"));
    if (!tvar.match(s).hasMatch())
        return false;
    if (s.startsWith(QStringLiteral("CZ")) && s.size() != 24)
        return false;
    // The first four characters go to the end, letters become 10..35, and the number mod 97 must be 1.
    const QString otoceny = s.mid(4) + s.left(4);
    int zbytek = 0;
    for (QChar c : otoceny) {
        const int hodnota = c.isDigit() ? c.digitValue() : c.unicode() - u'A' + 10;
        zbytek = (hodnota >= 10 ? zbytek * 100 : zbytek * 10) + hodnota;
        zbytek %= 97;
    }
    return zbytek == 1;
}

QString chyba(const UdajeOHotelu &u)
{
    if (!u.ico.isEmpty() && !platneIco(u.ico))
        return tr("IČO musí mít 8 číslic a platnou kontrolní číslici.");
    if (!u.dic.isEmpty() && !platneDic(u.dic))
        return tr("DIČ musí začínat „CZ“ a pokračovat 8 až 10 číslicemi.");
    if (!u.psc.isEmpty() && !platnaPsc(u.psc))
        return tr("PSČ musí mít pět číslic.");
    if (!u.idub.isEmpty() && !platneIdub(u.idub))
        return tr("IDUB musí mít 12 až 14 písmen nebo číslic.");
    if (u.zkratka.size() > 5)
        return tr("Zkratka může mít nejvýš 5 znaků.");
    if (u.poplatek_sazba < 0 || u.poplatek_sazba > nejvyssiSazba)
        return tr("Sazba poplatku z pobytu může být nejvýš %1 Kč za osobu a noc.").arg(nejvyssiSazba);
    if (!u.bankovni_ucet.isEmpty() && !platnyIban(u.bankovni_ucet))
        return tr("Bankovní účet není platný IBAN (nesedí jeho kontrolní číslice).");
    return {};
}

} // namespace KontrolaUdaju

UdajeHotelu::UdajeHotelu()
{
    Nacti();
}

void UdajeHotelu::Nacti()
{
    TMojeQuery q;
    m_udaje = m_nacteneUdaje = readParticulars(q);
    m_osvobozeni = m_nacteneOsvobozeni = readExemptions(q);
}

bool UdajeHotelu::PridejOsvobozeni(const QString &nazev)
{
    const QString n = nazev.trimmed();
    if (n.isEmpty()
        || std::any_of(m_osvobozeni.begin(), m_osvobozeni.end(), [&](const Osvobozeni &o) { return o.nazev == n; }))
        return false;
    m_osvobozeni.push_back({dalsiDocasneId(m_osvobozeni, idOf), n});
    return true;
}

void UdajeHotelu::OdstranOsvobozeni(int index)
{
    if (index >= 0 && index < int(m_osvobozeni.size()))
        m_osvobozeni.erase(m_osvobozeni.begin() + index);
}

void UdajeHotelu::Uloz()
{
    const Zmeny<Osvobozeni> z = najdiZmeny(m_nacteneOsvobozeni, m_osvobozeni, idOf);
    const bool zmenenyUdaje = !(m_udaje == m_nacteneUdaje);
    if (!zmenenyUdaje && z.prazdne())
        return;
    QHash<int, int> noveId;
    TMojeDatabaze::current().save({QStringLiteral("hotel_udaje_tab"), QStringLiteral("osvobozeni_tab")},
                                  [&](TMojeQuery &q) {
        noveId.clear();   // a run again after a lost race starts afresh
        if (zmenenyUdaje && !(readParticulars(q) == m_nacteneUdaje))
            throw Konflikt::zmenen(tr("Údaje o hotelu"));
        const std::vector<Osvobozeni> tabulka = readExemptions(q);
        overZmeny(z, tabulka, idOf, popisOsvobozeni);
        for (const Osvobozeni &o : z.pridane)
            if (std::any_of(tabulka.begin(), tabulka.end(), [&](const Osvobozeni &t) { return t.nazev == o.nazev; }))
                throw Konflikt::pridan(popisOsvobozeni(o));
        // A guest's reason keeps its id: a new reason never takes it over, and it cannot go.
        QSet<int> obsazena;
        q.setSql(SqlUdajeOHotelu::selectExemptionsInUse());
        for (q.open(); !q.eof(); q.next())
            obsazena.insert(q.integer(QStringLiteral("osvobozeni_id")));
        for (const Osvobozeni &o : z.odstranene)
            if (obsazena.contains(o.osvobozeni_id))
                throw DatabaseError(tr("%1 mají uložení hosté, nelze jej smazat.").arg(popisOsvobozeni(o)));
        obsazena.insert(0);   // "none"
        for (const Osvobozeni &t : tabulka)
            obsazena.insert(t.osvobozeni_id);
        int id = 0;
        for (const Osvobozeni &o : z.pridane) {
            do
                ++id;
            while (obsazena.contains(id));
            noveId.insert(o.osvobozeni_id, id);
        }

        QStringList zmeny;
        if (zmenenyUdaje) {
            q.exec(SqlUdajeOHotelu::writeParticulars(q.format(), texty(m_udaje), m_udaje.platce_dph,
                                                     m_udaje.poplatek_sazba, m_udaje.poplatek_obdobi));
            const auto nove = texty(m_udaje), stare = texty(m_nacteneUdaje);
            QStringList sloupce;
            for (qsizetype i = 0; i < nove.size(); ++i)
                if (nove[i].second != stare[i].second)
                    sloupce << nazevPole(nove[i].first);
            if (m_udaje.platce_dph != m_nacteneUdaje.platce_dph)
                sloupce << nazevPole(QStringLiteral("platce_dph"));
            if (m_udaje.poplatek_sazba != m_nacteneUdaje.poplatek_sazba)
                sloupce << nazevPole(QStringLiteral("poplatek_sazba"));
            if (m_udaje.poplatek_obdobi != m_nacteneUdaje.poplatek_obdobi)
                sloupce << nazevPole(QStringLiteral("poplatek_obdobi"));
            zmeny << tr("změněny %1").arg(sloupce.join(QStringLiteral(", ")));
        }
        for (const Osvobozeni &o : z.odstranene)
            q.exec(SqlUdajeOHotelu::deleteExemption(o.osvobozeni_id));
        for (const auto &[nacteny, novy] : z.zmenene)
            q.exec(SqlUdajeOHotelu::updateExemption(q.format(), novy.osvobozeni_id, novy.nazev));
        for (const Osvobozeni &o : z.pridane)
            q.exec(SqlUdajeOHotelu::insertExemption(q.format(), noveId.value(o.osvobozeni_id), o.nazev));
        if (!z.prazdne())
            zmeny << tr("důvody osvobození: %1").arg(Historie::zmeny(z, [](const Osvobozeni &o) { return o.nazev; }));
        Historie::zapis(tr("Údaje o hotelu uloženy: %1").arg(zmeny.join(QStringLiteral("; "))),
                        Historie::ids(QStringLiteral("osvobozeni"), Historie::idsZmen(z, idOf, [&](int id) {
                                          return noveId.value(id, id);
                                      })));
    });
    for (Osvobozeni &o : m_osvobozeni)
        o.osvobozeni_id = noveId.value(o.osvobozeni_id, o.osvobozeni_id);
    m_nacteneUdaje = m_udaje;
    m_nacteneOsvobozeni = m_osvobozeni;
}

void UdajeHotelu::obnov()
{
    const Zmeny<Osvobozeni> z = najdiZmeny(m_nacteneOsvobozeni, m_osvobozeni, idOf);
    Nacti();
    m_osvobozeni = prenesZmeny(z, m_osvobozeni, [](const Osvobozeni &o) { return o.nazev; });
}
