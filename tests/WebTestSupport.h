#pragma once

// Helpers shared by the web cooperation tests: the dialog with short timer
// ticks, the companion site in-process, and a browser made of a raw socket.

#include "TestDatabase.h"
#include "gui/MessageBox.h"
#include "web/TAdministraceSpolupraceSWebem.h"
#include "WebSimulator.h"

#include <QLineEdit>
#include <QPushButton>
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
    MessageBox::setNextAnswer(QMessageBox::Ok);
    TestDatabase::clearTables();
}

// Short ticks: the watchdog and the listener's wait still count the same, only faster.
inline CasovaniWebu rychleCasovani()
{
    CasovaniWebu c;
    c.pripojeno = 20;
    c.labelPripojeno = 20;
    c.cekaniNaImport = 20;
    c.odpojeni = 200;
    c.neuplnyPozadavek = 1500;
    return c;
}

// A port nothing listens on now.
inline quint16 volnyPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

inline void napis(QWidget *dialog, const char *edit, const QString &text)
{
    dialog->findChild<QLineEdit *>(QLatin1String(edit))->setText(text);
}

inline void klikni(QWidget *dialog, const char *button)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

// The desk, listening on a free port, and the site it talks to.
struct Pracoviste
{
    std::unique_ptr<WebSimulator> web;
    std::unique_ptr<TAdministraceSpolupraceSWebem> dialog;

    explicit Pracoviste(const CasovaniWebu &casovani = rychleCasovani())
    {
        dialog = std::make_unique<TAdministraceSpolupraceSWebem>(0, nullptr, casovani);
        WebSimulator::Nastaveni n;
        n.portDesky = dialog->portNaslouchani();
        web = std::make_unique<WebSimulator>(n);
        web->listen();
        napis(dialog.get(), "AdresaEdit", QStringLiteral("127.0.0.1:%1").arg(web->port()));
    }

    bool pripoj()
    {
        klikni(dialog.get(), "PripojButton");
        return QTest::qWaitFor([this] { return dialog->jePripojeno(); }, 5000);
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

} // namespace WebTest
