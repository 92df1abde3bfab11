#include "Guests.h"

#include "BenchSupport.h"

#include <QList>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace bench {

struct GuestBurst::State
{
    std::thread thread;
    std::atomic<bool> done{false};
};

GuestBurst::GuestBurst(quint16 port, std::vector<QByteArray> requests, int timeoutMs)
    : m_port(port), m_requests(std::move(requests)), m_timeoutMs(timeoutMs), m_state(new State)
{
}

GuestBurst::~GuestBurst()
{
    if (m_state->thread.joinable())
        m_state->thread.join();
    delete m_state;
}

void GuestBurst::start()
{
    m_state->thread = std::thread([this] {
        run();
        m_state->done = true;
    });
}

bool GuestBurst::done() const
{
    return m_state->done;
}

namespace {

struct Guest
{
    int fd = -1;
    qint64 started = 0;
    qsizetype sent = 0;
    QByteArray reply;
    bool finished = false;
};

// The end of the header: the desk ends its lines with a bare LF, others with CR LF.
qsizetype headerEnd(const QByteArray &reply)
{
    const qsizetype crlf = reply.indexOf("\r\n\r\n");
    if (crlf >= 0)
        return crlf + 4;
    const qsizetype lf = reply.indexOf("\n\n");
    return lf < 0 ? -1 : lf + 2;
}

bool redirect(const QByteArray &reply)
{
    return reply.startsWith("HTTP/1.1 302") || reply.startsWith("HTTP/1.0 302");
}

// A complete answer: the header, and the body its Content-Length announces.
bool complete(const QByteArray &reply)
{
    const qsizetype end = headerEnd(reply);
    if (end < 0)
        return false;
    qsizetype length = -1;
    for (const QByteArray &line : reply.left(end).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
            length = line.mid(colon + 1).trimmed().toLongLong();
    }
    return length >= 0 && reply.size() >= end + length;
}

} // namespace

void GuestBurst::run()
{
    std::vector<Guest> guests(m_requests.size());
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (Guest &g : guests) {
        g.started = nowNs();
        g.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (g.fd < 0 || (::connect(g.fd, reinterpret_cast<sockaddr *>(&address), sizeof address) < 0
                         && errno != EINPROGRESS)) {
            g.finished = true;
            ++m_result.failed;
        }
    }
    const auto finish = [&](Guest &g, bool answered) {
        if (answered) {
            ++m_result.answered;
            m_result.ms.push_back(double(nowNs() - g.started) / 1e6);
        } else {
            if (!m_result.failed)
                m_result.firstFailure = g.reply.isEmpty() ? QByteArray(std::strerror(errno)) : g.reply.left(200);
            ++m_result.failed;
        }
        g.finished = true;
        ::close(g.fd);
        g.fd = -1;
    };
    const qint64 deadline = nowNs() + qint64(m_timeoutMs) * 1000000;
    std::vector<pollfd> fds;
    std::vector<std::size_t> who;
    char buffer[16384];
    for (;;) {
        fds.clear();
        who.clear();
        for (std::size_t i = 0; i < guests.size(); ++i) {
            const Guest &g = guests[i];
            if (g.finished)
                continue;
            const bool writing = g.sent < m_requests[i].size();
            fds.push_back({g.fd, short(writing ? POLLOUT : POLLIN), 0});
            who.push_back(i);
        }
        const qint64 left = (deadline - nowNs()) / 1000000;
        if (fds.empty() || left <= 0)
            break;
        if (::poll(fds.data(), fds.size(), int(left)) < 0 && errno != EINTR)
            break;
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (!fds[k].revents)
                continue;
            Guest &g = guests[who[k]];
            const QByteArray &request = m_requests[who[k]];
            if (g.sent < request.size()) {
                const ssize_t n = ::send(g.fd, request.constData() + g.sent, request.size() - g.sent, MSG_NOSIGNAL);
                if (n < 0 && errno != EAGAIN)
                    finish(g, false);
                else if (n > 0)
                    g.sent += n;
                continue;
            }
            const ssize_t n = ::recv(g.fd, buffer, sizeof buffer, 0);
            if (n > 0) {
                g.reply.append(buffer, n);
                if (complete(g.reply))
                    finish(g, redirect(g.reply));
            } else if (n == 0 || errno != EAGAIN) {
                // an answer without a length ends with the connection
                finish(g, headerEnd(g.reply) >= 0 && redirect(g.reply));
            }
        }
    }
    for (Guest &g : guests) {
        if (!g.finished) {
            ++m_result.timedOut;
            ::close(g.fd);
        }
    }
}

} // namespace bench
