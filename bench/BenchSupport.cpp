#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QTimer>
#include <algorithm>

namespace bench {

QTextStream out(stdout);

const std::array<const char *, copies> copyNames{"2,000", "200,000", "1,000,000"};

double median(std::vector<double> values)
{
    if (values.empty())
        return none;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile(std::vector<double> values, double q)
{
    if (values.empty())
        return none;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(q * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double timeMs(const std::function<void()> &work)
{
    const qint64 start = nowNs();
    work();
    return double(nowNs() - start) / 1e6;
}

bool waitFor(const std::function<bool()> &done, int timeoutMs, double *stallMs)
{
    QEventLoop loop;
    QTimer look;
    look.setTimerType(Qt::PreciseTimer);
    qint64 last = nowNs();
    double longest = 0;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        const qint64 now = nowNs();
        longest = std::max(longest, double(now - last) / 1e6);
        last = now;
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    look.start(1);
    if (!done())
        loop.exec();
    // the gap up to the moment it was seen done counts too
    longest = std::max(longest, double(nowNs() - last) / 1e6);
    if (stallMs)
        *stallMs = longest;
    const bool ok = done();
    if (!ok)
        out << "    (gave up waiting after " << timeoutMs << " ms)\n";
    return ok;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return none;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return none;
}

namespace {

QString number(double v, int decimals)
{
    if (std::isnan(v))
        return QStringLiteral("-");
    return QLocale(QLocale::English).toString(v, 'f', decimals);
}

const std::vector<int> copyWidths{-46, 11, 10, 9, 8, 10, 10, 11, 7, 0};
const std::vector<int> clusterWidths{-46, 11, 11, 11, 7, 0};

void cells(const QStringList &texts, const std::vector<int> &widths = copyWidths)
{
    for (int i = 0; i < texts.size(); ++i) {
        const int w = widths[std::min<std::size_t>(i, widths.size() - 1)];
        out << qSetFieldWidth(std::abs(w)) << (w < 0 ? Qt::left : Qt::right) << texts[i];
        out << qSetFieldWidth(0) << (i + 1 < texts.size() ? " " : "");
    }
    out << qSetFieldWidth(0) << Qt::left << "\n";
    out.flush();
}

} // namespace

void printGoalsHeader(const QString &title)
{
    out << "\n" << title << "\n";
    cells({QStringLiteral("figure"), QStringLiteral("goal"), QStringLiteral("measured"), QStringLiteral("floor"),
           QStringLiteral("/floor"), QStringLiteral("at 2,000"), QStringLiteral("at 200,000"),
           QStringLiteral("at 1,000,000"), QStringLiteral("ratio"), QStringLiteral("")});
}

void printFigure(const Figure &f)
{
    int worst = -1;
    for (int c = 0; c < copies; ++c)
        if (!std::isnan(f.at[c]) && (worst < 0 || (f.atLeast ? f.at[c] < f.at[worst] : f.at[c] > f.at[worst])))
            worst = c;
    const double measured = worst < 0 ? none : f.at[worst];
    const double floor = worst < 0 ? none : f.floor[worst];
    const double ratio = f.at[copies - 1] / f.at[0];
    QStringList verdicts;
    if (!std::isnan(f.goalValue) && !std::isnan(measured))
        verdicts << ((f.atLeast ? measured >= f.goalValue
                                : f.goalInclusive ? measured <= f.goalValue : measured < f.goalValue)
                         ? QStringLiteral("ok")
                         : QStringLiteral("MISSED"));
    if (f.ratioGoal && !std::isnan(ratio))
        verdicts << (ratio <= 1.5 ? QStringLiteral("ok") : QStringLiteral("MISSED 1.5x"));
    verdicts.removeDuplicates();
    if (verdicts.size() > 1)
        verdicts.removeAll(QStringLiteral("ok"));
    cells({f.name, f.goal, number(measured, f.decimals), number(floor, f.decimals),
           std::isnan(floor) || floor <= 0 ? QStringLiteral("-") : number(measured / floor, 1) + u'x',
           number(f.at[0], f.decimals), number(f.at[1], f.decimals), number(f.at[2], f.decimals),
           std::isnan(ratio) ? QStringLiteral("-") : number(ratio, 2) + u'x', verdicts.join(u' ')});
}

void printClusterHeader(const QString &title)
{
    out << "\n" << title << "\n";
    cells({QStringLiteral("figure"), QStringLiteral("goal"), QStringLiteral("one server"), QStringLiteral("cluster"),
           QStringLiteral("ratio"), QString()},
          clusterWidths);
}

void printClusterFigure(const ClusterFigure &f)
{
    const double ratio = f.cluster / f.oneServer;
    const bool judged = f.judged && !std::isnan(ratio) && f.oneServer > 0;
    QStringList texts{f.name, f.judged ? QStringLiteral("within 2x") : QStringLiteral("-"),
                      number(f.oneServer, f.decimals), number(f.cluster, f.decimals),
                      judged ? number(ratio, 2) + u'x' : QStringLiteral("-")};
    if (judged)
        texts << (ratio <= 2 ? QStringLiteral("ok") : QStringLiteral("MISSED 2x"));
    cells(texts, clusterWidths);
}

void note(const QString &text)
{
    out << "  " << text << "\n";
    out.flush();
}

} // namespace bench
