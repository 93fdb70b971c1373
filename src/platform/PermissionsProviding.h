#pragma once

namespace vesk::platform {

// The privacy permissions Vesk needs: Accessibility and Input Monitoring.
class PermissionsProviding {
public:
    virtual ~PermissionsProviding() = default;

    virtual bool isAccessibilityTrusted() const = 0;
    virtual bool isInputMonitoringGranted() const = 0;
    // The system's prompts; each answers whether the permission is granted now.
    virtual bool promptForAccessibility() = 0;
    virtual bool requestInputMonitoring() = 0;
};

} // namespace vesk::platform
