#include "core/Zalohovani.h"

#include "db/DatabaseError.h"
#include "db/TMojeDatabaze.h"
#include "db/Zaloha.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <algorithm>

Q_LOGGING_CATEGORY(logZaloh, "vitrana.zalohy")

namespace {

constexpr int prvniKontrolaMs = 2 * 60 * 1000;   // after the start, when the desk has settled
constexpr int dalsiKontrolaMs = 60 * 60 * 1000;

QString zapisZalohu(TMojeDatabaze &databaze, const QString &soubor, const PrubehZalohy &prubeh)
{
    try {
        Zaloha::zapis(databaze, soubor, prubeh);
        return {};
    } catch (const DatabaseError &e) {
        return e.text();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
}

} // namespace

ZalohovaniNaPozadi::ZalohovaniNaPozadi(const PristupKDatabazi &pristup, QObject *parent)
    : QObject(parent), m_pristup(pristup)
{
}

ZalohovaniNaPozadi::~ZalohovaniNaPozadi()
{
    zrusAPockej();
}

void ZalohovaniNaPozadi::zrusAPockej()
{
    if (m_vlakno) {
        m_zrusit = true;
        m_vlakno->wait();
    }
}

bool ZalohovaniNaPozadi::bezi() const
{
    return m_vlakno && m_vlakno->isRunning();
}

bool ZalohovaniNaPozadi::zacni(const QString &soubor)
{
    if (bezi())
        return false;
    if (m_vlakno)
        m_vlakno->wait();
    m_zrusit = false;
    m_vlakno.reset(QThread::create([this, soubor] {
        QString chyba;
        {
            TMojeDatabaze databaze(m_pristup.config);
            try {
                databaze.open(m_pristup.user, m_pristup.password);
                chyba = zapisZalohu(databaze, soubor, [this](qint64 hotovo, qint64 celkem) {
                    emit prubeh(hotovo, celkem);
                    return !m_zrusit.load();
                });
            } catch (const DatabaseError &e) {
                chyba = e.text();
            }
        }
        emit dokonceno(soubor, chyba);
    }));
    m_vlakno->setObjectName(QStringLiteral("zaloha"));
    m_vlakno->start(QThread::LowPriority);
    return true;
}

AutomatickeZalohy::AutomatickeZalohy(const Configuration &config, const PristupKDatabazi &pristup, QObject *parent)
    : QObject(parent), m_slozka(config.automaticBackupFolder()), m_ponechat(config.backupKeep), m_pozadi(pristup)
{
    connect(&m_pozadi, &ZalohovaniNaPozadi::dokonceno, this, &AutomatickeZalohy::dokonceno);
    connect(&m_casovac, &QTimer::timeout, this, [this] {
        m_casovac.setInterval(dalsiKontrolaMs);
        zalohujJeLiTreba();
    });
}

AutomatickeZalohy::~AutomatickeZalohy() = default;

void AutomatickeZalohy::spust()
{
    m_casovac.start(prvniKontrolaMs);
}

QString AutomatickeZalohy::jmenoSouboru(const QDateTime &cas)
{
    return QStringLiteral("zaloha-%1.sql.gz").arg(cas.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

namespace {

// When an automatic backup was made, and its place among those of the same
// second ("-2", "-3" are later); an invalid time for another file.
std::pair<QDateTime, int> poradi(const QString &jmeno)
{
    static const QRegularExpression tvar(QStringLiteral("^zaloha-(\\d{8}-\\d{6})(?:-(\\d{1,6}))?\\.sql\\.gz$"));
    const QRegularExpressionMatch m = tvar.match(jmeno);
    if (!m.hasMatch())
        return {};
    return {QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss")),
            m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()};
}

} // namespace

QDateTime AutomatickeZalohy::casZeJmena(const QString &jmeno)
{
    return poradi(jmeno).first;
}

QStringList AutomatickeZalohy::nadbytecne(const QStringList &jmena, int dni, const QDate &dnes)
{
    QList<std::pair<std::pair<QDateTime, int>, QString>> zalohy;
    for (const QString &jmeno : jmena)
        if (const auto kdy = poradi(jmeno); kdy.first.isValid())
            zalohy.append({kdy, jmeno});
    std::sort(zalohy.begin(), zalohy.end(), std::greater<>());
    // By days: a desk restarted five times a day would otherwise keep under three days.
    QStringList navic;
    QList<QDate> dny;   // kept, newest first; today among them when it has a backup
    for (const auto &[kdy, jmeno] : zalohy) {
        const QDate den = kdy.first.date();
        if (!dny.contains(den) && dny.size() < std::max(1, dni)) {
            dny << den;
            continue;
        }
        if (den != dnes)
            navic << jmeno;
    }
    return navic;
}

QString AutomatickeZalohy::novySoubor(const QDateTime &cas) const
{
    // Two backups within a second (a desk leaving right after the daily one)
    // must not replace one another.
    QString jmeno = QDir(m_slozka).filePath(jmenoSouboru(cas));
    for (int i = 2; QFile::exists(jmeno); ++i)
        jmeno = QDir(m_slozka).filePath(jmenoSouboru(cas).replace(QLatin1String(".sql.gz"),
                                                                 QStringLiteral("-%1.sql.gz").arg(i)));
    return jmeno;
}

bool AutomatickeZalohy::zalohujJeLiTreba(const QDateTime &ted)
{
    if (m_pozadi.bezi())
        return false;
    if (!QDir().mkpath(m_slozka)) {
        zaznamenej(tr("Automatická záloha selhala: složku %1 nelze vytvořit.").arg(m_slozka), true);
        return false;
    }
    const QStringList jmena = QDir(m_slozka).entryList({QStringLiteral("zaloha-*.sql.gz")}, QDir::Files);
    // A day without a backup gets one, however soon after yesterday's: the
    // desk may be killed before it closes.
    for (const QString &jmeno : jmena) {
        const QDateTime cas = casZeJmena(jmeno);
        if (cas.isValid() && cas.date() == ted.date() && cas <= ted.addSecs(60))
            return false;
    }
    if (!zamkni())
        return false;
    return m_pozadi.zacni(novySoubor(ted));
}

bool AutomatickeZalohy::zamkni()
{
    // Another desk on this folder may be writing its backup right now.
    m_zamek = std::make_unique<QLockFile>(QDir(m_slozka).filePath(QStringLiteral("zalohy.lock")));
    m_zamek->setStaleLockTime(0);   // a lock of a desk that died is taken over
    if (m_zamek->tryLock(0))
        return true;
    m_zamek.reset();
    return false;
}

bool AutomatickeZalohy::zalohujPriOdchodu(TMojeDatabaze &databaze)
{
    m_casovac.stop();
    m_pozadi.zrusAPockej();   // the backup at leaving is the newer one
    m_zamek.reset();
    if (!QDir().mkpath(m_slozka)) {
        zaznamenej(tr("Záloha při ukončení selhala: složku %1 nelze vytvořit.").arg(m_slozka), true);
        return false;
    }
    if (!zamkni())
        return false;   // another desk is writing one this very moment
    const QString soubor = novySoubor(QDateTime::currentDateTime());
    const QString chyba = zapisZalohu(databaze, soubor, {});
    dokonceno(soubor, chyba);
    return chyba.isEmpty();
}

void AutomatickeZalohy::dokonceno(const QString &soubor, const QString &chyba)
{
    m_zamek.reset();
    if (!chyba.isEmpty()) {
        zaznamenej(tr("Automatická záloha selhala: %1").arg(chyba), true);
        return;
    }
    const qint64 velikost = QFileInfo(soubor).size();
    zaznamenej(tr("Záloha %1 zapsána (%2 kB).").arg(QFileInfo(soubor).fileName()).arg((velikost + 1023) / 1024), false);
    odstranNadbytecne();
}

void AutomatickeZalohy::odstranNadbytecne()
{
    const QDir slozka(m_slozka);
    for (const QString &jmeno : nadbytecne(slozka.entryList({QStringLiteral("zaloha-*.sql.gz")}, QDir::Files), m_ponechat,
                                           QDate::currentDate()))
        if (!QFile::remove(slozka.filePath(jmeno)))
            zaznamenej(tr("Starou zálohu %1 nelze smazat.").arg(slozka.filePath(jmeno)), true);
}

void AutomatickeZalohy::zaznamenej(const QString &text, bool chyba)
{
    m_stav = text;
    m_selhala = chyba;
    if (chyba)
        qCWarning(logZaloh, "%s", qUtf8Printable(text));
    else
        qCInfo(logZaloh, "%s", qUtf8Printable(text));
    // The folder's own log: an administrator looking at the backups finds
    // there why one is missing.
    QFile log(QDir(m_slozka).filePath(QStringLiteral("zalohy.log")));
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write((QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + text + u'\n').toUtf8());
    emit stav(text, chyba);
}
