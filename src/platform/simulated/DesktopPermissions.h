#pragma once

#include "platform/PermissionsProviding.h"

namespace vesk::platform {

// The simulated desktop's privacy permissions: accessibility and input
// monitoring, with the system's prompts for them.
class DesktopPermissions final : public PermissionsProviding {
public:
    bool isAccessibilityTrusted() const override { return accessibilityTrusted_; }
    void setAccessibilityTrusted(bool trusted) { accessibilityTrusted_ = trusted; }
    // The preflight answer: the grant, unless the answer lags behind it.
    bool isInputMonitoringGranted() const override { return inputMonitoringGranted_ && !preflightLags_; }
    void setInputMonitoringGranted(bool granted) { inputMonitoringGranted_ = granted; }
    // What the system goes by when it creates a tap.
    bool hasInputMonitoringGrant() const { return inputMonitoringGranted_; }
    // The preflight check answers no although the permission is granted, as
    // it can until the process restarts; a tap can still be created.
    void setInputMonitoringPreflightLags(bool lags) { preflightLags_ = lags; }

    // The prompts are counted, and grant at once when the desktop is set to
    // grant on request.
    bool promptForAccessibility() override;
    bool requestInputMonitoring() override;
    int accessibilityPromptCount() const { return accessibilityPromptCount_; }
    int inputMonitoringRequestCount() const { return inputMonitoringRequestCount_; }
    void setGrantsPermissionsOnRequest(bool grants) { grantsOnRequest_ = grants; }

private:
    bool accessibilityTrusted_ = true;
    bool inputMonitoringGranted_ = true;
    bool preflightLags_ = false;
    bool grantsOnRequest_ = false;
    int accessibilityPromptCount_ = 0;
    int inputMonitoringRequestCount_ = 0;
};

} // namespace vesk::platform
