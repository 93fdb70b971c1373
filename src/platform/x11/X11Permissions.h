#pragma once

#include "platform/PermissionsProviding.h"

namespace vesk::platform {

// An X server asks no permission of a client: reading the windows, sending
// the window manager's requests and seeing input are open to every client of
// the display. Every permission is granted, and a prompt has nothing to ask.
class X11Permissions final : public PermissionsProviding {
public:
    bool isAccessibilityTrusted() const override { return true; }
    bool isInputMonitoringGranted() const override { return true; }
    bool promptForAccessibility() override { return true; }
    bool requestInputMonitoring() override { return true; }
};

} // namespace vesk::platform
