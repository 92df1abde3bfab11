#pragma once

#include "db/Configuration.h"
#include "web/engine/CteniExportu.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

class QLockFile;
#include <atomic>
#include <memory>

class TMojeDatabaze;

/**
 * One backup at a time on a thread of its own, with a connection of its
 * own, so the window never waits for it. Its signals arrive on the thread
 * the object lives on.
 */
class ZalohovaniNaPozadi : public QObject
{
    Q_OBJECT
public:
    explicit ZalohovaniNaPozadi(const PristupKDatabazi &pristup, QObject *parent = nullptr);
    /** Cancels a backup under way and waits for its thread. */
    ~ZalohovaniNaPozadi() override;

    /** Starts a backup into `soubor`; false (and nothing started) while one runs. */
    bool zacni(const QString &soubor);
    /** Asks a running backup to stop; it ends with dokonceno() and an error. */
    void zrus() { m_zrusit = true; }
    /** Cancels a backup under way and waits until its thread has ended. */
    void zrusAPockej();
    bool bezi() const;

signals:
    void prubeh(qint64 hotovo, qint64 celkem);
    /** `chyba` is empty when the backup was written. */
    void dokonceno(const QString &soubor, const QString &chyba);

private:
    const PristupKDatabazi m_pristup;
    std::unique_ptr<QThread> m_vlakno;
    std::atomic_bool m_zrusit = false;
};

/**
 * The private server's automatic backups: in the configured folder (the
 * private folder's backups/ by default), one each day the desk runs (soon
 * after the start when the day has none yet) and one when the last desk
 * leaves; of the last `keep` days with backups the newest of each is kept,
 * and all of today's. A
 * failure is logged (the journal and the folder's zalohy.log) and told
 * through stav(), never silent.
 */
class AutomatickeZalohy : public QObject
{
    Q_OBJECT
public:
    AutomatickeZalohy(const Configuration &config, const PristupKDatabazi &pristup, QObject *parent = nullptr);
    ~AutomatickeZalohy() override;

    /** Starts the daily check: the first soon after the start, then every hour. */
    void spust();
    /** Makes a backup on the worker when the day of `ted` has none yet; false when none was started. */
    bool zalohujJeLiTreba(const QDateTime &ted = QDateTime::currentDateTime());
    /**
     * The backup when the last desk leaves, on the given connection, waiting
     * for it (the window is gone by then). Gives whether it was written.
     */
    bool zalohujPriOdchodu(TMojeDatabaze &databaze);

    QString slozka() const { return m_slozka; }
    /** The file name of an automatic backup made at `cas`. */
    static QString jmenoSouboru(const QDateTime &cas);
    /** When an automatic backup's file was made, from its name; invalid for another file. */
    static QDateTime casZeJmena(const QString &jmeno);
    /**
     * Of the automatic backups' names, those to delete: all but the newest
     * of each of the last `dni` days that have a backup, and but every one
     * of `dnes`. Days without a backup (the hotel closed) do not count.
     */
    static QStringList nadbytecne(const QStringList &jmena, int dni, const QDate &dnes);

    /** The last outcome, for the status bar. */
    const QString &posledniStav() const { return m_stav; }
    bool posledniSelhala() const { return m_selhala; }

signals:
    /** A backup ended: a short Czech sentence, and whether it failed. */
    void stav(const QString &text, bool chyba);

private:
    void dokonceno(const QString &soubor, const QString &chyba);
    void zaznamenej(const QString &text, bool chyba);
    void odstranNadbytecne();
    bool zamkni();
    QString novySoubor(const QDateTime &cas) const;

    QString m_slozka;
    int m_ponechat;
    ZalohovaniNaPozadi m_pozadi;
    QTimer m_casovac;
    std::unique_ptr<QLockFile> m_zamek;   // held while this desk writes a backup into the folder
    QString m_stav;
    bool m_selhala = false;
};
