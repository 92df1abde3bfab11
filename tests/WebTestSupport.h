#pragma once

// Helpers shared by the web cooperation tests: the engine with short limits,
// the companion site in-process, and a browser made of a raw socket.

#include "TestDatabase.h"
#include "gui/MessageBox.h"
#include "web/engine/SpolupraceSWebem.h"
#include "WebSimulator.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>

namespace WebTest {

// Each test starts from empty tables and no boxes; a box nobody expects must
// not block the test, so it is answered with OK (the history shows it).
inline void startClean()
{
    MessageBox::clearHistory();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
    TestDatabase::clearTables();
}

// Short limits: the watchdog and a guest's wait still count the same, only faster.
inline CasovaniWebu rychleCasovani()
{
    CasovaniWebu c;
    c.pripojeno = 20;
    c.cekaniNaImport = 20;
    c.odpojeni = 200;
    c.neuplnyPozadavek = 500;
    return c;
}

// A port nothing listens on now.
inline quint16 volnyPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// An error the engine signalled, and whether the receptionist's own action met it.
struct Chyba
{
    QString text;
    bool odRecepcniho;
};

// The desk, listening on a free port, and the site it talks to.
struct Pracoviste
{
    std::unique_ptr<WebSimulator> web;
    std::unique_ptr<SpolupraceSWebem> desk;
    QList<Chyba> chyby;

    explicit Pracoviste(const CasovaniWebu &casovani = rychleCasovani(), const WebSimulator::Nastaveni &site = {})
    {
        desk = std::make_unique<SpolupraceSWebem>(0, casovani);
        QObject::connect(desk.get(), &SpolupraceSWebem::chyba,
                         [this](const QString &text, bool odRecepcniho) { chyby.append({text, odRecepcniho}); });
        WebSimulator::Nastaveni n = site;
        n.portDesky = desk->portNaslouchani();
        web = std::make_unique<WebSimulator>(n);
        web->listen();
        desk->nastaveni().adresa = QStringLiteral("127.0.0.1:%1").arg(web->port());
    }

    bool pripoj()
    {
        desk->Pripoj();
        return QTest::qWaitFor([this] { return desk->jePripojeno(); }, 5000);
    }

    quint16 port() const { return desk->portNaslouchani(); }

    // Lets the watchdog tick `tiky` times, or sees it stopped with nothing
    // queued: either way a later tick has had its chance to act.
    bool dalsiTiky(int tiky = 3)
    {
        QSignalSpy spy(desk.get(), &SpolupraceSWebem::tikHlidace);
        return QTest::qWaitFor([&] {
            QCoreApplication::processEvents();
            return spy.count() >= tiky || !desk->hlidaSpojeni();
        }, 10000);
    }
};

// A browser forwarded to the desk: a plain connection to the listener.
struct Prohlizec
{
    QTcpSocket socket;
    QByteArray prijato;

    explicit Prohlizec(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] { prijato += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(5000);
    }

    void posli(const QByteArray &data)
    {
        socket.write(data);
        socket.flush();
    }

    bool odpojen() const { return socket.state() == QAbstractSocket::UnconnectedState; }
};

inline QString day(int offset)
{
    return QDate::currentDate().addDays(offset).toString(Qt::ISODate);
}

// Requests the site received for a script.
inline int requests(const WebSimulator &web, const QString &skript)
{
    return int(std::count_if(web.pozadavky().cbegin(), web.pozadavky().cend(),
                             [&](const SimPozadavek &p) { return p.skript == skript; }));
}

inline const SimPozadavek *lastRequest(const WebSimulator &web, const QString &skript)
{
    for (auto it = web.pozadavky().crbegin(); it != web.pozadavky().crend(); ++it)
        if (it->skript == skript)
            return &*it;
    return nullptr;
}

} // namespace WebTest
