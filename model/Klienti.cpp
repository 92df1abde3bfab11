#include "model/Klienti.h"

#include "db/DatabaseError.h"
#include "db/SqlKlienti.h"
#include "db/SqlObjednavky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Kolekce.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>

TypKlienta::TypKlienta(int typKlientaId, const QString &typKlienta)
    : typ_klienta_id(typKlientaId), typ_klienta(typKlienta)
{
    TMojeQuery q;
    q.setSql(SqlKlienti::selectAttributes(typKlientaId));
    q.open();
    if (q.isEmpty())
        return;
    // The table defines the attributes: every column but the id is one.
    for (const QString &column : q.columnNames()) {
        if (column == QLatin1String("typ_klienta_id"))
            continue;
        const int order = q.integer(column);
        if (order != 0)
            m_polozky.append({order, column});
    }
    std::sort(m_polozky.begin(), m_polozky.end());
}

bool TypKlienta::PrvniPolozka()
{
    if (m_polozky.isEmpty())
        return false;
    m_kurzor = 0;
    return true;
}

bool TypKlienta::DalsiPolozka()
{
    if (m_kurzor < 0 || m_kurzor + 1 >= m_polozky.size())
        return false;
    ++m_kurzor;
    return true;
}

QString TypKlienta::AktualniPolozka() const
{
    return m_kurzor >= 0 && m_kurzor < m_polozky.size() ? m_polozky[m_kurzor].second : QString();
}

TypyKlientu::TypyKlientu()
{
    Nacti();
}

void TypyKlientu::Nacti()
{
    m_typy.clear();
    TMojeQuery q;
    q.setSql(SqlKlienti::selectClientTypes());
    q.open();
    for (; !q.eof(); q.next())
        m_typy.emplace_back(q.integer(QStringLiteral("typ_klienta_id")), q.text(QStringLiteral("typ_klienta")));
}

void TypyKlientu::Vypis(QStringList &seznam) const
{
    listNames(m_typy, [](const TypKlienta &t) { return t.typ_klienta; }, seznam);
}

int TypyKlientu::NajdiId(const QString &typKlienta) const
{
    return findIdByName(
        m_typy, typKlienta, [](const TypKlienta &t) { return t.typ_klienta; },
        [](const TypKlienta &t) { return t.typ_klienta_id; }, -1);
}

Klient::Klient(int klientId, const QString &jmeno, const QString &telefon, const QString &email,
               const QString &stat)
    : klient_id(klientId), jmeno(jmeno), telefon(telefon), email(email), stat(stat)
{
}

void Klient::PridejKlienta(const QList<QPair<QString, QString>> &polozky, int typKlientaId)
{
    TMojeQuery q;
    q.exec(SqlKlienti::insertClient(q.format(), polozky, typKlientaId));
}

Klient::Smazani Klient::SmazKlienta(int klientId)
{
    Smazani vysledek = Smazani::MaRezervace;
    TMojeDatabaze::current().writeLocked(SqlObjednavky::lockReservations(), [&](TMojeQuery &q) {
        q.setSql(SqlObjednavky::countOfClient(klientId));
        q.open();
        if (q.integer(QStringLiteral("pocet")) > 0)
            return;
        q.exec(SqlKlienti::deleteClient(klientId));
        vysledek = q.rowsAffected() > 0 ? Smazani::Smazan : Smazani::UzNeni;
    });
    return vysledek;
}

void Klient::insertWithIds(TMojeQuery &q, const QString &insert, bool zeroId)
{
    if (!zeroId) {
        q.exec(insert);
        return;
    }
    q.exec(SqlKlienti::keepZeroIdentifiers());
    try {
        q.exec(insert);
    } catch (const DatabaseError &) {
        try {
            q.exec(SqlKlienti::restoreSqlMode());
        } catch (const DatabaseError &) {
        }
        throw;
    }
    q.exec(SqlKlienti::restoreSqlMode());
}

Klienti::Klienti()
{
    Nacti();
}

void Klienti::Nacti()
{
    m_klienti.clear();
    TMojeQuery q;
    q.setSql(SqlKlienti::selectClients());
    q.open();
    for (; !q.eof(); q.next()) {
        Klient &k = m_klienti.emplace_back(q.integer(QStringLiteral("klient_id")), q.text(QStringLiteral("jmeno")),
                                           q.text(QStringLiteral("telefon")), q.text(QStringLiteral("email")));
        k.typ_klienta = q.text(QStringLiteral("typ_klienta"));
    }
}

void Klienti::Vypis(QStringList &seznam) const
{
    listNames(m_klienti, [](const Klient &k) { return k.jmeno; }, seznam);
    const auto opakuji = [&seznam] {
        QHash<QString, int> pocet;
        for (const QString &radek : seznam)
            ++pocet[radek];
        return pocet;
    };
    // Clients who share a name: their type and a phone or e-mail after it.
    QHash<QString, int> pocet = opakuji();
    for (std::size_t i = 0; i < m_klienti.size(); ++i) {
        if (pocet.value(seznam[i]) < 2)
            continue;
        const Klient &k = m_klienti[i];
        QStringList udaje;
        if (!k.typ_klienta.isEmpty())
            udaje << k.typ_klienta;
        const QString kontakt = !k.telefon.trimmed().isEmpty() ? k.telefon.trimmed() : k.email.trimmed();
        if (!kontakt.isEmpty())
            udaje << kontakt;
        if (!udaje.isEmpty())
            seznam[i] += QStringLiteral(" (") + udaje.join(QStringLiteral(", ")) + u')';
    }
    // Where even that repeats, the client's number.
    pocet = opakuji();
    for (std::size_t i = 0; i < m_klienti.size(); ++i)
        if (pocet.value(seznam[i]) > 1)
            seznam[i] += QCoreApplication::translate("Klienti", " [klient č. %1]").arg(m_klienti[i].klient_id);
}

int Klienti::IdNaRadku(int radek) const
{
    return radek >= 0 && radek < int(m_klienti.size()) ? m_klienti[radek].klient_id : -1;
}

int Klienti::NajdiId(const QString &jmeno) const
{
    return findIdByName(
        m_klienti, jmeno, [](const Klient &k) { return k.jmeno; }, [](const Klient &k) { return k.klient_id; }, -1);
}

PopisyPolozekKlienta::PopisyPolozekKlienta()
    : PopisyPolozekKlienta(QStringLiteral("text/popis_polozek_klienta.txt"))
{
}

PopisyPolozekKlienta::PopisyPolozekKlienta(const QString &soubor)
{
    QFile file(soubor);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    QStringDecoder cp1250("windows-1250");
    QString text = cp1250.isValid() ? QString(cp1250.decode(bytes)) : QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    // Name up to a TAB, label up to the line's end. A line without a TAB
    // makes its text (and the lines up to the next TAB) part of a name that
    // matches no column.
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype tab = text.indexOf(u'\t', pos);
        if (tab < 0) {
            m_popisy.append({text.mid(pos), QString()});
            break;
        }
        const QString name = text.mid(pos, tab - pos);
        const qsizetype lineEnd = text.indexOf(u'\n', tab + 1);
        const qsizetype labelEnd = lineEnd < 0 ? text.size() : lineEnd;
        m_popisy.append({name, text.mid(tab + 1, labelEnd - tab - 1)});
        pos = labelEnd + 1;
    }
}

QString PopisyPolozekKlienta::NajdiPopis(const QString &sloupec) const
{
    for (const auto &p : m_popisy)
        if (p.first == sloupec)
            return p.second;
    return sloupec;
}
