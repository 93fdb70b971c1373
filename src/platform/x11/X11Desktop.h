#pragma once

#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11ApplicationActivity.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11OwnWindows.h"
#include "platform/x11/X11ScreenCapturer.h"
#include "platform/x11/X11ScreenProvider.h"
#include "platform/x11/X11WindowCache.h"
#include "platform/x11/X11WindowControl.h"
#include "platform/x11/X11WindowListProvider.h"
#include "platform/x11/X11Workspace.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <memory>

namespace vesk::platform {

// The real desktop of an X server with an EWMH window manager: the
// connection, the window cache kept from its events, and the platform
// interfaces over them (window list, Vesk's own windows, displays, screen
// capture) with the window manager's requests. Main thread only.
class X11Desktop {
public:
    // On the application's display (Qt's connection under the xcb platform);
    // none without an X server or without a window manager that speaks EWMH.
    static std::unique_ptr<X11Desktop> create(const QString& ownName);
    // On a display of one's choosing, through an own connection.
    static std::unique_ptr<X11Desktop> open(const QString& displayName, const QString& ownName);

    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    X11Connection& connection() { return *connection_; }
    const X11WindowCache& windowCache() const { return cache_; }
    X11WindowControl& windowControl() { return control_; }
    const X11WindowListProvider& windowList() const { return windowList_; }
    X11OwnWindows& ownWindows() { return ownWindows_; }
    const X11ScreenProvider& screens() const { return screens_; }
    const X11ScreenCapturer& screenCapturer() const { return capturer_; }
    const XdgInstalledApplications& installedApplications() const { return installedApplications_; }
    X11Workspace& workspace() { return workspace_; }
    X11ApplicationActivity& applicationActivity() { return activity_; }
    X11Accessibility& accessibility() { return accessibility_; }

private:
    X11Desktop(std::unique_ptr<X11Connection> connection, const QString& ownName);
    static std::unique_ptr<X11Desktop> withWindowManager(std::unique_ptr<X11Connection> connection,
                                                         const QString& ownName);

    std::unique_ptr<X11Connection> connection_;
    X11WindowCache cache_;
    X11WindowControl control_;
    X11ScreenProvider screens_;
    X11OwnWindows ownWindows_;
    X11WindowListProvider windowList_;
    X11ScreenCapturer capturer_;
    XdgInstalledApplications installedApplications_;
    X11Workspace workspace_;
    X11ApplicationActivity activity_;
    X11Accessibility accessibility_;
};

} // namespace vesk::platform
