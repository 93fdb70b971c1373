#include "platform/simulated/ScenarioOnDesktop.h"

#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopProcesses.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

namespace {

std::vector<BundleSpec> systemBundles()
{
    BundleSpec finder;
    finder.path = kFinderBundlePath;
    finder.bundleIdentifier = kFinderBundleIdentifier;
    finder.name = QStringLiteral("Finder");
    finder.version = QStringLiteral("1");
    finder.shortVersion = QStringLiteral("14.0");
    BundleSpec dock;
    dock.path = kDockBundlePath;
    dock.bundleIdentifier = kDockBundleIdentifier;
    dock.name = QStringLiteral("Dock");
    dock.launch.activationPolicy = ActivationPolicy::prohibited;
    return {finder, dock};
}

void applySystemSettings(SimulatedDesktop& desktop, const DesktopScenario& scenario)
{
    desktop.setOwnApplication(scenario.vesk);
    desktop.setAccessibilityTrusted(scenario.accessibilityTrusted);
    desktop.setInputMonitoringGranted(scenario.inputMonitoringGranted);
    desktop.setGrantsPermissionsOnRequest(scenario.grantsPermissionsOnRequest);
    if (scenario.hardwareModel)
        desktop.setHardwareModel(*scenario.hardwareModel);
    desktop.setDarkAppearance(scenario.darkAppearance);
    desktop.deliverDiagnosticPayloads(scenario.diagnosticPayloads);
    for (const DisplaySpec& display : scenario.displays)
        desktop.addDisplay(display);
    // Domains kept from an earlier desktop are what a killed Vesk left: the
    // scenario's own are only the first state.
    if (!desktop.keepsDefaultsFromEarlierDesktop())
        desktop.defaults().insert(scenario.defaults);
    desktop.processes().readDockPreferences();
}

// The Finder with a desktop window on every display, and the Dock.
QString startSystemApplications(SimulatedDesktop& desktop)
{
    for (const BundleSpec& bundle : systemBundles()) {
        QString error;
        if (!desktop.installBundle(bundle, &error))
            return QStringLiteral("system applications: ") + error;
    }
    ApplicationSpec finder;
    finder.bundleIdentifier = kFinderBundleIdentifier;
    finder.name = QStringLiteral("Finder");
    for (int i = 0; i < int(desktop.displays().size()); ++i) {
        WindowSpec desktopWindow;
        desktopWindow.bounds = desktop.displays()[i].bounds;
        desktopWindow.layer = WindowLevel::desktopIcon;
        desktopWindow.desktopElement = true;
        desktopWindow.display = i;
        finder.windows.push_back(desktopWindow);
    }
    ApplicationSpec dock;
    dock.bundleIdentifier = kDockBundleIdentifier;
    dock.name = QStringLiteral("Dock");
    dock.activationPolicy = ActivationPolicy::prohibited;
    desktop.addRunningApplication(finder);
    desktop.addRunningApplication(dock);
    return QString();
}

} // namespace

QString buildScenarioOnDesktop(SimulatedDesktop& desktop, const DesktopScenario& scenario)
{
    applySystemSettings(desktop, scenario);
    if (scenario.systemApplications) {
        if (const QString error = startSystemApplications(desktop); !error.isEmpty())
            return error;
    }

    for (int i = 0; i < int(scenario.bundles.size()); ++i) {
        QString error;
        if (!desktop.installBundle(scenario.bundles[i], &error))
            return QStringLiteral("bundles[%1]: ").arg(i) + error;
    }

    std::optional<ProcessID> firstRegular;
    for (const ApplicationSpec& spec : scenario.applications) {
        const ProcessID pid = desktop.addRunningApplication(spec);
        if (!firstRegular && spec.activationPolicy == ActivationPolicy::regular && !spec.hidden)
            firstRegular = pid;
    }

    if (scenario.frontmost) {
        const DesktopApplication* front = desktop.runningApplication(*scenario.frontmost);
        if (!front)
            return QStringLiteral("frontmost: no running application has the bundle identifier ") + *scenario.frontmost;
        desktop.activate(front->pid, 0);
    } else if (firstRegular) {
        desktop.activate(*firstRegular, 0);
    } else if (const DesktopApplication* finder = desktop.runningApplication(kFinderBundleIdentifier)) {
        desktop.activate(finder->pid, 0);
    }
    return QString();
}

} // namespace vesk::platform
