#pragma once

#include "platform/PlatformInterfaces.h"
#include "platform/StoreTransactionUpdates.h"
#include "platform/x11/GSettingsCommandRunner.h"
#include "platform/x11/GSettingsTool.h"
#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11ApplicationActivity.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11DefaultsDomains.h"
#include "platform/x11/X11DiagnosticPayloads.h"
#include "platform/x11/X11EventTaps.h"
#include "platform/x11/X11OwnApplication.h"
#include "platform/x11/X11OwnWindows.h"
#include "platform/x11/X11Permissions.h"
#include "platform/x11/X11PointerState.h"
#include "platform/x11/X11PresentationOptions.h"
#include "platform/x11/X11ReduceMotion.h"
#include "platform/x11/X11ScreenCapturer.h"
#include "platform/x11/X11ScreenProvider.h"
#include "platform/x11/X11SystemInfo.h"
#include "platform/x11/X11WindowCache.h"
#include "platform/x11/X11WindowControl.h"
#include "platform/x11/X11WindowControlZones.h"
#include "platform/x11/X11WindowListProvider.h"
#include "platform/x11/X11Workspace.h"
#include "platform/x11/XdgBundleReader.h"
#include "platform/x11/XdgFileBrowser.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <memory>

namespace vesk::platform {

// The real desktop of an X server with an EWMH window manager: the
// connection, the window cache kept from its events, and every platform
// interface over them (window list, Vesk's own windows, displays, screen
// capture, workspace, accessibility, and the small ones), with the window
// manager's requests. Main thread only.
class X11Desktop {
public:
    // On the application's display (Qt's connection under the xcb platform);
    // none without an X server or without a window manager that speaks EWMH.
    static std::unique_ptr<X11Desktop> create(const QString& ownName);
    // On a display of one's choosing, through an own connection.
    static std::unique_ptr<X11Desktop> open(const QString& displayName, const QString& ownName);

    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    // Every platform interface, for the application's composition.
    PlatformInterfaces interfaces();

    X11Connection& connection() { return *connection_; }
    const X11WindowCache& windowCache() const { return cache_; }
    X11WindowControl& windowControl() { return control_; }
    const X11WindowListProvider& windowList() const { return windowList_; }
    X11OwnWindows& ownWindows() { return ownWindows_; }
    const X11ScreenProvider& screens() const { return screens_; }
    const X11ScreenCapturer& screenCapturer() const { return capturer_; }
    const X11PointerState& pointer() const { return pointer_; }
    X11Permissions& permissions() { return permissions_; }
    X11PresentationOptions& presentationOptions() { return presentationOptions_; }
    X11ReduceMotion& reduceMotion() { return reduceMotion_; }
    const X11SystemInfo& systemInfo() const { return systemInfo_; }
    X11DiagnosticPayloads& diagnosticPayloads() { return diagnosticPayloads_; }
    StoreTransactionUpdates& storeTransactions() { return storeTransactions_; }
    X11OwnApplication& ownApplication() { return ownApplication_; }
    X11EventTaps& eventTaps() { return eventTaps_; }
    GSettingsCommandRunner& commandRunner() { return commandRunner_; }
    X11DefaultsDomains& defaultsDomains() { return defaultsDomains_; }
    const XdgInstalledApplications& installedApplications() const { return installedApplications_; }
    X11Workspace& workspace() { return workspace_; }
    X11ApplicationActivity& applicationActivity() { return activity_; }
    X11Accessibility& accessibility() { return accessibility_; }
    const X11WindowControlZones& windowControlZones() const { return controlZones_; }
    const XdgFileBrowser& files() const { return files_; }
    const XdgBundleReader& bundles() const { return bundles_; }

private:
    X11Desktop(std::unique_ptr<X11Connection> connection, const QString& ownName);
    static std::unique_ptr<X11Desktop> withWindowManager(std::unique_ptr<X11Connection> connection,
                                                         const QString& ownName);
    QPointF cocoaFromRoot(QPoint rootPoint) const;

    std::unique_ptr<X11Connection> connection_;
    X11WindowCache cache_;
    X11WindowControl control_;
    X11ScreenProvider screens_;
    X11OwnWindows ownWindows_;
    X11WindowListProvider windowList_;
    X11ScreenCapturer capturer_;
    X11PointerState pointer_;
    X11Permissions permissions_;
    X11PresentationOptions presentationOptions_;
    // The desktop's own `gsettings`, for the settings read once here.
    GSettingsTool settingsTool_;
    X11ReduceMotion reduceMotion_;
    X11SystemInfo systemInfo_;
    X11DiagnosticPayloads diagnosticPayloads_;
    StoreTransactionUpdates storeTransactions_;
    X11OwnApplication ownApplication_;
    X11EventTaps eventTaps_;
    GSettingsCommandRunner commandRunner_;
    X11DefaultsDomains defaultsDomains_;
    XdgInstalledApplications installedApplications_;
    X11Workspace workspace_;
    X11ApplicationActivity activity_;
    X11Accessibility accessibility_;
    X11WindowControlZones controlZones_;
    XdgFileBrowser files_;
    XdgBundleReader bundles_;
};

} // namespace vesk::platform
