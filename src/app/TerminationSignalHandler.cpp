#include "app/TerminationSignalHandler.h"

#include <QSocketNotifier>
#include <QString>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vesk {

namespace {

constexpr std::array kHandledSignals{SIGTERM, SIGINT, SIGHUP, SIGQUIT};

// The pipe's ends, read by the signal handler; -1 while none is installed.
volatile sig_atomic_t gWriteFD = -1;
int gReadFD = -1;
// Set by the first termination signal; the next one ends the process.
volatile sig_atomic_t gTerminationRequested = 0;
std::array<struct sigaction, kHandledSignals.size()> gPreviousActions;

extern "C" void writeSignalByte(int signal)
{
    const int savedErrno = errno;
    // Every signal handled here asks for the termination.
    if (gTerminationRequested) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    gTerminationRequested = 1;
    const char byte = static_cast<char>(signal);
    if (gWriteFD >= 0) {
        // A full pipe already holds pending notices; losing this byte is fine.
        [[maybe_unused]] const ssize_t written = ::write(gWriteFD, &byte, 1);
    }
    errno = savedErrno;
}

bool makeNonBlockingCloseOnExec(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

void closePipe()
{
    const int writeFD = gWriteFD;
    gWriteFD = -1;
    ::close(writeFD);
    ::close(gReadFD);
    gReadFD = -1;
}

// Installs the handler for every signal, or for none.
bool installActions()
{
    struct sigaction action { };
    action.sa_handler = writeSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kHandledSignals.size(); ++i) {
        if (::sigaction(kHandledSignals[i], &action, &gPreviousActions[i]) != 0) {
            while (i-- > 0)
                ::sigaction(kHandledSignals[i], &gPreviousActions[i], nullptr);
            return false;
        }
    }
    return true;
}

} // namespace

TerminationSignalHandler::TerminationSignalHandler(std::function<void()> onSigterm,
                                                   std::function<void(int)> onTerminationSignal, QObject* parent)
    : QObject(parent)
    , onSigterm_(std::move(onSigterm))
    , onTerminationSignal_(std::move(onTerminationSignal))
{
}

TerminationSignalHandler::~TerminationSignalHandler()
{
    uninstall();
}

void TerminationSignalHandler::ignoreBrokenPipes()
{
    ::signal(SIGPIPE, SIG_IGN);
}

QString TerminationSignalHandler::signalName(int signal)
{
    switch (signal) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    case SIGQUIT:
        return QStringLiteral("SIGQUIT");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

bool TerminationSignalHandler::install()
{
    if (installed_ || gReadFD >= 0)
        return false;
    ignoreBrokenPipes();
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    if (!makeNonBlockingCloseOnExec(fds[0]) || !makeNonBlockingCloseOnExec(fds[1])) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    gReadFD = fds[0];
    gWriteFD = fds[1];
    gTerminationRequested = 0;
    if (!installActions()) {
        closePipe();
        return false;
    }

    notifier_ = std::make_unique<QSocketNotifier>(gReadFD, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignalHandler::readPendingSignals);
    installed_ = true;
    return true;
}

void TerminationSignalHandler::readPendingSignals()
{
    char buffer[64];
    bool sigterm = false;
    int termination = 0;
    ssize_t count = 0;
    while ((count = ::read(gReadFD, buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            const int signal = buffer[i];
            sigterm = sigterm || signal == SIGTERM;
            if (termination == 0)
                termination = signal;
        }
    }
    // Several signals that arrived before we got here ask for one termination.
    if (sigterm && onSigterm_)
        onSigterm_();
    if (termination != 0 && onTerminationSignal_)
        onTerminationSignal_(termination);
}

void TerminationSignalHandler::uninstall()
{
    if (!installed_)
        return;
    for (size_t i = 0; i < kHandledSignals.size(); ++i)
        ::sigaction(kHandledSignals[i], &gPreviousActions[i], nullptr);
    notifier_.reset();
    closePipe();
    installed_ = false;
}

} // namespace vesk
