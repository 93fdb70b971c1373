#pragma once

#include "platform/AXElement.h"
#include "platform/OwnApplicationControlling.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/PlatformInterfaces.h"
#include "platform/PresentationOptionsControlling.h"
#include "platform/StoreTransactionUpdates.h"
#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DesktopApplication.h"
#include "platform/simulated/DesktopDiagnostics.h"
#include "platform/simulated/DesktopDisplay.h"
#include "platform/simulated/DesktopPermissions.h"
#include "platform/simulated/DesktopPointer.h"
#include "platform/simulated/DesktopReduceMotion.h"
#include "platform/simulated/DesktopSystemInfo.h"
#include "platform/simulated/DesktopWindow.h"

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
// The desktop implements the platform's interfaces, itself or through its
// parts; interfaces() hands them to the application. What they do not
// offer (adding displays and windows, injecting events, granting
// permissions, ...) is for tests and the scripted run.
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
    const QString& desktopRoot() const { return desktopRoot_; }
    // "/Applications/X.app" -> the folder under the desktop root.
    QString filesystemPath(const QString& platformPath) const;

    DesktopWorkspace& workspace() const { return *workspace_; }
    DesktopAccessibility& accessibility() const { return *accessibility_; }
    DesktopEventSystem& events() const { return *events_; }
    DefaultsDomains& defaults() const { return *defaults_; }
    // The name of the file the desktop keeps its defaults domains in.
    static constexpr const char* defaultsDomainsFileName = "defaults-domains.json";
    // Keeps the defaults domains in the file at `path` from now on, so that
    // they outlive a killed Vesk as a system's settings do (see
    // DefaultsDomains::keepInFile). Before applyScenario: domains an earlier
    // desktop left in the file are the state to go on from, and a scenario's
    // own domains then only seed a file that holds none yet. True when the
    // file held them.
    bool keepDefaultsDomainsIn(const QString& path);
    DesktopCommandRunner& commandRunner() const { return *commandRunner_; }
    // Every platform interface, for the application.
    PlatformInterfaces interfaces();

    // Builds the whole desktop of a scenario (on an empty model). Returns the
    // error, empty on success.
    QString applyScenario(const DesktopScenario& scenario);
    // Displays like the machine's own screens, for a desktop without a scenario.
    void mirrorQtScreens();
    // The machine's screens as displays, the primary one first.
    static std::vector<DisplaySpec> qtScreenDisplays();

    // --- Displays and Spaces ---------------------------------------------
    int addDisplay(const DisplaySpec& spec);
    void updateDisplay(int index, const DisplaySpec& spec);
    void removeDisplay(int index);
    const std::vector<DesktopDisplay>& displays() const { return displays_; }
    // The display with Vesk's key window, else the first; none without displays.
    std::optional<int> mainDisplayIndex() const;
    std::optional<int> displayIndexForQuartzRect(const QRectF& rect) const;
    std::optional<int> displayIndexForCocoaRect(const QRectF& rect) const;
    QRectF cocoaRect(const QRectF& quartzRect) const;
    QRectF quartzRect(const QRectF& cocoaRect) const;
    QPointF cocoaPoint(const QPointF& quartzPoint) const;
    QPointF quartzPoint(const QPointF& cocoaPoint) const;

    int addSpace(int displayIndex);
    std::optional<int> displayIndexOfSpace(int spaceID) const;
    int activeSpaceID(int displayIndex) const;
    // Makes a Space the active one of its display; posts activeSpaceChanged.
    bool switchToSpace(int spaceID);
    // The Space after the active one of a display (wrapping), for swipes and shortcuts.
    bool switchToAdjacentSpace(int displayIndex, int step);

    // --- Bundles -----------------------------------------------------------
    // Writes the bundle folder with its Info.plist under the desktop root and
    // registers it with the workspace.
    bool installBundle(const BundleSpec& spec, QString* error = nullptr);
    const std::vector<BundleSpec>& bundles() const { return bundles_; }
    const BundleSpec* bundleAtPath(const QString& platformPath) const;
    const BundleSpec* bundleForIdentifier(const QString& bundleIdentifier) const;
    // The platform path of a bundle URL under the desktop root, if it is one.
    std::optional<QString> platformPathForURL(const QUrl& url) const;
    QUrl urlForPlatformPath(const QString& platformPath) const;

    // --- Running applications ------------------------------------------------
    // Puts a process on the desktop (launch notification); it does not come
    // forward until it is activated.
    ProcessID addRunningApplication(const ApplicationSpec& spec);
    // Every application ever started, terminated ones included, in workspace order.
    const std::vector<DesktopApplication>& applications() const { return applications_; }
    const DesktopApplication* application(ProcessID pid) const;
    // The first application with that identifier that has not terminated.
    const DesktopApplication* runningApplication(const QString& bundleIdentifier) const;
    std::optional<ProcessID> frontmostPID() const { return frontmostPID_; }
    // The bundle identifier of a running process; none when it has exited or has none.
    std::optional<QString> bundleIdentifierOfProcess(ProcessID pid) const;

    bool activate(ProcessID pid, int activationOptions);
    bool hide(ProcessID pid);
    bool unhide(ProcessID pid);
    // A polite quit request: the application quits now, later or not at all,
    // as its QuitBehaviour says. False when it has already terminated.
    bool terminate(ProcessID pid);
    // The process ends at once (a crash, a forced quit).
    bool forceTerminate(ProcessID pid);
    void setQuitBehaviour(ProcessID pid, QuitBehaviour behaviour, double delay = 1.0);
    void setAccessibilityResponsive(ProcessID pid, bool responsive);
    // Requests to hide the application fail while it refuses them.
    void setRefusesHide(ProcessID pid, bool refuses);
    // Restarts the Dock process (what "killall Dock" does); false when no Dock runs.
    bool restartDock();
    int dockRestartCount() const { return dockRestartCount_; }
    // The Dock settings that the running Dock read when it last started.
    const QVariantMap& appliedDockPreferences() const { return appliedDockPreferences_; }

    // --- Windows ---------------------------------------------------------------
    WindowNumber addWindow(ProcessID owner, const WindowSpec& spec);
    void removeWindow(WindowNumber number);
    const DesktopWindow* window(WindowNumber number) const;
    // Every window, front to back: by layer, then by stacking order.
    std::vector<const DesktopWindow*> windowsFrontToBack() const;
    // The windows of one application, front to back.
    std::vector<const DesktopWindow*> windowsOf(ProcessID pid) const;
    bool isOnScreen(const DesktopWindow& window) const;
    // The display a window is on (largest overlap), none when it covers no display.
    std::optional<int> displayIndexOfWindow(const DesktopWindow& window) const;
    // The frontmost on-screen window under a top-left point that takes the mouse.
    const DesktopWindow* windowAt(const QPointF& quartzPoint) const;

    void raiseWindow(WindowNumber number);
    void setWindowBounds(WindowNumber number, const QRectF& quartzBounds);
    void setWindowMinimized(WindowNumber number, bool minimized);
    void setWindowFullScreen(WindowNumber number, bool fullScreen);
    void setWindowZoomed(WindowNumber number, bool zoomed);
    void setWindowAlpha(WindowNumber number, double alpha);
    void moveWindowToSpace(WindowNumber number, int spaceID);
    // What the close, minimise and zoom buttons of a title bar do: close the
    // window, minimise it, toggle full screen.
    void pressTitleBarButton(WindowNumber number, AXElement::Kind button);
    // An application's main window: the one set last, else its frontmost
    // standard window that is not minimised.
    std::optional<WindowNumber> mainWindow(ProcessID pid) const;
    void setMainWindow(ProcessID pid, WindowNumber number);

    // The window list (see DesktopWindowListProvider).
    QList<QVariantMap> copyWindowInfo(int options) const;
    // Bumped by every change that can change the window list.
    quint64 windowRevision() const { return revision_; }

    // --- Vesk itself -------------------------------------------------------------
    void setOwnApplication(const OwnApplicationSpec& spec);
    ProcessID ownPID() const { return own_.pid; }
    WindowNumber addOwnWindow(const OwnWindowSpec& spec) override;
    bool updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) override;
    void removeOwnWindow(WindowNumber number) override;
    std::vector<OwnWindowInfo> ownWindows() const override;
    void setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer) override;
    const OwnWindowRenderer* ownWindowRenderer(WindowNumber number) const;
    void setOwnWindowHandle(WindowNumber number, QWindow* window) override;
    void makeOwnWindowKey(WindowNumber number) override;
    std::optional<WindowNumber> keyOwnWindow() const override;
    // The real window of one of ours; none when it has none or it is gone.
    QWindow* ownWindowHandle(WindowNumber number) const;
    // Which of our windows a real window shows; none for a window we never listed.
    std::optional<WindowNumber> ownWindowNumber(const QWindow* window) const;

    // The options of Vesk's process; they end with it. While Vesk is in
    // front they hide the Dock and the menu bar, keep Command+Tab from
    // switching away and keep Vesk from being hidden.
    int presentationOptions() const override { return presentationOptions_; }
    void setPresentationOptions(int options) override;
    // The Dock is on screen: one runs, it did not start with "autohide", and
    // Vesk, when in front, does not hide it.
    bool isDockShown() const;
    bool isMenuBarShown() const;

    const OwnApplicationSpec& ownApplication() const override { return own_; }
    void installOwnBundleUpdate(const QString& version, const QString& build) override;
    void setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                std::function<void()> willTerminate) override;
    bool requestOwnTermination() override;
    void replyToOwnTerminationRequest(bool shouldTerminate) override;
    bool isOwnTerminationPending() const { return ownTerminationPending_; }
    bool isOwnApplicationTerminated() const override { return ownTerminated_; }
    QMetaObject::Connection observeOwnTermination(QObject* receiver, std::function<void()> handler) const override;
    // Vesk's process ends at once, as on a crash or SIGKILL: nothing of it
    // runs to the end. The system drops its windows, event taps and monitors
    // and its presentation options; until relaunchOwnProcess, whatever its
    // remains still ask for has no effect (no taps, windows, options, and
    // the command-line tools fail to start). Defaults domains keep what was
    // written to them.
    void crashOwnProcess();
    // Vesk runs again (same identity), from nothing.
    void relaunchOwnProcess();
    bool isOwnProcessCrashed() const { return ownCrashed_; }

    // --- Mouse, permissions, settings, machine and diagnostics ----------------
    // Each is a part of its own; the desktop hands them out and forwards what
    // tests and the scripted run set on them.
    DesktopPointer& pointer() { return pointer_; }
    DesktopPermissions& permissions() { return permissions_; }
    DesktopReduceMotion& reduceMotion() { return reduceMotion_; }
    DesktopSystemInfo& systemInfo() { return systemInfo_; }
    DesktopDiagnostics& diagnostics() { return *diagnostics_; }

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
    void windowsDidChange();
    DesktopApplication* mutableApplication(ProcessID pid);
    DesktopWindow* mutableWindow(WindowNumber number);
    DesktopDisplay resolveDisplay(const DisplaySpec& spec) const;
    int resolveSpace(const WindowSpec& spec, const QRectF& bounds) const;
    void bringToFront(WindowNumber number);
    void bringApplicationWindowsToFront(ProcessID pid, bool allWindows);
    void chooseNewFrontmost(ProcessID leaving);
    void switchToSpaceOfApplicationIfNeeded(ProcessID pid);
    void finishTermination(ProcessID pid);
    void endOwnProcess();
    ProcessID nextPID();
    DesktopWindow ownWindowFromSpec(WindowNumber number, const OwnWindowSpec& spec) const;

    Scheduler& scheduler_;
    QString desktopRoot_;
    std::vector<DesktopDisplay> displays_;
    int nextSpaceID_ = 1;
    std::vector<BundleSpec> bundles_;
    std::vector<DesktopApplication> applications_;
    std::map<WindowNumber, DesktopWindow> windows_;
    std::map<WindowNumber, OwnWindowRenderer> ownRenderers_;
    std::map<WindowNumber, QPointer<QWindow>> ownHandles_;
    // The panel of ours that takes the keyboard, while it can.
    std::optional<WindowNumber> keyOwnWindow_;
    // Bumped by every change that can change the window list.
    quint64 revision_ = 0;
    std::vector<WindowNumber> stack_; // front to back, all layers
    WindowNumber nextWindowNumber_ = 100;
    ProcessID nextPID_ = 500;
    std::optional<ProcessID> frontmostPID_;
    OwnApplicationSpec own_;
    bool ownTerminationPending_ = false;
    bool ownTerminated_ = false;
    bool ownCrashed_ = false;
    std::function<TerminateReply()> shouldTerminate_;
    std::function<void()> willTerminate_;
    int presentationOptions_ = 0;
    int dockRestartCount_ = 0;
    QVariantMap appliedDockPreferences_;
    bool defaultsFromEarlierDesktop_ = false;

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
