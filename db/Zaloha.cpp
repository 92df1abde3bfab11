#include "db/Zaloha.h"
#include "db/OhlaseniRecepci.h"
#include "db/Prava.h"
#include "db/SqlHistorie.h"
#include "db/SqlZaloha.h"
#include "db/TMojeDatabaze.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <zlib.h>

using SqlZaloha::Druh;
using SqlZaloha::Sloupec;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Zaloha", text);
}

constexpr int formatZalohy = 1;
const QByteArray hlavicka = QByteArrayLiteral("-- vitrana záloha, formát ");
const QByteArray kontrolaRadek = QByteArrayLiteral("-- kontrola: ");
const QByteArray konecZalohy = QByteArrayLiteral("-- konec zálohy");
constexpr qsizetype velikostPrikazu = 1024 * 1024;
constexpr int krokPrubehu = 1000;
int radkuDavky = 10000;

// Straight on the connection, never through TMojeQuery: its reconnect would
// quietly leave the snapshot, or the session a script has set up.
void exec(TMojeDatabaze &databaze, const QString &sql)
{
    QSqlQuery q(databaze.database());
    if (!q.exec(sql))
        throw DatabaseError::fromSql(q.lastError(), databaze.lockWaitSeconds());
}

QSqlQuery select(TMojeDatabaze &databaze, const QString &sql)
{
    QSqlQuery q(databaze.database());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.exec(sql))
        throw DatabaseError::fromSql(q.lastError(), databaze.lockWaitSeconds());
    return q;
}

DatabaseError zruseno()
{
    return DatabaseError(tr("Přerušeno uživatelem."));
}

struct Tabulka
{
    QString jmeno;
    QList<Sloupec> sloupce;
    QList<int> klic;   // indexes into sloupce
};

Tabulka popisTabulky(TMojeDatabaze &databaze, const QString &jmeno)
{
    const SqlFormat format(false);
    Tabulka t{jmeno, {}, {}};
    QSqlQuery q = select(databaze, SqlZaloha::selectColumns(jmeno, format));
    while (q.next())
        t.sloupce << Sloupec{q.value(0).toString(), SqlZaloha::druhSloupce(q.value(1).toString())};
    if (t.sloupce.isEmpty())
        throw DatabaseError(tr("Tabulka %1 v databázi není.").arg(jmeno));
    q = select(databaze, SqlZaloha::selectPrimaryKey(jmeno, format));
    while (q.next()) {
        const QString column = q.value(0).toString();
        for (int i = 0; i < t.sloupce.size(); ++i)
            if (t.sloupce[i].jmeno == column)
                t.klic << i;
    }
    return t;
}

/**
 * Reads a table's rows in a stable order, chunk by chunk, giving each row's
 * text as the backup writes it; the count and checksum of that text are
 * what the backup's check line holds and what a restore compares.
 */
KontrolaTabulky ctiRadky(TMojeDatabaze &databaze, const Tabulka &t,
                         const std::function<void(const QByteArray &radek)> &radek)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    KontrolaTabulky kontrola{t.jmeno, 0, {}};
    const SqlFormat format(false);   // the caller has the session without NO_BACKSLASH_ESCAPES
    // Paging by offset rereads the skipped rows: larger chunks there.
    const int limit = t.klic.isEmpty() ? 5 * radkuDavky : radkuDavky;
    QStringList after;
    QStringList posledni(t.sloupce.size());
    QString text;
    for (;;) {
        QSqlQuery q = select(databaze, SqlZaloha::selectChunk(t.jmeno, t.sloupce, t.klic, after, kontrola.radku, limit));
        int n = 0;
        while (q.next()) {
            text.clear();
            text += u'(';
            for (int i = 0; i < t.sloupce.size(); ++i) {
                if (i > 0)
                    text += u',';
                const QVariant v = q.value(i);
                posledni[i] = v.toString();
                SqlZaloha::appendValue(text, t.sloupce[i].druh, posledni[i], v.isNull());
            }
            text += u')';
            const QByteArray bytes = text.toUtf8();
            hash.addData(bytes);
            hash.addData(QByteArrayView("\n"));
            ++n;
            ++kontrola.radku;
            if (radek)
                radek(bytes);
        }
        if (q.lastError().isValid())
            throw DatabaseError::fromSql(q.lastError(), databaze.lockWaitSeconds());
        if (n < limit)
            break;
        after.clear();
        for (int k : t.klic)
            after << SqlZaloha::literal(t.sloupce[k].druh, posledni[k], format);
    }
    kontrola.otisk = hash.result().toHex();
    return kontrola;
}

QStringList jmenaTabulek(TMojeDatabaze &databaze, qint64 *odhad = nullptr)
{
    QStringList tabulky;
    QSqlQuery q = select(databaze, SqlZaloha::selectTables());
    while (q.next()) {
        tabulky << q.value(0).toString();
        if (odhad)
            *odhad += q.value(1).toLongLong();
    }
    return tabulky;
}

QString jmenoDatabaze(TMojeDatabaze &databaze)
{
    QSqlQuery q = select(databaze, SqlZaloha::selectDatabaseName());
    return q.next() ? q.value(0).toString() : QString();
}

/** The session a dump or load changes, given back afterwards. */
class Relace
{
public:
    explicit Relace(TMojeDatabaze &databaze) : m_databaze(databaze)
    {
        QSqlQuery q = select(databaze, SqlZaloha::selectSession());
        q.next();
        m_sqlMode = q.value(0).toString();
        m_foreignKeys = q.value(1).toInt();
        m_unique = q.value(2).toInt();
    }
    /** The session's modes without NO_BACKSLASH_ESCAPES, which changes how the server writes a CREATE TABLE. */
    void backslashEscapes()
    {
        QStringList modes = m_sqlMode.split(u',', Qt::SkipEmptyParts);
        modes.removeAll(QStringLiteral("NO_BACKSLASH_ESCAPES"));
        exec(m_databaze, SqlZaloha::setSession(modes.join(u','), m_foreignKeys, m_unique));
    }
    void vrat()
    {
        exec(m_databaze, SqlZaloha::setSession(m_sqlMode, m_foreignKeys, m_unique));
        m_databaze.readSqlMode();
    }
    /** Best effort on the way out of a failure: the first error is the one to tell. */
    void vratPoChybe() noexcept
    {
        try {
            vrat();
        } catch (const DatabaseError &) {
        }
    }

private:
    TMojeDatabaze &m_databaze;
    QString m_sqlMode;
    int m_foreignKeys = 1;
    int m_unique = 1;
};

class ZapisGzip
{
public:
    explicit ZapisGzip(const QString &soubor) : m_soubor(soubor)
    {
        m_gz = gzopen(QFile::encodeName(soubor).constData(), "wb6");
        if (!m_gz)
            throw DatabaseError(tr("Soubor %1 nelze vytvořit.").arg(soubor), errnoText(), DatabaseError::Kind::Statement);
    }
    ~ZapisGzip()
    {
        if (m_gz)
            gzclose(m_gz);
    }
    void zapis(const QByteArray &data)
    {
        if (!data.isEmpty() && gzwrite(m_gz, data.constData(), unsigned(data.size())) != int(data.size()))
            throw chyba();
    }
    void zavri()
    {
        const int result = gzclose(m_gz);
        m_gz = nullptr;
        if (result != Z_OK)
            throw DatabaseError(tr("Do souboru %1 nelze zapisovat.").arg(m_soubor), errnoText(),
                                DatabaseError::Kind::Statement);
    }

private:
    static QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }
    DatabaseError chyba() const
    {
        int code = Z_OK;
        const char *text = gzerror(m_gz, &code);
        return DatabaseError(tr("Do souboru %1 nelze zapisovat.").arg(m_soubor),
                             code == Z_ERRNO ? errnoText() : QString::fromUtf8(text), DatabaseError::Kind::Statement);
    }

    QString m_soubor;
    gzFile m_gz = nullptr;
};

/**
 * Reads a script, compressed or not, and splits it into statements at ';'
 * outside quotes, backticks and comments. The comment lines between
 * statements go to their own callback: they carry the backup's header,
 * checks and end.
 */
class CteniSkriptu
{
public:
    std::function<void(const QByteArray &prikaz, qint64 radku)> prikaz;
    std::function<void(const QByteArray &radek)> komentar;
    bool nedokonceny = false;   // the file ends inside a statement

    void cti(const QString &soubor)
    {
        gzFile gz = gzopen(QFile::encodeName(soubor).constData(), "rb");
        if (!gz)
            throw DatabaseError(tr("Soubor %1 nelze otevřít.").arg(soubor),
                                QString::fromLocal8Bit(std::strerror(errno)), DatabaseError::Kind::Statement);
        struct Zavri
        {
            gzFile &gz;
            ~Zavri()
            {
                if (gz)
                    gzclose(gz);
            }
        } zavri{gz};
        gzbuffer(gz, 256 * 1024);
        QByteArray buffer(256 * 1024, Qt::Uninitialized);
        for (;;) {
            const int n = gzread(gz, buffer.data(), unsigned(buffer.size()));
            if (n <= 0)
                break;
            for (int i = 0; i < n; ++i)
                znak(buffer[i]);
        }
        int code = Z_OK;
        const char *text = gzerror(gz, &code);
        const QString reason = QString::fromUtf8(text);
        const int closed = gzclose(gz);
        gz = nullptr;
        if (code != Z_OK || closed != Z_OK)
            throw DatabaseError(tr("Soubor %1 je poškozený nebo neúplný.").arg(soubor), reason,
                                DatabaseError::Kind::Statement);
        if (m_stav == Stav::Radkovy)
            znak('\n');
        nedokonceny = m_vyznamny;
    }

private:
    enum class Stav { Normalni, Apostrof, Uvozovky, Zpetny, Radkovy, Blokovy };

    void znak(char c)
    {
        const char predchozi = m_predchozi;
        m_predchozi = c;
        switch (m_stav) {
        case Stav::Radkovy:
            if (c == '\n')
                konecKomentare();
            else if (!m_vyznamny)
                m_komentar += c;
            return;
        case Stav::Blokovy:
            if (predchozi == '*' && c == '/') {
                m_stav = Stav::Normalni;
                m_predchozi = 0;
                pridej(' ');
            }
            return;
        case Stav::Apostrof:
        case Stav::Uvozovky:
        case Stav::Zpetny: {
            const char konec = m_stav == Stav::Apostrof ? '\'' : m_stav == Stav::Uvozovky ? '"' : '`';
            if (m_escape)
                m_escape = false;
            else if (c == '\\' && m_stav != Stav::Zpetny)
                m_escape = true;
            else if (c == konec)
                m_stav = Stav::Normalni;
            m_prikaz += c;
            return;
        }
        case Stav::Normalni:
            break;
        }
        // "--" starts a comment only when a blank follows it
        if (m_pomlcky == 2) {
            m_pomlcky = 0;
            if (std::isspace(static_cast<unsigned char>(c))) {
                m_prikaz.chop(2);
                m_komentar = "--";
                m_stav = Stav::Radkovy;
                if (c == '\n')
                    konecKomentare();
                else
                    m_komentar += c;
                return;
            }
            m_vyznamny = true;
        }
        if (c == '-') {
            m_pomlcky = predchozi == '-' && m_pomlcky == 1 ? 2 : 1;
            m_prikaz += c;
            return;
        }
        if (m_pomlcky == 1)
            m_vyznamny = true;
        m_pomlcky = 0;
        if (c == '#') {
            m_komentar = "#";
            m_stav = Stav::Radkovy;
            return;
        }
        if (predchozi == '/' && c == '*' && m_prikaz.endsWith('/')) {
            m_prikaz.chop(1);
            m_stav = Stav::Blokovy;
            m_predchozi = 0;
            return;
        }
        if (c == ';') {
            if (m_vyznamny && prikaz)
                prikaz(m_prikaz.trimmed(), m_prikaz.startsWith("INSERT") ? m_zavorky : 0);
            m_prikaz.clear();
            m_vyznamny = false;
            m_zavorky = 0;
            m_hloubka = 0;
            return;
        }
        if (c == '\'')
            m_stav = Stav::Apostrof;
        else if (c == '"')
            m_stav = Stav::Uvozovky;
        else if (c == '`')
            m_stav = Stav::Zpetny;
        else if (c == '(' && m_hloubka++ == 0)
            ++m_zavorky;
        else if (c == ')')
            --m_hloubka;
        pridej(c);
    }

    void pridej(char c)
    {
        const bool mezera = std::isspace(static_cast<unsigned char>(c));
        if (!m_vyznamny && mezera)
            return;   // the statement starts at its first word
        if (c != '/')
            m_vyznamny = true;
        m_prikaz += c;
    }

    void konecKomentare()
    {
        m_stav = Stav::Normalni;
        if (!m_vyznamny && komentar)
            komentar(m_komentar);
        m_komentar.clear();
        m_predchozi = '\n';
    }

    Stav m_stav = Stav::Normalni;
    QByteArray m_prikaz;
    QByteArray m_komentar;
    bool m_vyznamny = false;   // the statement has more than blanks and comments
    bool m_escape = false;
    int m_pomlcky = 0;         // dashes just read, up to the two of a comment
    char m_predchozi = 0;
    int m_hloubka = 0;
    qint64 m_zavorky = 0;      // rows of an INSERT: parentheses at the top level
};

/**
 * Runs a script's statements on the connection; gives the INSERTed rows.
 * `zmeneno` turns true with the first statement that changed a table.
 */
qint64 nacti(TMojeDatabaze &databaze, const QString &soubor, const std::function<bool(qint64 radku)> &prubeh,
             bool *zmeneno = nullptr)
{
    CteniSkriptu cteni;
    qint64 radku = 0;
    cteni.prikaz = [&](const QByteArray &prikaz, qint64 pocet) {
        exec(databaze, QString::fromUtf8(prikaz));
        if (zmeneno && !prikaz.startsWith("SET "))
            *zmeneno = true;
        radku += pocet;
        if (prubeh && !prubeh(radku))
            throw zruseno();
    };
    cteni.cti(soubor);
    return radku;
}

struct PopisSouboru
{
    QList<KontrolaTabulky> kontroly;
    QDateTime zapsano;   // the backup's time, UTC; invalid when the header lacks it
};

PopisSouboru popisSouboru(const QString &soubor)
{
    const auto cizi = [&soubor](const QString &proc) {
        return DatabaseError(tr("Soubor %1 není úplná záloha databáze recepce.").arg(soubor), proc,
                             DatabaseError::Kind::Statement);
    };
    PopisSouboru popis;
    QList<KontrolaTabulky> &kontroly = popis.kontroly;
    QStringList tabulky;   // every table a statement of the file drops, creates or fills
    bool zacatek = false, konec = false, poKonci = false;
    CteniSkriptu cteni;
    cteni.komentar = [&](const QByteArray &radek) {
        if (konec) {
            poKonci = true;
        } else if (!zacatek) {
            // the very first thing in the file
            if (!radek.startsWith(hlavicka))
                throw cizi(tr("chybí hlavička zálohy"));
            bool ok = false;
            const int format = radek.mid(hlavicka.size()).split(',').value(0).toInt(&ok);
            if (!ok || format < 1)
                throw cizi(tr("neznámý formát zálohy"));
            if (format > formatZalohy)
                throw cizi(tr("formát %1 zapsala novější verze recepce").arg(format));
            const qsizetype zapsano = radek.indexOf(", zapsáno ");
            if (zapsano > 0)
                popis.zapsano = QDateTime::fromString(QString::fromUtf8(radek.mid(zapsano + 11).trimmed()), Qt::ISODate);
            zacatek = true;
        } else if (radek.startsWith(kontrolaRadek)) {
            const QString text = QString::fromUtf8(radek.mid(kontrolaRadek.size()));
            const qsizetype a = text.lastIndexOf(u' ');
            const qsizetype b = a > 0 ? text.lastIndexOf(u' ', a - 1) : -1;
            bool ok = false;
            KontrolaTabulky k{text.left(b), text.mid(b + 1, a - b - 1).toLongLong(&ok), text.mid(a + 1).toLatin1()};
            if (b <= 0 || !ok || k.radku < 0 || k.otisk.size() != 64
                || !std::all_of(k.otisk.begin(), k.otisk.end(), [](char c) { return std::isxdigit(uchar(c)); }))
                throw cizi(tr("vadný řádek kontroly: %1").arg(text));
            if (std::any_of(kontroly.begin(), kontroly.end(), [&k](const KontrolaTabulky &j) { return j.tabulka == k.tabulka; }))
                throw cizi(tr("tabulka %1 má dva řádky kontroly").arg(k.tabulka));
            kontroly << k;
        } else if (radek == konecZalohy) {
            konec = true;
        }
    };
    cteni.prikaz = [&](const QByteArray &prikaz, qint64) {
        if (!zacatek)
            throw cizi(tr("chybí hlavička zálohy"));
        if (konec)
            poKonci = true;
        // Only what the writer writes: a statement of any other kind would
        // change the database past every check.
        static const QRegularExpression tabulka(
            QStringLiteral("^(?:DROP TABLE IF EXISTS|CREATE TABLE|INSERT INTO) `((?:[^`]|``)+)`"));
        const QRegularExpressionMatch m = tabulka.match(QString::fromUtf8(prikaz.left(300)));
        if (m.hasMatch()) {
            const QString jmeno = m.captured(1).replace(QLatin1String("``"), QLatin1String("`"));
            if (!tabulky.contains(jmeno))
                tabulky << jmeno;
        } else if (!prikaz.startsWith("SET ")) {
            throw cizi(tr("příkaz, který záloha nepíše: %1").arg(QString::fromUtf8(prikaz.left(60))));
        }
    };
    cteni.cti(soubor);
    if (!zacatek)
        throw cizi(tr("chybí hlavička zálohy"));
    if (!konec || poKonci || cteni.nedokonceny)
        throw cizi(tr("soubor nekončí značkou konce zálohy, je useknutý"));
    // A table loaded without its check would be restored unchecked.
    for (const QString &jmeno : tabulky)
        if (std::none_of(kontroly.begin(), kontroly.end(), [&jmeno](const KontrolaTabulky &k) { return k.tabulka == jmeno; }))
            throw cizi(tr("chybí řádek kontroly tabulky %1").arg(jmeno));
    for (const KontrolaTabulky &k : kontroly)
        if (!tabulky.contains(k.tabulka))
            throw cizi(tr("řádek kontroly tabulky %1, kterou soubor neobsahuje").arg(k.tabulka));
    return popis;
}

} // namespace

namespace Zaloha {

void setChunkRows(int rows)
{
    radkuDavky = std::max(1, rows);
}

QList<KontrolaTabulky> zapis(TMojeDatabaze &databaze, const QString &soubor, const PrubehZalohy &prubeh)
{
    const QString part = soubor + QStringLiteral(".part");
    QList<KontrolaTabulky> kontroly;
    QString databazeJmeno;
    try {
        Relace relace(databaze);
        QFile::remove(part);
        ZapisGzip gz(part);
        try {
            relace.backslashEscapes();
            exec(databaze, SqlZaloha::snapshotIsolation());
            exec(databaze, SqlZaloha::startSnapshot());
            databazeJmeno = jmenoDatabaze(databaze);
            qint64 celkem = 0;
            const QStringList tabulky = jmenaTabulek(databaze, &celkem);

            gz.zapis(hlavicka + QByteArray::number(formatZalohy) + ", databáze " + databazeJmeno.toUtf8()
                     + ", zapsáno " + QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8() + "\n"
                     + tr("-- Obnova: vitrana --restore SOUBOR (nebo zcat SOUBOR | mariadb DATABÁZE)\n").toUtf8()
                     + SqlZaloha::scriptSessionStart().toUtf8() + "\n");
            qint64 hotovo = 0;
            for (const QString &jmeno : tabulky) {
                const Tabulka t = popisTabulky(databaze, jmeno);
                QSqlQuery create = select(databaze, SqlZaloha::showCreateTable(jmeno));
                create.next();
                gz.zapis((SqlZaloha::dropTable(jmeno) + QStringLiteral(";\n") + create.value(1).toString()
                          + QStringLiteral(";\n"))
                             .toUtf8());
                const QByteArray insert = SqlZaloha::insertInto(jmeno).toUtf8();
                QByteArray prikaz;
                const KontrolaTabulky kontrola = ctiRadky(databaze, t, [&](const QByteArray &radek) {
                    prikaz += prikaz.isEmpty() ? insert : QByteArrayLiteral(",\n");
                    prikaz += radek;
                    if (prikaz.size() >= velikostPrikazu) {
                        gz.zapis(prikaz + ";\n");
                        prikaz.clear();
                    }
                    if (++hotovo % krokPrubehu == 0 && prubeh && !prubeh(hotovo, std::max(hotovo, celkem)))
                        throw zruseno();
                });
                if (!prikaz.isEmpty())
                    gz.zapis(prikaz + ";\n");
                gz.zapis(kontrolaRadek + jmeno.toUtf8() + ' ' + QByteArray::number(kontrola.radku) + ' '
                         + kontrola.otisk + "\n\n");
                kontroly << kontrola;
            }
            exec(databaze, SqlZaloha::commit());
            relace.vrat();
            gz.zapis(SqlZaloha::scriptSessionEnd().toUtf8() + konecZalohy + "\n");
            gz.zavri();
            if (prubeh)
                prubeh(hotovo, hotovo);
        } catch (...) {
            try {
                exec(databaze, SqlZaloha::rollback());
            } catch (const DatabaseError &) {
            }
            relace.vratPoChybe();
            throw;
        }
        // Renamed over an older file of that name only now that it is whole.
        if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(soubor).constData()) != 0)
            throw DatabaseError(tr("Soubor %1 nelze přejmenovat na %2.").arg(part, soubor),
                                QString::fromLocal8Bit(std::strerror(errno)), DatabaseError::Kind::Statement);
    } catch (const DatabaseError &e) {
        QFile::remove(part);
        throw DatabaseError(tr("Záloha databáze %1 nebyla zapsána do souboru %2.").arg(databazeJmeno, soubor), e.text(),
                            e.kind());
    }
    return kontroly;
}

QList<KontrolaTabulky> kontrolySouboru(const QString &soubor)
{
    return popisSouboru(soubor).kontroly;
}

QStringList jinaSpojeni(TMojeDatabaze &databaze)
{
    QStringList spojeni;
    QSqlQuery q = select(databaze, SqlZaloha::selectOtherConnections());
    while (q.next())
        spojeni << tr("%1 z %2").arg(q.value(0).toString(), q.value(1).toString());
    return spojeni;
}

static QString zaberSoubor(const QString &soubor)
{
    // Claimed by creating it: two restores in one second, even in two
    // processes, never write one file.
    const QString konec = QStringLiteral(".sql.gz");
    const QString zaklad = soubor.endsWith(konec) ? soubor.chopped(konec.size()) : soubor;
    const QString pripona = soubor.endsWith(konec) ? konec : QString();
    for (int i = 1; i < 1000; ++i) {
        const QString jmeno = i == 1 ? soubor : zaklad + QStringLiteral("-%1").arg(i) + pripona;
        QFile f(jmeno);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return jmeno;
        if (!f.exists())
            throw DatabaseError(tr("Soubor %1 nelze vytvořit.").arg(jmeno), f.errorString(), DatabaseError::Kind::Statement);
    }
    throw DatabaseError(tr("Soubor %1 nelze vytvořit: jmen s číslem je příliš mnoho.").arg(soubor));
}

QString obnov(TMojeDatabaze &databaze, const QString &soubor, const QString &predObnovou, const PrubehZalohy &prubeh)
{
    const PopisSouboru popis = popisSouboru(soubor);
    const QList<KontrolaTabulky> &kontroly = popis.kontroly;
    const QString jmeno = jmenoDatabaze(databaze);
    if (const std::optional<QStringList> chybi = Prava::chybejiciNa(databaze, Prava::proObnovu()); chybi && !chybi->isEmpty())
        throw DatabaseError(tr("Obnova odmítnuta: účet, kterým se obnova připojila, nemá v databázi %1 práva %2. "
                               "Obnova potřebuje práva %3. Nic nebylo změněno.")
                                .arg(jmeno, chybi->join(QStringLiteral(", ")), Prava::proObnovu().join(QStringLiteral(", "))));
    // Desks announce themselves whatever this account may see of the process list.
    QStringList jini = OhlaseniRecepci::otevrene(databaze);
    jini += jinaSpojeni(databaze);
    if (!jini.isEmpty())
        throw DatabaseError(tr("Obnova odmítnuta: k databázi %1 je připojena jiná recepce (%2). "
                               "Ukončete ji a spusťte obnovu znovu.")
                                .arg(jmeno, jini.join(QStringLiteral("; "))));

    // Three phases on one scale: the current data saved, the file loaded, the tables read again.
    qint64 vZaloze = 0;
    for (const KontrolaTabulky &k : kontroly)
        vZaloze += k.radku;
    qint64 odhadNyni = 0;
    const QStringList puvodniTabulky = jmenaTabulek(databaze, &odhadNyni);
    const qint64 celkem = odhadNyni + 2 * vZaloze;
    const auto faze = [&](qint64 od) {
        return [&prubeh, od, celkem](qint64 hotovo) { return !prubeh || prubeh(od + hotovo, std::max(celkem, od + hotovo)); };
    };

    const QString kopie = zaberSoubor(predObnovou);
    try {
        zapis(databaze, kopie, [&](qint64 hotovo, qint64) { return faze(0)(std::min(hotovo, odhadNyni)); });
    } catch (const DatabaseError &e) {
        QFile::remove(kopie);
        throw DatabaseError(tr("Obnova odmítnuta: současná data databáze %1 se nepodařilo zálohovat, nic nebylo změněno.")
                                .arg(jmeno),
                            e.text(), e.kind());
    }

    // The history written since the backup stays: kept aside while the file loads.
    const QString historie = SqlZaloha::historyTable();
    const bool historiiStranou =
        puvodniTabulky.contains(historie)
        && std::any_of(kontroly.begin(), kontroly.end(), [&](const KontrolaTabulky &k) { return k.tabulka == historie; });
    bool zmeneno = false;
    Relace relace(databaze);
    try {
        if (historiiStranou) {
            // Left by a restore that failed: its rows are in that restore's safety copy.
            exec(databaze, SqlZaloha::dropTable(SqlZaloha::historyAside()));
            exec(databaze, SqlZaloha::renameTable(historie, SqlZaloha::historyAside()));
            zmeneno = true;
        }
        nacti(databaze, soubor, faze(odhadNyni), &zmeneno);
        // read back as zapis reads: key literals with backslash escapes
        relace.backslashEscapes();
        qint64 precteno = 0;
        const auto dalsi = faze(odhadNyni + vZaloze);
        for (const KontrolaTabulky &k : kontroly) {
            const KontrolaTabulky nyni = ctiRadky(databaze, popisTabulky(databaze, k.tabulka), [&](const QByteArray &) {
                if (++precteno % krokPrubehu == 0 && !dalsi(precteno))
                    throw zruseno();
            });
            if (nyni.radku != k.radku)
                throw DatabaseError(tr("Tabulka %1 má po obnově %2 řádků, záloha jich uvádí %3.")
                                        .arg(k.tabulka).arg(nyni.radku).arg(k.radku));
            if (nyni != k)
                throw DatabaseError(tr("Obsah tabulky %1 po obnově neodpovídá kontrolnímu součtu zálohy.").arg(k.tabulka));
        }
        relace.vrat();
        if (historiiStranou) {
            exec(databaze, SqlZaloha::insertHistoryNotRestored());
            exec(databaze, SqlZaloha::dropTable(SqlZaloha::historyAside()));
        }
        const QString kdy = popis.zapsano.isValid()
                                ? popis.zapsano.toLocalTime().toString(QStringLiteral("d. M. yyyy HH:mm:ss"))
                                : tr("neznámo kdy");
        if (puvodniTabulky.contains(historie) || jmenaTabulek(databaze).contains(historie))
            exec(databaze, SqlHistorie::insertRows(databaze.format(), databaze.machineName(),
                                                   {{tr("Databáze obnovena ze zálohy %1 zapsané %2; nahrazená "
                                                        "data jsou v souboru %3.")
                                                         .arg(soubor, kdy, kopie),
                                                     QString()}}));
        if (prubeh)
            prubeh(celkem, celkem);
    } catch (const DatabaseError &e) {
        if (!zmeneno) {
            relace.vratPoChybe();
            throw DatabaseError(tr("Obnova databáze %1 ze souboru %2 se nezdařila; data databáze nebyla změněna "
                                   "(jejich záloha je v souboru %3).")
                                    .arg(jmeno, soubor, kopie),
                                e.text(), e.kind());
        }
        QString zpet;
        try {
            nacti(databaze, kopie, {});
            // what the file added would be left beside the data put back
            for (const QString &tabulka : jmenaTabulek(databaze))
                if (!puvodniTabulky.contains(tabulka))
                    exec(databaze, SqlZaloha::dropTable(tabulka));
            relace.vrat();
        } catch (const DatabaseError &e2) {
            relace.vratPoChybe();
            zpet = e2.text();
        }
        if (!zpet.isEmpty())
            throw DatabaseError(tr("Obnova databáze %1 ze souboru %2 se nezdařila a původní data se nepodařilo vrátit. "
                                   "Jsou uložena v souboru %3.")
                                    .arg(jmeno, soubor, kopie),
                                e.text() + u'\n' + zpet, e.kind());
        throw DatabaseError(tr("Obnova databáze %1 ze souboru %2 se nezdařila; původní data jsou vrácena "
                               "(jejich záloha je v souboru %3).")
                                .arg(jmeno, soubor, kopie),
                            e.text(), e.kind());
    }
    return kopie;
}

} // namespace Zaloha
