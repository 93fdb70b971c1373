#include "app/SigtermHandler.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vesk {

namespace {

// The pipe's ends, read by the signal handler; -1 while none is installed.
volatile sig_atomic_t gWriteFD = -1;
int gReadFD = -1;
struct sigaction gPreviousAction;

extern "C" void writeSigtermByte(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    if (gWriteFD >= 0) {
        // A full pipe already holds a pending notice; losing this byte is fine.
        [[maybe_unused]] const ssize_t written = ::write(gWriteFD, &byte, 1);
    }
    errno = savedErrno;
}

bool makeNonBlockingCloseOnExec(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

SigtermHandler::SigtermHandler(std::function<void()> onSigterm, QObject* parent)
    : QObject(parent), onSigterm_(std::move(onSigterm))
{
}

SigtermHandler::~SigtermHandler()
{
    uninstall();
}

bool SigtermHandler::install()
{
    if (installed_ || gReadFD >= 0)
        return false;
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

    struct sigaction action {};
    action.sa_handler = writeSigtermByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &action, &gPreviousAction) != 0) {
        ::close(gReadFD);
        ::close(gWriteFD);
        gReadFD = -1;
        gWriteFD = -1;
        return false;
    }

    notifier_ = std::make_unique<QSocketNotifier>(gReadFD, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SigtermHandler::readPendingSignals);
    installed_ = true;
    return true;
}

void SigtermHandler::readPendingSignals()
{
    char buffer[64];
    bool received = false;
    while (::read(gReadFD, buffer, sizeof buffer) > 0)
        received = true;
    // Several signals that arrived before we got here count as one.
    if (received && onSigterm_)
        onSigterm_();
}

void SigtermHandler::uninstall()
{
    if (!installed_)
        return;
    ::sigaction(SIGTERM, &gPreviousAction, nullptr);
    notifier_.reset();
    const int writeFD = gWriteFD;
    gWriteFD = -1;
    ::close(writeFD);
    ::close(gReadFD);
    gReadFD = -1;
    installed_ = false;
}

} // namespace vesk
