#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vesk {

// Takes over the signals that end a process: SIGTERM (what a session manager
// sends at logout and a service manager at stop), SIGINT, SIGHUP and SIGQUIT.
// Each runs the application's normal termination (`onTerminationSignal` with
// the signal's number), so a session is stopped and the system settings are
// restored as on any quit; SIGTERM first resets the presentation options
// (`onSigterm`), so that the Dock and the menu bar come back even before the
// termination has run. A second one of them before the process has ended
// ends it at once, so a hung termination can still be interrupted. The
// signal handler itself only writes the signal's number to a self-pipe, the
// one thing that is safe in signal context; a socket notifier on the thread
// that installed the handler (the main thread) reads it and runs the
// callbacks there. At most one handler is installed at a time; destroying it
// puts the previous actions back.
class TerminationSignalHandler final : public QObject {
    Q_OBJECT

public:
    TerminationSignalHandler(std::function<void()> onSigterm, std::function<void(int signal)> onTerminationSignal,
                             QObject* parent = nullptr);
    ~TerminationSignalHandler() override;
    TerminationSignalHandler(const TerminationSignalHandler&) = delete;
    TerminationSignalHandler& operator=(const TerminationSignalHandler&) = delete;

    // Writing to a closed pipe or socket then fails with EPIPE, which the
    // writer handles, instead of ending the process. For the whole process
    // and for good: the entry point calls it before anything is written.
    static void ignoreBrokenPipes();

    // "SIGINT" for SIGINT, and so on.
    static QString signalName(int signal);

    // False when the pipe or the signal actions could not be set up, or
    // another handler is installed.
    bool install();
    bool isInstalled() const { return installed_; }

private:
    void readPendingSignals();
    void uninstall();

    std::function<void()> onSigterm_;
    std::function<void(int)> onTerminationSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool installed_ = false;
};

} // namespace vesk
