#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vesk {

// Takes over SIGTERM without ending the process. The signal handler itself
// only writes a byte to a self-pipe, the one thing that is safe in signal
// context; a socket notifier on the thread that installed the handler (the
// main thread) reads it and runs `onSigterm` there. At most one handler is
// installed at a time; destroying it puts the previous action back.
class SigtermHandler final : public QObject {
    Q_OBJECT

public:
    explicit SigtermHandler(std::function<void()> onSigterm, QObject* parent = nullptr);
    ~SigtermHandler() override;
    SigtermHandler(const SigtermHandler&) = delete;
    SigtermHandler& operator=(const SigtermHandler&) = delete;

    // False when the pipe or the signal action could not be set up, or
    // another handler is installed.
    bool install();
    bool isInstalled() const { return installed_; }

private:
    void readPendingSignals();
    void uninstall();

    std::function<void()> onSigterm_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool installed_ = false;
};

} // namespace vesk
