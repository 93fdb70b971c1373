#pragma once

#include "platform/OwnWindowSpec.h"
#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DesktopApplication.h"
#include "platform/simulated/DesktopDisplay.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <map>
#include <optional>
#include <vector>

namespace vesk::platform {

// Everything a simulated desktop starts with: loaded from a JSON scenario
// file (DesktopScenarioLoader) or built in code, and applied with
// SimulatedDesktop::applyScenario.
struct DesktopScenario {
    OwnApplicationSpec vesk;
    bool accessibilityTrusted = true;
    bool inputMonitoringGranted = true;
    bool grantsPermissionsOnRequest = false;
    // The Finder (with a desktop window per display) and the Dock, installed and running.
    bool systemApplications = true;
    std::vector<DisplaySpec> displays;
    std::vector<BundleSpec> bundles;
    // In launch order; windows listed later are in front.
    std::vector<ApplicationSpec> applications;
    // The application in front; by default the first regular, visible one listed.
    std::optional<QString> frontmost;
    // Defaults domains: name -> key -> value.
    std::map<QString, QVariantMap> defaults;
    std::optional<QString> hardwareModel;
    // The system-wide appearance: dark, else light.
    bool darkAppearance = false;
    // Diagnostic payloads (compact JSON) waiting for the application.
    std::vector<QByteArray> diagnosticPayloads;

    bool operator==(const DesktopScenario&) const = default;
};

} // namespace vesk::platform
