#include "WebSimulator.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <utility>

namespace {

const char *const cp1250 = "windows-1250";

QString fromCp1250(const QByteArray &bytes)
{
    QStringDecoder decoder(cp1250);
    return decoder.decode(bytes);
}

QByteArray toCp1250(const QString &text)
{
    QStringEncoder encoder(cp1250);
    return encoder.encode(text);
}

// application/x-www-form-urlencoded, as a PHP site would read it.
QList<QPair<QString, QString>> decodeForm(const QByteArray &data, bool utf8)
{
    QList<QPair<QString, QString>> fields;
    for (const QByteArray &pair : data.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        auto decode = [utf8](QByteArray part) {
            part.replace('+', ' ');
            const QByteArray bytes = QByteArray::fromPercentEncoding(part);
            return utf8 ? QString::fromUtf8(bytes) : fromCp1250(bytes);
        };
        fields.append({decode(eq < 0 ? pair : pair.left(eq)), eq < 0 ? QString() : decode(pair.mid(eq + 1))});
    }
    return fields;
}

QString html(const QString &text)
{
    return text.toHtmlEscaped();
}

const char *reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    default: return "Not Found";
    }
}

} // namespace

QString SimPozadavek::hodnota(const QString &nazev) const
{
    for (const auto &p : pole)
        if (p.first == nazev)
            return p.second;
    return QString();
}

WebSimulator::WebSimulator(const Nastaveni &nastaveni, QObject *parent)
    : QObject(parent), m_nastaveni(nastaveni), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            m_buffer.insert(socket, QByteArray());
            m_cisloSpojeni.insert(socket, int(m_prijato.size()));
            m_prijato.append(QByteArray());
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { prijmi(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffer.remove(socket);
                m_cisloSpojeni.remove(socket);
                m_zaviraji.remove(socket);
                m_zbytky.removeIf([socket](const auto &z) { return z.first == socket; });
                socket->deleteLater();
            });
        }
    });
}

WebSimulator::~WebSimulator() = default;

qint64 WebSimulator::hodiny()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool WebSimulator::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

quint16 WebSimulator::port() const
{
    return m_server->serverPort();
}

QString WebSimulator::adresaWebu() const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(m_nastaveni.adresar);
}

QString WebSimulator::pridejRezervaci(SimRezervace rezervace)
{
    if (rezervace.id.isEmpty())
        rezervace.id = QString::number(++m_posledniId);
    m_cekajici.append(rezervace);
    return rezervace.id;
}

void WebSimulator::zapomenPozadavky()
{
    m_pozadavky.clear();
    m_prijato.clear();
    for (auto it = m_cisloSpojeni.begin(); it != m_cisloSpojeni.end(); ++it)
        it.value() = -1;
}

void WebSimulator::prijmi(QTcpSocket *socket)
{
    const QByteArray data = socket->readAll();
    const int index = m_cisloSpojeni.value(socket, -1);
    if (index >= 0 && index < m_prijato.size())
        m_prijato[index] += data;
    if (m_zaviraji.contains(socket))
        return;
    m_buffer[socket] += data;
    while (m_buffer.contains(socket) && zpracujJeden(socket)) {
    }
}

bool WebSimulator::zpracujJeden(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffer[socket];
    // The header ends at the first empty line; the desk ends lines with a
    // bare LF, browsers with CR LF.
    qsizetype pos = 0;
    qsizetype bodyStart = -1;
    QList<QByteArray> lines;
    while (bodyStart < 0) {
        const qsizetype nl = buffer.indexOf('\n', pos);
        if (nl < 0)
            return false;
        QByteArray line = buffer.mid(pos, nl - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = nl + 1;
        if (!line.isEmpty())
            lines.append(line);
        else if (!lines.isEmpty())
            bodyStart = pos;
    }

    SimPozadavek p;
    const QList<QByteArray> requestLine = lines.first().split(' ');
    p.metoda = QString::fromLatin1(requestLine.value(0));
    const QByteArray target = requestLine.value(1);
    qsizetype length = 0;
    QByteArray host;
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length")
            length = value.toLongLong();
        else if (name == "host")
            host = value;
    }
    if (buffer.size() < bodyStart + length)
        return false;
    const qint64 prijato = hodiny();   // the request is all here: what follows is the site's own work
    p.hlavicka = buffer.left(bodyStart);
    p.telo = buffer.mid(bodyStart, length);
    buffer.remove(0, bodyStart + length);

    const qsizetype question = target.indexOf('?');
    p.cesta = QString::fromUtf8(QByteArray::fromPercentEncoding(question < 0 ? target : target.left(question)));
    p.skript = p.cesta.section(u'/', -1);
    const bool fromBrowser = p.metoda == QLatin1String("GET") || p.skript == QLatin1String("rezervuj.php");
    p.pole = decodeForm(question < 0 ? p.telo : target.mid(question + 1) + '&' + p.telo, fromBrowser);
    m_pozadavky.append(p);
    m_casPrijeti.insert(p.skript, prijato);
    ++m_pocetPrijeti[p.skript];

    const QString dir = m_nastaveni.adresar;
    QString relative;
    if (p.cesta.startsWith(dir + u'/'))
        relative = p.cesta.mid(dir.size() + 1);
    else if (p.cesta != dir && p.cesta != QLatin1String("/"))
        relative = QStringLiteral("?");   // outside the site

    if (p.metoda == QLatin1String("GET")
        && (relative.isEmpty() || relative == QLatin1String("index.php") || relative == QLatin1String("index.html"))) {
        posli(socket, 200, "text/html; charset=utf-8", rezervacniStranka());
    } else if (relative == QLatin1String("rezervuj.php") && p.metoda == QLatin1String("POST")) {
        rezervuj(socket, p, host);
    } else if (relative == QLatin1String("navrat.php")) {
        posli(socket, 200, "text/html; charset=utf-8", navratovaStranka(p));
    } else if (relative == QLatin1String("stav.php")) {
        posli(socket, 200, "text/plain; charset=utf-8", stavovaStranka());
    } else if (relative == QLatin1String("typy_pokoju.php") || relative == QLatin1String("ceny_a_obsazenost.php")) {
        static const QRegularExpression rowField(QStringLiteral("^(typy|ceny)\\[(\\d+)\\]\\[(\\w+)\\]$"));
        QList<QMap<QString, QString>> rows;
        for (const auto &[name, value] : p.pole) {
            const auto m = rowField.match(name);
            if (!m.hasMatch())
                continue;
            const int i = m.captured(2).toInt();
            if (i >= 100000)
                continue;
            while (rows.size() <= i)
                rows.append(QMap<QString, QString>());
            rows[i].insert(m.captured(3), value);
        }
        (relative.startsWith(u't') ? m_typy : m_ceny) = rows;
        ulozDoSlozky(relative, p.pole);
        posli(socket, 200, "text/plain; charset=windows-1250", "OK\n");
    } else if (relative == QLatin1String("rezervace_na_vitrane.php")) {
        posliImport(socket);
    } else if (relative == QLatin1String("rezervace_na_vitrane2.php")) {
        static const QRegularExpression outcome(QStringLiteral("^rezervace\\[(.*)\\]$"));
        QSet<QString> answered;   // one pass over the queue: thousands of outcomes come at once
        for (const auto &[name, value] : p.pole) {
            const auto m = outcome.match(name);
            if (!m.hasMatch())
                continue;
            m_vysledky.insert(m.captured(1), value);
            answered.insert(m.captured(1));
        }
        if (!m_nastaveni.ztraciVysledky)
            m_cekajici.removeIf([&](const SimRezervace &r) { return answered.contains(r.id); });
        ulozDoSlozky(relative, p.pole);
        posli(socket, 200, "text/plain; charset=windows-1250", "OK\n");
    } else if (relative == QLatin1String("uloz_ip_adresu.php")) {
        m_ipAdresa = p.hodnota(QStringLiteral("ip_adresa"));
        ulozDoSlozky(relative, p.pole);
        posli(socket, 200, "text/plain; charset=windows-1250", "OK\n");
    } else {
        posli(socket, 404, "text/plain; charset=utf-8", "Not found\n");
    }
    emit pozadavekZpracovan(p.skript);
    return true;
}

void WebSimulator::posli(QTcpSocket *socket, int status, const QByteArray &typ, const QByteArray &telo,
                         const QByteArray &dalsiHlavicky)
{
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n"
                       + "Content-Type: " + typ + "\r\n"
                       + "Content-Length: " + QByteArray::number(telo.size()) + "\r\n" + dalsiHlavicky;
    if (m_nastaveni.zavriPoOdpovedi)
        reply += "Connection: close\r\n";
    reply += "\r\n" + telo;
    // Replies keep the order of the requests: behind a held rest they wait too.
    for (auto &held : m_zbytky) {
        if (held.first == socket) {
            held.second += reply;
            return;
        }
    }
    socket->write(reply);
    if (m_nastaveni.zavriPoOdpovedi)
        zavri(socket);
}

void WebSimulator::zavri(QTcpSocket *socket)
{
    if (m_nastaveni.prodlevaZavreni <= 0) {
        socket->disconnectFromHost();
        return;
    }
    m_zaviraji.insert(socket);
    QTimer::singleShot(m_nastaveni.prodlevaZavreni, socket, [socket] { socket->disconnectFromHost(); });
}

QByteArray WebSimulator::odpovedImportu() const
{
    if (!m_vlastniOdpoved.isEmpty())
        return m_vlastniOdpoved;
    QString text;
    if (m_chovani == Chovani::ChybneHodnoty)
        text += QStringLiteral("pocet_rezervaci=jedna\n");
    else
        text += QStringLiteral("pocet_rezervaci=%1\n").arg(m_cekajici.size());
    for (int i = 0; i < m_cekajici.size(); ++i) {
        const SimRezervace &r = m_cekajici[i];
        const bool broken = m_chovani == Chovani::ChybnaRezervace && i == 0;
        const QString n = QString::number(i);
        text += QStringLiteral("rezervaceid") + n + u'=' + r.id + u'\n';
        text += QStringLiteral("pokojid") + n + u'=' + r.pokojid + u'\n';
        text += QStringLiteral("datum_od") + n + u'=' + (broken ? QStringLiteral("2002-02-30") : r.datum_od) + u'\n';
        text += QStringLiteral("datum_do") + n + u'=' + r.datum_do + u'\n';
        text += QStringLiteral("cena") + n + u'=' + r.cena + u'\n';
        text += QStringLiteral("jmeno") + n + u'=' + r.jmeno + u'\n';
        text += QStringLiteral("telefon") + n + u'=' + r.telefon + u'\n';
        text += QStringLiteral("email") + n + u'=' + r.email + u'\n';
        text += QStringLiteral("stat") + n + u'=' + r.stat + u'\n';
    }
    text += QStringLiteral("konec_dat=true\n");
    return toCp1250(text);
}

void WebSimulator::posliImport(QTcpSocket *socket)
{
    if (m_chovani == Chovani::Mlci)
        return;
    if (m_chovani == Chovani::Nekonecne) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=windows-1250\r\n\r\n");
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { posliNekonecne(socket); });
        posliNekonecne(socket);
        return;
    }
    const QByteArray body = odpovedImportu();
    const QByteArray header = "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=windows-1250\r\n"
                              "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n";
    for (auto &held : m_zbytky) {
        if (held.first == socket) {
            held.second += header + body;
            return;
        }
    }
    qsizetype end = body.toLower().indexOf("konec_dat");
    if (end < 0)
        end = body.size();
    switch (m_chovani) {
    case Chovani::NikdyNedokonci:
        socket->write(header + body.left(end));
        m_zbytky.append({socket, QByteArray()});   // later replies never come either
        return;
    case Chovani::ZavriPredcasne:
        socket->write(header + body.left(end / 2));
        socket->disconnectFromHost();
        return;
    case Chovani::PoKusech: {
        // The first piece ends inside a line, before konec_dat.
        const qsizetype split = qMin(end, body.size() / 2);
        socket->write(header + body.left(split));
        m_zbytky.append({socket, body.mid(split)});
        if (m_prodlevaKusu >= 0)
            QTimer::singleShot(m_prodlevaKusu, this, &WebSimulator::posliZbytek);
        return;
    }
    default:
        socket->write(header + body);
        if (m_nastaveni.zavriPoOdpovedi)
            zavri(socket);
    }
}

void WebSimulator::posliNekonecne(QTcpSocket *socket)
{
    // Never much ahead of what the desk takes, and not for ever.
    static const QByteArray kus = QByteArray("pocet_rezervaci=1\nrezervaceid0=1\n").repeated(2048);
    while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * kus.size()
           && m_odeslanoNekonecne < 1024LL * 1024 * 1024) {
        socket->write(kus);
        m_odeslanoNekonecne += kus.size();
    }
}

void WebSimulator::posliZbytek()
{
    const auto rests = std::exchange(m_zbytky, {});
    for (const auto &[socket, rest] : rests)
        if (m_buffer.contains(socket))
            socket->write(rest);
}

void WebSimulator::ulozDoSlozky(const QString &soubor, const QList<QPair<QString, QString>> &pole) const
{
    if (m_nastaveni.slozkaDat.isEmpty())
        return;
    QDir().mkpath(m_nastaveni.slozkaDat);
    QFile file(m_nastaveni.slozkaDat + u'/' + QString(soubor).replace(QLatin1String(".php"), QLatin1String(".txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QString text;
    for (const auto &[name, value] : pole)
        if (name != QLatin1String("heslo"))
            text += name + u'=' + value + u'\n';
    file.write(text.toUtf8());
}

QByteArray WebSimulator::rezervacniStranka(const QString &zprava) const
{
    QString typy;
    for (const auto &t : m_typy)
        typy += QStringLiteral("<option value=\"%1\">%2 (%3 lůžka)</option>")
                    .arg(html(t.value(QStringLiteral("typ_pokoje_id"))), html(t.value(QStringLiteral("nazev_typu_pokoje"))),
                         html(t.value(QStringLiteral("pocet_luzek"))));
    const QString typPole = m_typy.isEmpty()
                                ? QStringLiteral("<input type=\"text\" name=\"pokojid\" id=\"pokojid\">")
                                : QStringLiteral("<select name=\"pokojid\" id=\"pokojid\">") + typy + QStringLiteral("</select>");
    const QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\"><title>Rezervace pokoje</title></head>\n"
        "<body>\n<h1>Rezervace pokoje</h1>\n<p id=\"zprava\">%1</p>\n"
        "<form id=\"rezervace\" method=\"post\" action=\"%2/rezervuj.php\">\n"
        "<p><label>Typ pokoje: %3</label></p>\n"
        "<p><label>Od (rrrr-mm-dd): <input type=\"text\" name=\"datum_od\" id=\"datum_od\"></label></p>\n"
        "<p><label>Do (rrrr-mm-dd): <input type=\"text\" name=\"datum_do\" id=\"datum_do\"></label></p>\n"
        "<p><label>Jméno: <input type=\"text\" name=\"jmeno\" id=\"jmeno\"></label></p>\n"
        "<p><label>Telefon: <input type=\"text\" name=\"telefon\" id=\"telefon\"></label></p>\n"
        "<p><label>E-mail: <input type=\"text\" name=\"email\" id=\"email\"></label></p>\n"
        "<p><label>Stát: <input type=\"text\" name=\"stat\" id=\"stat\"></label></p>\n"
        "<input type=\"hidden\" name=\"vzhled_stranek\" value=\"1\">\n"
        "<p><button type=\"submit\" id=\"odeslat\">Rezervovat</button></p>\n"
        "</form>\n</body></html>\n")
                             .arg(html(zprava), html(m_nastaveni.adresar), typPole);
    return page.toUtf8();
}

void WebSimulator::rezervuj(QTcpSocket *socket, const SimPozadavek &p, const QByteArray &host)
{
    SimRezervace r;
    r.pokojid = p.hodnota(QStringLiteral("pokojid")).trimmed();
    r.datum_od = p.hodnota(QStringLiteral("datum_od")).trimmed();
    r.datum_do = p.hodnota(QStringLiteral("datum_do")).trimmed();
    r.jmeno = p.hodnota(QStringLiteral("jmeno")).trimmed();
    r.telefon = p.hodnota(QStringLiteral("telefon")).trimmed();
    r.email = p.hodnota(QStringLiteral("email")).trimmed();
    r.stat = p.hodnota(QStringLiteral("stat")).trimmed();
    const QDate od = QDate::fromString(r.datum_od, Qt::ISODate);
    const QDate doKdy = QDate::fromString(r.datum_do, Qt::ISODate);
    auto refuse = [&](const QString &why) { posli(socket, 200, "text/html; charset=utf-8", rezervacniStranka(why)); };
    if (!od.isValid() || !doKdy.isValid() || doKdy < od)
        return refuse(QStringLiteral("Zadejte platná data pobytu, od nejpozději do."));
    if (r.jmeno.isEmpty())
        return refuse(QStringLiteral("Zadejte jméno."));

    // The price and the free rooms as the desk exported them.
    int rooms = -1;
    for (const auto &t : m_typy)
        if (t.value(QStringLiteral("typ_pokoje_id")) == r.pokojid)
            rooms = t.value(QStringLiteral("pocet_pokoju")).toInt();
    double sum = 0;
    for (QDate day = od; day <= doKdy; day = day.addDays(1)) {
        const QString date = day.toString(Qt::ISODate);
        const auto row = std::find_if(m_ceny.cbegin(), m_ceny.cend(), [&](const auto &c) {
            return c.value(QStringLiteral("typ_pokoje_id")) == r.pokojid && c.value(QStringLiteral("datum")) == date;
        });
        if (row == m_ceny.cend())
            return refuse(QStringLiteral("Pro den %1 neznáme cenu pokoje.").arg(date));
        if (rooms >= 0 && row->value(QStringLiteral("rezervovano")).toInt() >= rooms)
            return refuse(QStringLiteral("Dne %1 není žádný pokoj tohoto typu volný.").arg(date));
        sum += row->value(QStringLiteral("cena")).toDouble();
    }
    r.cena = QString::number(sum, 'g', 15);
    const QString id = pridejRezervaci(r);

    QString desk = m_ipAdresa.isEmpty() ? m_nastaveni.hostDesky : m_ipAdresa;
    if (desk.contains(u':'))
        desk = u'[' + desk + u']';
    const QString back = QStringLiteral("http://") + QString::fromLatin1(host) + m_nastaveni.adresar
                         + QStringLiteral("/navrat.php");
    const QString location = QStringLiteral("http://%1:%2/?cislo_rezervace=%3&skript_zpet=%4&vzhled_stranek=%5&konec_dat=true")
                                 .arg(desk)
                                 .arg(m_nastaveni.portDesky)
                                 .arg(QString::fromLatin1(QUrl::toPercentEncoding(id)), back,
                                      QString::fromLatin1(QUrl::toPercentEncoding(p.hodnota(QStringLiteral("vzhled_stranek")))));
    posli(socket, 302, "text/html; charset=utf-8", "<a href=\"" + location.toHtmlEscaped().toUtf8() + "\">Dále</a>\n",
          "Location: " + location.toUtf8() + "\r\n");
}

QByteArray WebSimulator::navratovaStranka(const SimPozadavek &p) const
{
    const QString cislo = p.hodnota(QStringLiteral("cislo_rezervace"));
    QString text;
    if (p.hodnota(QStringLiteral("chyba")) == QLatin1String("1")) {
        text = QStringLiteral("Rezervaci č. %1 se teď nepodařilo potvrdit, ozveme se vám.").arg(cislo);
    } else {
        const QString outcome = p.hodnota(QStringLiteral("rezervace[") + cislo + u']');
        if (outcome == QLatin1String("1"))
            text = QStringLiteral("Rezervace č. %1 je potvrzena.").arg(cislo);
        else if (outcome == QLatin1String("-1"))
            text = QStringLiteral("Rezervaci č. %1 nelze potvrdit, pokoj už není volný.").arg(cislo);
        else
            text = QStringLiteral("Výsledek rezervace č. %1 neznáme.").arg(cislo);
    }
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\"><title>Výsledek rezervace</title></head>\n"
                          "<body class=\"vzhled-%1\">\n<h1 id=\"vysledek\">%2</h1>\n</body></html>\n")
        .arg(html(p.hodnota(QStringLiteral("vzhled_stranek"))), html(text))
        .toUtf8();
}

QByteArray WebSimulator::stavovaStranka() const
{
    QString text = QStringLiteral("IP adresa recepce: %1\nTypy pokojů: %2\nŘádky cen a obsazenosti: %3\n")
                       .arg(m_ipAdresa)
                       .arg(m_typy.size())
                       .arg(m_ceny.size());
    text += QStringLiteral("Čekající rezervace: %1\n").arg(m_cekajici.size());
    for (const auto &r : m_cekajici)
        text += QStringLiteral("  %1: typ %2, %3 až %4, %5, %6\n").arg(r.id, r.pokojid, r.datum_od, r.datum_do, r.cena, r.jmeno);
    text += QStringLiteral("Výsledky:\n");
    for (auto it = m_vysledky.cbegin(); it != m_vysledky.cend(); ++it)
        text += QStringLiteral("  %1 = %2\n").arg(it.key(), it.value());
    return text.toUtf8();
}
