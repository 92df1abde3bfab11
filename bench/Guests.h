#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

namespace bench {

/** What a burst of guests saw. */
struct Burst
{
    int answered = 0;              // complete 302 answers
    std::vector<double> ms;        // each answered guest's wait, from its connect to its complete answer
    int failed = 0;                // refused, reset, or closed without a 302
    int timedOut = 0;
    QByteArray firstFailure;       // what the first failed guest received
};

/**
 * Sends every request at once to 127.0.0.1:port from a thread of its own
 * (non-blocking sockets, one poll loop), so that the desk's thread only
 * answers; waits at most timeoutMs for all answers. Start it, then run the
 * event loop until done().
 */
class GuestBurst
{
public:
    GuestBurst(quint16 port, std::vector<QByteArray> requests, int timeoutMs);
    ~GuestBurst();
    GuestBurst(const GuestBurst &) = delete;
    GuestBurst &operator=(const GuestBurst &) = delete;

    void start();
    bool done() const;
    /** Valid once done(). */
    const Burst &result() const { return m_result; }

private:
    void run();

    quint16 m_port;
    std::vector<QByteArray> m_requests;
    int m_timeoutMs;
    Burst m_result;
    struct State;
    State *m_state;
};

} // namespace bench
