#include "platform/simulated/SimulatedDesktop.h"

#include "core/Scheduler.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopAccessibility.h"
#include "platform/simulated/DesktopApplicationActivity.h"
#include "platform/simulated/DesktopBundleReader.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopFileBrowser.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/ScenarioOnDesktop.h"

namespace vesk::platform {

SimulatedDesktop::SimulatedDesktop(Scheduler& scheduler, QString desktopRoot, QObject* parent)
    : QObject(parent)
    , scheduler_(scheduler)
    , bundles_(std::move(desktopRoot))
    , displayLayout_(*this)
    , windowStack_(*this)
    , processes_(*this)
    , ownWindows_(*this)
    , ownProcess_(*this)
    , defaults_(std::make_unique<DefaultsDomains>())
    , commandRunner_(std::make_unique<DesktopCommandRunner>(*this))
    , accessibility_(std::make_unique<DesktopAccessibility>(*this))
    , events_(std::make_unique<DesktopEventSystem>(*this))
    , workspace_(std::make_unique<DesktopWorkspace>(*this))
    , windowList_(std::make_unique<DesktopWindowListProvider>(*this))
    , screens_(std::make_unique<DesktopScreenProvider>(*this))
    , screenCapturer_(std::make_unique<DesktopScreenCapturer>(*this))
    , files_(std::make_unique<DesktopFileBrowser>(*this))
    , bundleReader_(std::make_unique<DesktopBundleReader>())
{
    // Vesk's process is on the desktop from the start.
    ownProcess_.setOwnApplication(ownProcess_.ownApplication());
    applicationActivity_ = std::make_unique<DesktopApplicationActivity>(*this);
    diagnostics_ = std::make_unique<DesktopDiagnostics>(*workspace_);
}

SimulatedDesktop::~SimulatedDesktop()
{
    // Launch completions still queued run before the model goes away.
    workspace_.reset();
}

bool SimulatedDesktop::keepDefaultsDomainsIn(const QString& path)
{
    defaultsFromEarlierDesktop_ = defaults_->keepInFile(path);
    // The running Dock started with what the domains held.
    processes_.readDockPreferences();
    return defaultsFromEarlierDesktop_;
}

PlatformInterfaces SimulatedDesktop::interfaces()
{
    return PlatformInterfaces{
        .windowList = *windowList_,
        .screens = *screens_,
        .screenChanges = *screens_,
        .workspace = *workspace_,
        .files = *files_,
        .bundles = *bundleReader_,
        .accessibility = *accessibility_,
        .eventTaps = *events_,
        .defaultsDomains = *defaults_,
        .commandRunner = *commandRunner_,
        .ownWindows = ownWindows_,
        .presentationOptions = ownProcess_,
        .ownApplication = ownProcess_,
        .pointer = pointer_,
        .permissions = permissions_,
        .reduceMotion = reduceMotion_,
        .screenCapture = *screenCapturer_,
        .diagnosticPayloads = *diagnostics_,
        .systemInfo = systemInfo_,
        .applicationActivity = *applicationActivity_,
        .storeTransactions = storeTransactions_,
    };
}

QString SimulatedDesktop::applyScenario(const DesktopScenario& scenario)
{
    return buildScenarioOnDesktop(*this, scenario);
}

QList<QVariantMap> SimulatedDesktop::copyWindowInfo(int options) const
{
    return windowList_->copyWindowInfo(options);
}

} // namespace vesk::platform
