#pragma once

#include "logging/VeskLogger.h"
#include "platform/OwnApplicationControlling.h"

#include <QObject>

namespace vesk::platform {

// Vesk's own process on a Linux desktop: its entries as the application
// object names them (the desktop file id stands for the bundle identifier)
// and its termination through the delegate, as on the simulated desktop. The
// process itself ends where the program hears of the termination
// (`observeOwnTermination`). Main thread only.
class X11OwnApplication final : public QObject, public OwnApplicationControlling {
    Q_OBJECT
public:
    explicit X11OwnApplication(OwnApplicationSpec spec);

    // This process: its pid, desktop file name, application name and version.
    static OwnApplicationSpec specOfThisProcess();

    const OwnApplicationSpec& ownApplication() const override { return spec_; }
    void installOwnBundleUpdate(const QString& version, const QString& build) override;
    void setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                std::function<void()> willTerminate) override;
    bool requestOwnTermination() override;
    void replyToOwnTerminationRequest(bool shouldTerminate) override;
    bool isOwnApplicationTerminated() const override { return terminated_; }
    QMetaObject::Connection observeOwnTermination(QObject* receiver, std::function<void()> handler) const override;

signals:
    void willTerminate();

private:
    void terminate();

    OwnApplicationSpec spec_;
    std::function<TerminateReply()> shouldTerminate_;
    std::function<void()> willTerminate_;
    bool pending_ = false;
    bool terminated_ = false;
    VeskLogger logger_{QStringLiteral("X11OwnApplication")};
};

} // namespace vesk::platform
