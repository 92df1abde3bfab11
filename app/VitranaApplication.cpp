#include "app/VitranaApplication.h"
#include "gui/MessageBox.h"
#include "db/DatabaseError.h"

#include <QLibraryInfo>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[0], &c, 1);
}
} // namespace

VitranaApplication::VitranaApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("vitrana"));
    // No display name: the window system would append it to every caption.
    setApplicationVersion(QStringLiteral(VITRANA_VERSION));
    // A Czech desk whatever the system is set to: under the C locale of a
    // minimal install or a service, Qt would show English day and month
    // names and read typed dates by an English pattern.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    loadQtTranslations(QLocale());
}

bool VitranaApplication::loadQtTranslations(const QLocale &locale)
{
    removeTranslator(&m_qtTranslator);
    if (!m_qtTranslator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installTranslator(&m_qtTranslator);
    return true;
}

bool VitranaApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DatabaseError &e) {
        MessageBox::chybaDatabaze(activeWindow(), tr("Akci se nepodařilo dokončit."), e);
    } catch (const std::exception &e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void VitranaApplication::showError(const QString &text)
{
    MessageBox::chyba(activeWindow(), text, QMessageBox::Critical);
}

void VitranaApplication::quitOnTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [] {
        char c;
        [[maybe_unused]] const auto n = ::read(signalPipe[1], &c, 1);
        closeAllWindows();
        quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &action, nullptr);
}
