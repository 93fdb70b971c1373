#pragma once

#include "platform/AXElement.h"
#include "platform/OwnApplicationControlling.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/PlatformInterfaces.h"
#include "platform/PresentationOptionsControlling.h"
#include "platform/StoreTransactionUpdates.h"
#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DesktopApplication.h"
#include "platform/simulated/DesktopBundleRegistry.h"
#include "platform/simulated/DesktopDiagnostics.h"
#include "platform/simulated/DesktopDisplayLayout.h"
#include "platform/simulated/DesktopOwnProcess.h"
#include "platform/simulated/DesktopOwnWindows.h"
#include "platform/simulated/DesktopPermissions.h"
#include "platform/simulated/DesktopPointer.h"
#include "platform/simulated/DesktopProcesses.h"
#include "platform/simulated/DesktopReduceMotion.h"
#include "platform/simulated/DesktopSystemInfo.h"
#include "platform/simulated/DesktopWindow.h"
#include "platform/simulated/DesktopWindowStack.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vesk {
class Scheduler;
}

namespace vesk::platform {

class DefaultsDomains;
class DesktopAccessibility;
class DesktopApplicationActivity;
class DesktopBundleReader;
class DesktopCommandRunner;
class DesktopEventSystem;
class DesktopFileBrowser;
class DesktopScreenCapturer;
class DesktopScreenProvider;
class DesktopWindowListProvider;
class DesktopWorkspace;
struct DesktopScenario;

// The in-process model of the desktop platform: displays with their Spaces,
// installed bundles, running applications with their windows in one stacking
// order, Vesk's own process and panels, the mouse, permissions, presentation
// options, event taps and defaults domains. State stays consistent across the
// views: a minimised window leaves the on-screen list, a hidden application's
// windows leave the screen, a Space switch changes what is on screen.
//
// The model lives on the main thread. Delays (launches, windows that appear
// later, applications that quit later) run on the injected scheduler; launch
// completions arrive on a thread of the workspace's own (DesktopWorkspace).
// Coordinates: windows, the accessibility API and events use the top-left
// (Quartz) system; screens, own panels and the mouse location the bottom-left
// (Cocoa) system, converted display by display.
//
// The desktop owns its parts, each a file of its own, and posts the model's
// notifications for them (its signals). interfaces() hands the parts to the
// application. The rest of the desktop's face forwards to the parts, for
// tests and the scripted run, which also set up what no interface offers
// (adding displays and windows, injecting events, granting permissions, ...).
class SimulatedDesktop final : public QObject,
                               public OwnWindowRegistering,
                               public PresentationOptionsControlling,
                               public OwnApplicationControlling {
    Q_OBJECT

public:
    // `desktopRoot` is the folder that stands for the platform's "/": bundle
    // folders are written under it.
    SimulatedDesktop(Scheduler& scheduler, QString desktopRoot, QObject* parent = nullptr);
    ~SimulatedDesktop() override;

    Scheduler& scheduler() const { return scheduler_; }
    const QString& desktopRoot() const { return bundles_.desktopRoot(); }
    // "/Applications/X.app" -> the folder under the desktop root.
    QString filesystemPath(const QString& platformPath) const { return bundles_.filesystemPath(platformPath); }

    // --- Parts -------------------------------------------------------------
    DesktopDisplayLayout& displayLayout() { return displayLayout_; }
    DesktopBundleRegistry& bundleRegistry() { return bundles_; }
    DesktopProcesses& processes() { return processes_; }
    DesktopWindowStack& windowStack() { return windowStack_; }
    const DesktopWindowStack& windowStack() const { return windowStack_; }
    DesktopOwnWindows& ownWindowRegistry() { return ownWindows_; }
    DesktopOwnProcess& ownProcess() { return ownProcess_; }
    DesktopWorkspace& workspace() const { return *workspace_; }
    DesktopAccessibility& accessibility() const { return *accessibility_; }
    DesktopEventSystem& events() const { return *events_; }
    DefaultsDomains& defaults() const { return *defaults_; }
    DesktopCommandRunner& commandRunner() const { return *commandRunner_; }
    DesktopPointer& pointer() { return pointer_; }
    DesktopPermissions& permissions() { return permissions_; }
    DesktopReduceMotion& reduceMotion() { return reduceMotion_; }
    DesktopSystemInfo& systemInfo() { return systemInfo_; }
    DesktopDiagnostics& diagnostics() { return *diagnostics_; }
    // Every platform interface, for the application.
    PlatformInterfaces interfaces();

    // The name of the file the desktop keeps its defaults domains in.
    static constexpr const char* defaultsDomainsFileName = "defaults-domains.json";
    // Keeps the defaults domains in the file at `path` from now on, so that
    // they outlive a killed Vesk as a system's settings do (see
    // DefaultsDomains::keepInFile). Before applyScenario: domains an earlier
    // desktop left in the file are the state to go on from, and a scenario's
    // own domains then only seed a file that holds none yet. True when the
    // file held them.
    bool keepDefaultsDomainsIn(const QString& path);
    bool keepsDefaultsFromEarlierDesktop() const { return defaultsFromEarlierDesktop_; }

    // Builds the whole desktop of a scenario (on an empty model). Returns the
    // error, empty on success.
    QString applyScenario(const DesktopScenario& scenario);
    // Displays like the machine's own screens, for a desktop without a scenario.
    void mirrorQtScreens() { displayLayout_.mirrorQtScreens(); }
    // The machine's screens as displays, the primary one first.
    static std::vector<DisplaySpec> qtScreenDisplays() { return DesktopDisplayLayout::qtScreenDisplays(); }

    // --- Displays and Spaces (DesktopDisplayLayout) --------------------------
    int addDisplay(const DisplaySpec& spec) { return displayLayout_.addDisplay(spec); }
    void updateDisplay(int index, const DisplaySpec& spec) { displayLayout_.updateDisplay(index, spec); }
    void removeDisplay(int index) { displayLayout_.removeDisplay(index); }
    const std::vector<DesktopDisplay>& displays() const { return displayLayout_.displays(); }
    std::optional<int> mainDisplayIndex() const { return displayLayout_.mainDisplayIndex(); }
    std::optional<int> displayIndexForQuartzRect(const QRectF& rect) const
    {
        return displayLayout_.displayIndexForQuartzRect(rect);
    }
    std::optional<int> displayIndexForCocoaRect(const QRectF& rect) const
    {
        return displayLayout_.displayIndexForCocoaRect(rect);
    }
    QRectF cocoaRect(const QRectF& quartzRect) const { return displayLayout_.cocoaRect(quartzRect); }
    QRectF quartzRect(const QRectF& cocoaRect) const { return displayLayout_.quartzRect(cocoaRect); }
    QPointF cocoaPoint(const QPointF& quartzPoint) const { return displayLayout_.cocoaPoint(quartzPoint); }
    QPointF quartzPoint(const QPointF& cocoaPoint) const { return displayLayout_.quartzPoint(cocoaPoint); }

    int addSpace(int displayIndex) { return displayLayout_.addSpace(displayIndex); }
    std::optional<int> displayIndexOfSpace(int spaceID) const { return displayLayout_.displayIndexOfSpace(spaceID); }
    int activeSpaceID(int displayIndex) const { return displayLayout_.activeSpaceID(displayIndex); }
    bool switchToSpace(int spaceID) { return displayLayout_.switchToSpace(spaceID); }
    bool switchToAdjacentSpace(int displayIndex, int step)
    {
        return displayLayout_.switchToAdjacentSpace(displayIndex, step);
    }

    // --- Bundles (DesktopBundleRegistry) -------------------------------------
    bool installBundle(const BundleSpec& spec, QString* error = nullptr) { return bundles_.installBundle(spec, error); }
    const std::vector<BundleSpec>& bundles() const { return bundles_.bundles(); }
    const BundleSpec* bundleAtPath(const QString& platformPath) const { return bundles_.bundleAtPath(platformPath); }
    const BundleSpec* bundleForIdentifier(const QString& bundleIdentifier) const
    {
        return bundles_.bundleForIdentifier(bundleIdentifier);
    }
    std::optional<QString> platformPathForURL(const QUrl& url) const { return bundles_.platformPathForURL(url); }
    QUrl urlForPlatformPath(const QString& platformPath) const { return bundles_.urlForPlatformPath(platformPath); }

    // --- Running applications (DesktopProcesses) -----------------------------
    ProcessID addRunningApplication(const ApplicationSpec& spec) { return processes_.addRunningApplication(spec); }
    const std::vector<DesktopApplication>& applications() const { return processes_.applications(); }
    const DesktopApplication* application(ProcessID pid) const { return processes_.application(pid); }
    const DesktopApplication* runningApplication(const QString& bundleIdentifier) const
    {
        return processes_.runningApplication(bundleIdentifier);
    }
    std::optional<ProcessID> frontmostPID() const { return processes_.frontmostPID(); }
    std::optional<QString> bundleIdentifierOfProcess(ProcessID pid) const
    {
        return processes_.bundleIdentifierOfProcess(pid);
    }
    bool activate(ProcessID pid, int activationOptions) { return processes_.activate(pid, activationOptions); }
    bool hide(ProcessID pid) { return processes_.hide(pid); }
    bool unhide(ProcessID pid) { return processes_.unhide(pid); }
    bool terminate(ProcessID pid) { return processes_.terminate(pid); }
    bool forceTerminate(ProcessID pid) { return processes_.forceTerminate(pid); }
    void setQuitBehaviour(ProcessID pid, QuitBehaviour behaviour, double delay = 1.0)
    {
        processes_.setQuitBehaviour(pid, behaviour, delay);
    }
    void setAccessibilityResponsive(ProcessID pid, bool responsive)
    {
        processes_.setAccessibilityResponsive(pid, responsive);
    }
    void setRefusesHide(ProcessID pid, bool refuses) { processes_.setRefusesHide(pid, refuses); }
    bool restartDock() { return processes_.restartDock(); }
    int dockRestartCount() const { return processes_.dockRestartCount(); }
    const QVariantMap& appliedDockPreferences() const { return processes_.appliedDockPreferences(); }
    std::optional<WindowNumber> mainWindow(ProcessID pid) const { return processes_.mainWindow(pid); }
    void setMainWindow(ProcessID pid, WindowNumber number) { processes_.setMainWindow(pid, number); }

    // --- Windows (DesktopWindowStack) -----------------------------------------
    WindowNumber addWindow(ProcessID owner, const WindowSpec& spec) { return windowStack_.addWindow(owner, spec); }
    void removeWindow(WindowNumber number) { windowStack_.removeWindow(number); }
    const DesktopWindow* window(WindowNumber number) const { return windowStack_.window(number); }
    std::vector<const DesktopWindow*> windowsFrontToBack() const { return windowStack_.windowsFrontToBack(); }
    std::vector<const DesktopWindow*> windowsOf(ProcessID pid) const { return windowStack_.windowsOf(pid); }
    bool isOnScreen(const DesktopWindow& window) const { return windowStack_.isOnScreen(window); }
    std::optional<int> displayIndexOfWindow(const DesktopWindow& window) const
    {
        return windowStack_.displayIndexOfWindow(window);
    }
    const DesktopWindow* windowAt(const QPointF& quartzPoint) const { return windowStack_.windowAt(quartzPoint); }
    void raiseWindow(WindowNumber number) { windowStack_.raiseWindow(number); }
    void setWindowBounds(WindowNumber number, const QRectF& quartzBounds)
    {
        windowStack_.setWindowBounds(number, quartzBounds);
    }
    void setWindowMinimized(WindowNumber number, bool minimized) { windowStack_.setWindowMinimized(number, minimized); }
    void setWindowFullScreen(WindowNumber number, bool fullScreen)
    {
        windowStack_.setWindowFullScreen(number, fullScreen);
    }
    void setWindowZoomed(WindowNumber number, bool zoomed) { windowStack_.setWindowZoomed(number, zoomed); }
    void setWindowAlpha(WindowNumber number, double alpha) { windowStack_.setWindowAlpha(number, alpha); }
    void moveWindowToSpace(WindowNumber number, int spaceID) { windowStack_.moveWindowToSpace(number, spaceID); }
    void pressTitleBarButton(WindowNumber number, AXElement::Kind button)
    {
        windowStack_.pressTitleBarButton(number, button);
    }
    // The window list (see DesktopWindowListProvider).
    QList<QVariantMap> copyWindowInfo(int options) const;
    // Bumped by every change that can change the window list.
    quint64 windowRevision() const { return windowStack_.revision(); }

    // --- Vesk's windows (DesktopOwnWindows) -----------------------------------
    WindowNumber addOwnWindow(const OwnWindowSpec& spec) override { return ownWindows_.addOwnWindow(spec); }
    bool updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) override
    {
        return ownWindows_.updateOwnWindow(number, spec);
    }
    void removeOwnWindow(WindowNumber number) override { ownWindows_.removeOwnWindow(number); }
    std::vector<OwnWindowInfo> ownWindows() const override { return ownWindows_.ownWindows(); }
    void setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer) override
    {
        ownWindows_.setOwnWindowRenderer(number, std::move(renderer));
    }
    const OwnWindowRenderer* ownWindowRenderer(WindowNumber number) const
    {
        return ownWindows_.ownWindowRenderer(number);
    }
    void setOwnWindowHandle(WindowNumber number, QWindow* window) override
    {
        ownWindows_.setOwnWindowHandle(number, window);
    }
    void makeOwnWindowKey(WindowNumber number) override { ownWindows_.makeOwnWindowKey(number); }
    std::optional<WindowNumber> keyOwnWindow() const override { return ownWindows_.keyOwnWindow(); }
    QWindow* ownWindowHandle(WindowNumber number) const { return ownWindows_.ownWindowHandle(number); }
    std::optional<WindowNumber> ownWindowNumber(const QWindow* window) const
    {
        return ownWindows_.ownWindowNumber(window);
    }

    // --- Vesk's process (DesktopOwnProcess) -----------------------------------
    void setOwnApplication(const OwnApplicationSpec& spec) { ownProcess_.setOwnApplication(spec); }
    ProcessID ownPID() const { return ownProcess_.ownApplication().pid; }
    const OwnApplicationSpec& ownApplication() const override { return ownProcess_.ownApplication(); }
    int presentationOptions() const override { return ownProcess_.presentationOptions(); }
    void setPresentationOptions(int options) override { ownProcess_.setPresentationOptions(options); }
    bool isDockShown() const { return ownProcess_.isDockShown(); }
    bool isMenuBarShown() const { return ownProcess_.isMenuBarShown(); }
    void installOwnBundleUpdate(const QString& version, const QString& build) override
    {
        ownProcess_.installOwnBundleUpdate(version, build);
    }
    void setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                std::function<void()> willTerminate) override
    {
        ownProcess_.setTerminationHandlers(std::move(shouldTerminate), std::move(willTerminate));
    }
    bool requestOwnTermination() override { return ownProcess_.requestOwnTermination(); }
    void replyToOwnTerminationRequest(bool shouldTerminate) override
    {
        ownProcess_.replyToOwnTerminationRequest(shouldTerminate);
    }
    bool isOwnTerminationPending() const { return ownProcess_.isOwnTerminationPending(); }
    bool isOwnApplicationTerminated() const override { return ownProcess_.isOwnApplicationTerminated(); }
    QMetaObject::Connection observeOwnTermination(QObject* receiver, std::function<void()> handler) const override
    {
        return ownProcess_.observeOwnTermination(receiver, std::move(handler));
    }
    void crashOwnProcess() { ownProcess_.crashOwnProcess(); }
    void relaunchOwnProcess() { ownProcess_.relaunchOwnProcess(); }
    bool isOwnProcessCrashed() const { return ownProcess_.isOwnProcessCrashed(); }

    // --- Mouse, permissions, settings, machine and diagnostics ----------------
    QPointF mouseLocation() const { return pointer_.mouseLocation(); } // bottom-left system
    void setMouseLocation(const QPointF& cocoaPoint) { pointer_.setMouseLocation(cocoaPoint); }
    bool isMouseButtonDown(int button) const { return pointer_.isMouseButtonDown(button); }
    void setMouseButtonDown(int button, bool down) { pointer_.setMouseButtonDown(button, down); }

    bool isAccessibilityTrusted() const { return permissions_.isAccessibilityTrusted(); }
    void setAccessibilityTrusted(bool trusted) { permissions_.setAccessibilityTrusted(trusted); }
    bool isInputMonitoringGranted() const { return permissions_.isInputMonitoringGranted(); }
    void setInputMonitoringGranted(bool granted) { permissions_.setInputMonitoringGranted(granted); }
    bool hasInputMonitoringGrant() const { return permissions_.hasInputMonitoringGrant(); }
    void setInputMonitoringPreflightLags(bool lags) { permissions_.setInputMonitoringPreflightLags(lags); }
    bool promptForAccessibility() { return permissions_.promptForAccessibility(); }
    bool requestInputMonitoring() { return permissions_.requestInputMonitoring(); }
    int accessibilityPromptCount() const { return permissions_.accessibilityPromptCount(); }
    int inputMonitoringRequestCount() const { return permissions_.inputMonitoringRequestCount(); }
    void setGrantsPermissionsOnRequest(bool grants) { permissions_.setGrantsPermissionsOnRequest(grants); }

    bool shouldReduceMotion() const { return reduceMotion_.shouldReduceMotion(); }
    void setReduceMotion(bool reduce) { reduceMotion_.setReduceMotion(reduce); }
    // The store reports a transaction update (a renewal, a conversion, a revocation).
    void deliverStoreTransaction(const VerifiedStoreTransaction& update)
    {
        emit storeTransactions_.transactionUpdated(update);
    }

    QString hardwareModel() const { return systemInfo_.hardwareModel(); }
    void setHardwareModel(const QString& model) { systemInfo_.setHardwareModel(model); }
    bool isDarkAppearance() const { return systemInfo_.isDarkAppearance(); }
    void setDarkAppearance(bool dark) { systemInfo_.setDarkAppearance(dark); }
    // Diagnostic payloads are delivered on the workspace's thread.
    void subscribeToDiagnosticPayloads(DiagnosticSubscriber subscriber)
    {
        diagnostics_->subscribeToDiagnosticPayloads(std::move(subscriber));
    }
    void deliverDiagnosticPayloads(const std::vector<QByteArray>& payloads)
    {
        diagnostics_->deliverDiagnosticPayloads(payloads);
    }

signals:
    void applicationLaunched(vesk::platform::ProcessID pid);
    void applicationTerminated(vesk::platform::ProcessID pid);
    void applicationActivated(vesk::platform::ProcessID pid);
    void applicationDeactivated(vesk::platform::ProcessID pid);
    void applicationHidden(vesk::platform::ProcessID pid);
    void applicationUnhidden(vesk::platform::ProcessID pid);
    void activeSpaceChanged();
    void screenParametersChanged();
    void windowsChanged();
    void presentationOptionsChanged(int options);
    void dockRestarted();
    void ownApplicationWillTerminate();

private:
    Scheduler& scheduler_;
    bool defaultsFromEarlierDesktop_ = false;

    DesktopBundleRegistry bundles_;
    DesktopDisplayLayout displayLayout_;
    DesktopWindowStack windowStack_;
    DesktopProcesses processes_;
    DesktopOwnWindows ownWindows_;
    DesktopOwnProcess ownProcess_;
    std::unique_ptr<DefaultsDomains> defaults_;
    std::unique_ptr<DesktopCommandRunner> commandRunner_;
    std::unique_ptr<DesktopAccessibility> accessibility_;
    std::unique_ptr<DesktopEventSystem> events_;
    std::unique_ptr<DesktopWorkspace> workspace_;
    std::unique_ptr<DesktopWindowListProvider> windowList_;
    std::unique_ptr<DesktopScreenProvider> screens_;
    std::unique_ptr<DesktopScreenCapturer> screenCapturer_;
    std::unique_ptr<DesktopFileBrowser> files_;
    std::unique_ptr<DesktopBundleReader> bundleReader_;
    std::unique_ptr<DesktopApplicationActivity> applicationActivity_;
    std::unique_ptr<DesktopDiagnostics> diagnostics_;
    DesktopPointer pointer_;
    DesktopPermissions permissions_;
    DesktopReduceMotion reduceMotion_;
    DesktopSystemInfo systemInfo_;
    StoreTransactionUpdates storeTransactions_;
};

// Platform paths and identifiers the desktop knows by name.
inline const QString kFinderBundleIdentifier = QStringLiteral("com.apple.finder");
inline const QString kFinderBundlePath = QStringLiteral("/System/Library/CoreServices/Finder.app");
inline const QString kDockBundleIdentifier = QStringLiteral("com.apple.dock");
inline const QString kDockBundlePath = QStringLiteral("/System/Library/CoreServices/Dock.app");

} // namespace vesk::platform
