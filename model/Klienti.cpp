#include "model/Klienti.h"

#include "db/CiselneRady.h"
#include "db/DatabaseError.h"
#include "db/SqlKlienti.h"
#include "db/SqlObjednavky.h"
#include "db/TMojeDatabaze.h"
#include "db/TMojeQuery.h"
#include "model/Historie.h"
#include "model/Kolekce.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <string>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

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
    // The id from the clients' series (as the web import takes its ids),
    // never from the table's counter, which the series would not know of.
    TMojeDatabaze::current().save({}, [&](TMojeQuery &q) {
        const int id = CiselneRady::vezmi(q, CiselneRady::Rada::Klient);
        q.exec(SqlKlienti::insertClient(q.format(), id, polozky, typKlientaId));
        QString jmeno;
        for (const auto &[sloupec, text] : polozky)
            if (sloupec == QLatin1String("jmeno"))
                jmeno = text;
        Historie::zapis(QCoreApplication::translate("Historie", "Klient %1 přidán").arg(jmeno),
                        Historie::ids(QStringLiteral("klient"), {id}));
        markChanged(q);
    });
}

Klient::Smazani Klient::SmazKlienta(int klientId)
{
    Smazani vysledek = Smazani::MaRezervace;
    TMojeDatabaze::current().save(SqlKlienti::lockClientDelete(klientId), [&](TMojeQuery &q) {
        vysledek = Smazani::MaRezervace;
        q.setSql(SqlObjednavky::countOfClient(klientId));
        q.open();
        if (q.integer(QStringLiteral("pocet")) > 0)
            return;
        q.setSql(SqlKlienti::selectName(klientId));
        q.open();
        const QString jmeno = q.isEmpty() ? QString() : q.text(QStringLiteral("jmeno"));
        q.exec(SqlKlienti::deleteClient(klientId));
        vysledek = q.rowsAffected() > 0 ? Smazani::Smazan : Smazani::UzNeni;
        if (vysledek == Smazani::Smazan)
            Historie::zapis(QCoreApplication::translate("Historie", "Klient %1 smazán").arg(jmeno),
                            Historie::ids(QStringLiteral("klient"), {klientId}));
        // Gone already: the list that offered the client was stale (a writer
        // that does not bump the stamp), so every desk reads it again.
        markChanged(q);
    });
    return vysledek;
}

void Klient::markChanged(TMojeQuery &q)
{
    q.exec(SqlKlienti::bumpClientStamp());
}

namespace {
// Latin letters (what names are written in) up to the end of Latin Extended-B.
constexpr char16_t latinEnd = 0x250;

QString decompose(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KD);
}
} // namespace

QString searchKey(const QString &text)
{
    // Decomposed, a letter with a diacritic is the letter followed by its
    // mark. Latin text is decomposed letter by letter from a table: the same
    // as decomposing it whole (its marks all go), and fast enough for a list
    // of a hundred thousand clients.
    static const std::vector<QString> latin = [] {
        std::vector<QString> table(latinEnd);
        for (char16_t c = 0x80; c < latinEnd; ++c)
            table[c] = decompose(QString(QChar(c)));
        return table;
    }();
    QString decomposed;
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < latinEnd; })) {
        decomposed.reserve(text.size());
        for (const QChar c : text)
            if (c.unicode() < 0x80)
                decomposed += c;
            else
                decomposed += latin[c.unicode()];
    } else {
        decomposed = decompose(text);
    }
    QString key;
    key.reserve(decomposed.size());
    bool space = false;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isSpace()) {
            space = !key.isEmpty();
            continue;
        }
        if (space)
            key += u' ';
        space = false;
        key += c.toCaseFolded();
    }
    // A space typed last belongs to the search: "jan " finds "Jan Novák", not "Jana".
    if (space)
        key += u' ';
    return key;
}

namespace {
// Counts of equal texts, the texts being views into buffers that outlive the count.
using Pocty = std::unordered_map<std::string_view, int>;

std::string_view view(const QByteArray &buffer, const std::vector<quint32> &zacatky, std::size_t i)
{
    return std::string_view(buffer.constData() + zacatky[i], zacatky[i + 1] - zacatky[i]);
}

Pocty spocitej(const QByteArray &buffer, const std::vector<quint32> &zacatky)
{
    Pocty pocty;
    pocty.reserve(zacatky.size());
    for (std::size_t i = 0; i + 1 < zacatky.size(); ++i)
        ++pocty[view(buffer, zacatky, i)];
    return pocty;
}

void append(QByteArray &buffer, std::vector<quint32> &zacatky, const QString &text)
{
    buffer += text.toUtf8();
    zacatky.push_back(quint32(buffer.size()));
}

/**
 * searchKey of Latin text taken character by character from a table: what
 * each character alone becomes in UTF-8 (its letters without their marks,
 * case folded), white space as ' ' (no byte of a longer UTF-8 character is
 * a space, so ' ' stands for every kind of it).
 */
struct LatinFold
{
    std::array<quint16, latinEnd + 1> zacatky{};   // character c is bytes [zacatky[c], zacatky[c + 1])
    QByteArray bytes;
    std::size_t nejvic = 1;                          // the most bytes a byte of a line becomes

    LatinFold()
    {
        for (char16_t c = 0; c < latinEnd; ++c) {
            zacatky[c] = quint16(bytes.size());
            const QString decomposed = c < 0x80 ? QString(QChar(c)) : decompose(QString(QChar(c)));
            for (const QChar d : decomposed) {
                if (d.category() == QChar::Mark_NonSpacing)
                    continue;
                bytes += d.isSpace() ? QByteArray(" ") : QString(d.toCaseFolded()).toUtf8();
            }
            nejvic = std::max(nejvic, std::size_t(bytes.size() - zacatky[c] + 1) / (c < 0x80 ? 1 : 2) + 1);
        }
        zacatky[latinEnd] = quint16(bytes.size());
    }

    /**
     * The key of a UTF-8 line into `key` (room for nejvic bytes per byte of
     * the line): its length, or npos for a line with a character past Latin,
     * which searchKey decomposes as a whole.
     */
    std::size_t klic(std::string_view line, char *key) const
    {
        char *k = key;
        bool space = false;
        for (std::size_t i = 0; i < line.size();) {
            const auto b = uchar(line[i]);
            unsigned c = b;
            if (b >= 0x80) {
                // Two bytes up to U+07FF; the lines are valid UTF-8 (made by toUtf8).
                if (b < 0xC2 || b > 0xDF || i + 1 >= line.size())
                    return std::string_view::npos;
                c = ((b & 0x1Fu) << 6) | (uchar(line[i + 1]) & 0x3Fu);
                if (c >= latinEnd)
                    return std::string_view::npos;
                ++i;
            }
            ++i;
            for (unsigned j = zacatky[c]; j < zacatky[c + 1]; ++j) {
                const char x = bytes[j];
                if (x == ' ') {
                    space = k != key;
                    continue;
                }
                if (space)
                    *k++ = ' ';
                space = false;
                *k++ = x;
            }
        }
        if (space)
            *k++ = ' ';
        return std::size_t(k - key);
    }
};

const LatinFold &latinFold()
{
    static const LatinFold fold;
    return fold;
}

struct Razitko
{
    int zmena = 0;
    int posledni = 0;
    bool operator==(const Razitko &) const = default;
};

struct Sdileny
{
    std::optional<Razitko> razitko;
    std::shared_ptr<const Klienti> seznam;
};
} // namespace

std::shared_ptr<const Klienti> Klienti::aktualni()
{
    // Per connection and database: a test's second desk, or a connection
    // opened again on another database, has a list of its own.
    static thread_local std::map<QString, Sdileny> sdilene;
    TMojeDatabaze &db = TMojeDatabaze::current();
    Sdileny &sdileny = sdilene[db.connectionName() + u'/' + db.database().databaseName()];
    std::optional<Razitko> razitko;
    try {
        TMojeQuery q(db);
        q.setSql(SqlKlienti::selectClientStamp());
        q.open();
        razitko = Razitko{q.integer(QStringLiteral("zmena")), q.integer(QStringLiteral("posledni"))};
    } catch (const DatabaseError &) {
        // No stamp table (an account that may not create it): read every time, as before it.
    }
    if (!sdileny.seznam || !razitko || sdileny.razitko != razitko) {
        sdileny.seznam.reset();   // the old list goes as soon as no dialog shows it
        sdileny.seznam = nacti();
        sdileny.razitko = razitko;
#ifdef __GLIBC__
        // The read's many short-lived strings would otherwise keep the heap
        // at its peak: the desk's memory is the list's few megabytes.
        malloc_trim(0);
#endif
    }
    return sdileny.seznam;
}

std::shared_ptr<const Klienti> Klienti::nacti()
{
    // First the parts of each line, compactly: a long list must not become
    // a hundred thousand records of strings even for a moment.
    std::vector<int> id;
    QByteArray jmena, kontakty;
    std::vector<quint32> zacatkyJmen{0}, zacatkyKontaktu{0};
    std::vector<int> typ;
    QStringList typy;
    {
        TMojeQuery q;
        q.setSql(SqlKlienti::selectClients());
        q.open();
        for (; !q.eof(); q.next()) {
            id.push_back(q.integer(QStringLiteral("klient_id")));
            append(jmena, zacatkyJmen, q.text(QStringLiteral("jmeno")));
            const QString telefon = q.text(QStringLiteral("telefon")).trimmed();
            append(kontakty, zacatkyKontaktu, !telefon.isEmpty() ? telefon : q.text(QStringLiteral("email")).trimmed());
            const QString typKlienta = q.text(QStringLiteral("typ_klienta"));
            qsizetype t = typy.indexOf(typKlienta);
            if (t < 0) {
                t = typy.size();
                typy << typKlienta;
            }
            typ.push_back(int(t));
        }
    }
    std::vector<QByteArray> typyUtf8;
    for (const QString &t : typy)
        typyUtf8.push_back(t.toUtf8());

    // Clients who share a name: their type and a phone or e-mail after it.
    QByteArray radky;
    std::vector<quint32> zacatky{0};
    {
        const Pocty jmen = spocitej(jmena, zacatkyJmen);
        // The exact size first: the buffer is never copied to grow.
        qsizetype delka = jmena.size();
        for (std::size_t i = 0; i < id.size(); ++i) {
            const qsizetype typKlienta = typyUtf8[typ[i]].size();
            const qsizetype kontakt = zacatkyKontaktu[i + 1] - zacatkyKontaktu[i];
            if ((typKlienta > 0 || kontakt > 0) && jmen.at(view(jmena, zacatkyJmen, i)) > 1)
                delka += 3 + typKlienta + (typKlienta > 0 && kontakt > 0 ? 2 : 0) + kontakt;
        }
        radky.reserve(delka);
        zacatky.reserve(id.size() + 1);
        for (std::size_t i = 0; i < id.size(); ++i) {
            const std::string_view jmeno = view(jmena, zacatkyJmen, i);
            radky.append(jmeno.data(), qsizetype(jmeno.size()));
            const QByteArray &typKlienta = typyUtf8[typ[i]];
            const std::string_view kontakt = view(kontakty, zacatkyKontaktu, i);
            if ((!typKlienta.isEmpty() || !kontakt.empty()) && jmen.at(jmeno) > 1) {
                radky += " (";
                radky += typKlienta;
                if (!typKlienta.isEmpty() && !kontakt.empty())
                    radky += ", ";
                radky.append(kontakt.data(), qsizetype(kontakt.size()));
                radky += ')';
            }
            zacatky.push_back(quint32(radky.size()));
        }
    }
    jmena = QByteArray();
    kontakty = QByteArray();

    // Where even that repeats, the client's number. Mostly nothing repeats
    // and the lines are the list's as they are.
    auto seznam = std::shared_ptr<Klienti>(new Klienti);
    const Pocty radku = spocitej(radky, zacatky);
    const auto cislo = [&](std::size_t i) {
        return QCoreApplication::translate("Klienti", " [klient č. %1]").arg(id[i]).toUtf8();
    };
    qsizetype delka = radky.size();
    for (std::size_t i = 0; i < id.size(); ++i)
        if (radku.at(view(radky, zacatky, i)) > 1)
            delka += cislo(i).size();
    if (delka == radky.size()) {
        seznam->m_radky = std::move(radky);
        seznam->m_zacatky = std::move(zacatky);
    } else {
        seznam->m_radky.reserve(delka);
        seznam->m_zacatky.reserve(id.size() + 1);
        for (std::size_t i = 0; i < id.size(); ++i) {
            const std::string_view radek = view(radky, zacatky, i);
            seznam->m_radky.append(radek.data(), qsizetype(radek.size()));
            if (radku.at(radek) > 1)
                seznam->m_radky += cislo(i);
            seznam->m_zacatky.push_back(quint32(seznam->m_radky.size()));
        }
    }
    seznam->m_radky.squeeze();
    seznam->m_zacatky.shrink_to_fit();
    id.shrink_to_fit();
    seznam->m_id = std::move(id);
    return seznam;
}

int Klienti::idNaRadku(int radek) const
{
    return radek >= 0 && radek < pocet() ? m_id[std::size_t(radek)] : -1;
}

QString Klienti::radek(int radek) const
{
    if (radek < 0 || radek >= pocet())
        return QString();
    const auto i = std::size_t(radek);
    return QString::fromUtf8(m_radky.constData() + m_zacatky[i], m_zacatky[i + 1] - m_zacatky[i]);
}

QList<int> Klienti::radkyObsahujici(const QString &klic) const
{
    QList<int> radky;
    if (klic.isEmpty()) {
        radky.reserve(pocet());
        for (int i = 0; i < pocet(); ++i)
            radky << i;
        return radky;
    }
    // Each line's key is made as the search goes: keeping them all would
    // double the list. UTF-8 never matches inside a character.
    const QByteArray hledany = klic.toUtf8();
    const std::string_view hledana(hledany.constData(), std::size_t(hledany.size()));
    const LatinFold &fold = latinFold();
    std::string klicRadku;
    for (std::size_t i = 0; i + 1 < m_zacatky.size(); ++i) {
        const std::string_view radek = view(m_radky, m_zacatky, i);
        if (klicRadku.size() < radek.size() * fold.nejvic)
            klicRadku.resize(radek.size() * fold.nejvic);
        std::string_view klicRadek(klicRadku.data(), fold.klic(radek, klicRadku.data()));
        QByteArray dlouhy;
        if (klicRadek.size() == std::string_view::npos) {
            dlouhy = searchKey(QString::fromUtf8(radek.data(), qsizetype(radek.size()))).toUtf8();
            klicRadek = std::string_view(dlouhy.constData(), std::size_t(dlouhy.size()));
        }
        if (klicRadek.find(hledana) != std::string_view::npos)
            radky << int(i);
    }
    return radky;
}

namespace {
// A hotel's own file in the working directory wins; a desk started from
// anywhere else (the menu, an installed package) has the labels built in.
QString labelFile()
{
    const QString own = QStringLiteral("text/popis_polozek_klienta.txt");
    return QFileInfo::exists(own) ? own : QStringLiteral(":/text/popis_polozek_klienta.txt");
}
} // namespace

PopisyPolozekKlienta::PopisyPolozekKlienta()
    : PopisyPolozekKlienta(labelFile())
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
