#pragma once

#include "db/Configuration.h"
#include "web/protocol/Exporty.h"

#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

class TMojeDatabaze;

/**
 * What a connection of its own needs to reach the desk's database: the
 * configuration (a private server's socket in it) and the desk's account.
 */
struct PristupKDatabazi
{
    Configuration config;
    QString user;
    QString password;
};

/** What one read of the prices and occupancy gave. */
struct PrecteneCeny
{
    quint64 cteni = 0;          // the request it answers
    bool bezSpojeni = false;    // the worker could not reach the database; chyba says why
    QString chyba;              // the DatabaseError's text; empty when read
    QList<Exporty::CenaDne> ceny;
};

/**
 * Reads the prices and occupancy on a thread of its own with a connection
 * of its own, opened at the first request, so that the window's thread never
 * waits for the database's work. One read at a time; a request while one
 * runs is read after it. Its waits drive no busy cursor: the indicator
 * belongs to the window's thread.
 */
class CteniExportu : public QThread
{
    Q_OBJECT
public:
    explicit CteniExportu(const PristupKDatabazi &pristup, QObject *parent = nullptr);
    /**
     * Ends a read under way (the server is asked to stop its statement, on
     * the current connection of the destroying thread) and waits for the
     * thread at most a connect's bound.
     */
    ~CteniExportu() override;

    /** The result comes as precteno(), queued to the thread this object lives on. */
    void precti(quint64 cteni);

signals:
    void precteno(const PrecteneCeny &vysledek);

protected:
    void run() override;

private:
    PrecteneCeny cti(quint64 cteni, std::unique_ptr<TMojeDatabaze> &databaze);

    const PristupKDatabazi m_pristup;
    std::mutex m_mutex;
    std::condition_variable m_podminka;
    quint64 m_pozadavek = 0;   // the request waiting to be read; 0 when none
    bool m_konec = false;
    qint64 m_idSpojeni = 0;    // the worker connection's id on the server while it reads
};
