// The companion web site for trying the desk's web cooperation by hand:
//   vitrana_websim [--port 8080] [--dir /zarventocz/www/vitrana] ...
// Guests book at http://127.0.0.1:<port><dir>/ and are forwarded to the desk.

#include "WebSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vitrana_websim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Companion web site for the Vitrana desk's web cooperation."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port to listen on (default 8080)."),
                                  QStringLiteral("port"), QStringLiteral("8080"));
    const QCommandLineOption listenAll(QStringLiteral("listen-all"), QStringLiteral("Listen on every address, not only 127.0.0.1."));
    const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("Directory of the scripts (default /zarventocz/www/vitrana)."),
                                 QStringLiteral("path"), QStringLiteral("/zarventocz/www/vitrana"));
    const QCommandLineOption deskHost(QStringLiteral("desk-host"),
                                      QStringLiteral("The desk's address until it registers one (default 127.0.0.1)."),
                                      QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption deskPort(QStringLiteral("desk-port"), QStringLiteral("The desk's listening port (default 9876)."),
                                      QStringLiteral("port"), QStringLiteral("9876"));
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Also write what the desk sends into this folder."),
                                  QStringLiteral("folder"));
    const QCommandLineOption close(QStringLiteral("close"), QStringLiteral("Close the connection after every reply."));
    const QCommandLineOption lose(QStringLiteral("lose-outcomes"),
                                  QStringLiteral("Take the desk's outcomes but keep offering the reservations, as if "
                                                 "the answers had been lost."));
    const QCommandLineOption behaviour(QStringLiteral("behaviour"),
                                       QStringLiteral("How the import script answers: normal, pieces, never-complete, "
                                                      "close-early, malformed (the whole reply), bad-reservation "
                                                      "(an impossible date in the first one), silent, endless."),
                                       QStringLiteral("kind"), QStringLiteral("normal"));
    const QCommandLineOption pause(QStringLiteral("pause"), QStringLiteral("Milliseconds between the pieces of a reply (default 2000)."),
                                   QStringLiteral("ms"), QStringLiteral("2000"));
    parser.addOptions({port, listenAll, dir, deskHost, deskPort, data, close, lose, behaviour, pause});
    parser.process(app);

    WebSimulator::Nastaveni nastaveni;
    nastaveni.adresar = parser.value(dir);
    nastaveni.hostDesky = parser.value(deskHost);
    nastaveni.portDesky = quint16(parser.value(deskPort).toUInt());
    nastaveni.slozkaDat = parser.value(data);
    nastaveni.zavriPoOdpovedi = parser.isSet(close);
    nastaveni.ztraciVysledky = parser.isSet(lose);
    WebSimulator site(nastaveni);

    const QHash<QString, WebSimulator::Chovani> kinds{
        {QStringLiteral("normal"), WebSimulator::Chovani::Normalne},
        {QStringLiteral("pieces"), WebSimulator::Chovani::PoKusech},
        {QStringLiteral("never-complete"), WebSimulator::Chovani::NikdyNedokonci},
        {QStringLiteral("close-early"), WebSimulator::Chovani::ZavriPredcasne},
        {QStringLiteral("malformed"), WebSimulator::Chovani::ChybneHodnoty},
        {QStringLiteral("bad-reservation"), WebSimulator::Chovani::ChybnaRezervace},
        {QStringLiteral("silent"), WebSimulator::Chovani::Mlci},
        {QStringLiteral("endless"), WebSimulator::Chovani::Nekonecne},
    };
    QTextStream err(stderr);
    if (!kinds.contains(parser.value(behaviour))) {
        err << "Unknown behaviour " << parser.value(behaviour) << "\n";
        return 2;
    }
    site.setChovani(kinds.value(parser.value(behaviour)));
    site.setProdlevaKusu(parser.value(pause).toInt());

    const QHostAddress address = parser.isSet(listenAll) ? QHostAddress::Any : QHostAddress::LocalHost;
    if (!site.listen(address, quint16(parser.value(port).toUInt()))) {
        err << "Cannot listen on port " << parser.value(port) << "\n";
        return 1;
    }
    QTextStream(stdout) << "Booking page: " << site.adresaWebu() << "/\n"
                        << "State:        " << site.adresaWebu() << "/stav.php\n"
                        << "In the desk's web dialog: address 127.0.0.1:" << site.port() << ", directory "
                        << nastaveni.adresar << Qt::endl;
    return app.exec();
}
