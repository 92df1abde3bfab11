#pragma once

#include <QDateTime>
#include <QString>

/** Lengths of the web road's limits in milliseconds; tests shorten them. */
struct CasovaniWebu
{
    int pripojeno = 1000;          // a connection attempt gets this long; the watchdog's tick
    int cekaniNaImport = 1000;     // a guest waits at most maxTikuCekani of these for the import
    int odpojeni = 5000;           // an answered guest's connection is closed by force this long after its answer
                                   // when the browser has not closed it
    int neuplnyPozadavek = 2000;   // a guest's request must be complete this long after connecting
};

/** What the receptionist types in the web dialog; read whenever a request is composed. */
struct NastaveniWebu
{
    QString adresa = QStringLiteral("localhost");   // host or host:port of the web server
    QString adresar = QStringLiteral("/zarventocz/www/vitrana");
    QString id = QStringLiteral("1");
    QString heslo;
    QString lokalniIP;
};

enum class StavExportuCen { Nic, CekaNaSpojeni };

enum class StavImportu {
    Nic,
    PrvniPozadavek,     // the request for the reservations waits for a connection
    CekaNaOdpoved,      // sent; the reply is not complete yet
    OdpovedKOdeslani,   // stored; the outcomes wait for a connection
};

/** How an export or an import last ended. */
struct PosledniAkce
{
    QDateTime cas;          // invalid until it first ends
    bool uspech = false;
    QString text;           // a few words for a label
};
