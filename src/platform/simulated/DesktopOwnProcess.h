#pragma once

#include "platform/OwnApplicationControlling.h"
#include "platform/PresentationOptionsControlling.h"

#include <functional>

namespace vesk::platform {

class SimulatedDesktop;

// Vesk's own process on the simulated desktop: its identity and bundle
// entries, its termination through the application's delegate, a crash and a
// relaunch, and its presentation options, which end with it. While Vesk is in
// front the options hide the Dock and the menu bar, keep Command+Tab from
// switching away and keep Vesk from being hidden.
class DesktopOwnProcess final : public OwnApplicationControlling, public PresentationOptionsControlling {
public:
    explicit DesktopOwnProcess(SimulatedDesktop& desktop);

    void setOwnApplication(const OwnApplicationSpec& spec);
    const OwnApplicationSpec& ownApplication() const override { return own_; }
    void installOwnBundleUpdate(const QString& version, const QString& build) override;
    void setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                std::function<void()> willTerminate) override;
    bool requestOwnTermination() override;
    void replyToOwnTerminationRequest(bool shouldTerminate) override;
    bool isOwnTerminationPending() const { return terminationPending_; }
    bool isOwnApplicationTerminated() const override { return terminated_; }
    QMetaObject::Connection observeOwnTermination(QObject* receiver, std::function<void()> handler) const override;
    // The will-terminate handler runs and the process ends.
    void endOwnProcess();
    // Vesk's process ends at once, as on a crash or SIGKILL: nothing of it
    // runs to the end. The system drops its windows, event taps and monitors
    // and its presentation options; until relaunchOwnProcess, whatever its
    // remains still ask for has no effect (no taps, windows, options, and
    // the command-line tools fail to start). Defaults domains keep what was
    // written to them.
    void crashOwnProcess();
    // Vesk runs again (same identity), from nothing.
    void relaunchOwnProcess() { crashed_ = false; }
    bool isOwnProcessCrashed() const { return crashed_; }

    int presentationOptions() const override { return presentationOptions_; }
    void setPresentationOptions(int options) override;
    // The Dock is on screen: one runs, it did not start with "autohide", and
    // Vesk, when in front, does not hide it.
    bool isDockShown() const;
    bool isMenuBarShown() const;

private:
    bool isInFront() const;

    SimulatedDesktop& desktop_;
    OwnApplicationSpec own_;
    bool terminationPending_ = false;
    bool terminated_ = false;
    bool crashed_ = false;
    std::function<TerminateReply()> shouldTerminate_;
    std::function<void()> willTerminate_;
    int presentationOptions_ = 0;
};

} // namespace vesk::platform
