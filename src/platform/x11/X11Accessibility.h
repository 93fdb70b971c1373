#pragma once

#include "logging/VeskLogger.h"
#include "platform/Accessibility.h"
#include "platform/x11/X11ManagedWindow.h"
#include "platform/x11/X11RootMapping.h"

#include <QRect>
#include <QRectF>

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace vesk::platform {

class X11WindowCache;
class X11WindowControl;

// The accessibility API over the window manager's windows. An application is
// a process id; its windows are its managed normal and dialog windows on the
// current desktop (or on all of them) and its minimised ones, front to back.
// Values are in the top-left system of the platform interfaces, in logical
// pixels (`rootMapping()` takes them from the root window's; none given: the
// same). Writes are requests to the window manager: they return at once and
// the window cache shows the outcome when it has carried them out. The X
// server asks no permission: the process is always trusted.
//
// A window has title-bar buttons when its frame has a top extent: the title
// bar is that extent less the border (the side extent). The window manager
// does not tell where it draws them, so they are placed by the most common
// layout: at the title bar's right end, inside the border, minimise, zoom and
// close from left to right, squares with a padding of a sixth of the title
// bar's height around each (openbox's default theme draws them there).
// Zoom maximises (or restores) the window; full screen is EWMH's.
class X11Accessibility final : public Accessibility {
public:
    X11Accessibility(const X11WindowCache& cache, X11WindowControl& control,
                     std::function<const X11RootMapping&()> rootMapping = {});

    bool isProcessTrusted() const override { return true; }
    bool isProcessTrustedWithOptions(bool) override { return true; }

    AXElement createApplication(ProcessID pid) const override;
    AXError copyAttributeValue(const AXElement& element, const QString& attribute, QVariant* value) const override;
    AXError setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) override;
    AXError performAction(const AXElement& element, const QString& action) override;
    // The front-most of the application's windows that shows at the point
    // (its title-bar button when the point lies on one).
    AXError copyElementAtPosition(const AXElement& application, const QPointF& point,
                                  AXElement* element) const override;

    // The windows an application's "AXWindows" lists, front to back.
    std::vector<const X11ManagedWindow*> accessibleWindows(ProcessID pid) const;
    // A title-bar button's frame in root coordinates; empty without a title bar.
    static QRect buttonFrame(AXElement::Kind button, const X11ManagedWindow& window);

private:
    // A move or resize the window manager has not carried out yet: a second
    // write (the size after the position) builds on it, not on the old bounds.
    struct PendingBounds {
        QRect requested;
        QRect boundsWhenRequested;
    };

    AXError check(const AXElement& element) const;
    const X11ManagedWindow* windowOf(const AXElement& element) const;
    const X11ManagedWindow* mainWindow(ProcessID pid) const;
    const X11RootMapping& mapping() const;
    QRectF quartzFrame(const QRect& rootRect) const;
    AXError copyApplicationAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError copyWindowAttribute(const X11ManagedWindow& window, const AXElement& element, const QString& attribute,
                                QVariant* value) const;
    AXError copyButtonAttribute(const X11ManagedWindow& window, const AXElement& element, const QString& attribute,
                                QVariant* value) const;
    AXError setApplicationAttribute(const AXElement& element, const QString& attribute, const QVariant& value);
    AXError setWindowAttribute(const X11ManagedWindow& window, const QString& attribute, const QVariant& value);
    AXError moveResize(const X11ManagedWindow& window, const std::optional<QPointF>& position,
                       const std::optional<QSizeF>& size);
    AXError pressButton(const X11ManagedWindow& window, AXElement::Kind button);
    AXError result(bool sent) const { return sent ? AXError::success : AXError::cannotComplete; }
    // Where X11 has no counterpart, says once what stands in for it.
    void noteNearest(const QString& what, const QString& message) const;
    void noteButtonPlacement() const;

    const X11WindowCache& cache_;
    X11WindowControl& control_;
    std::function<const X11RootMapping&()> rootMapping_;
    std::map<xcb_window_t, PendingBounds> pending_;
    mutable std::set<QString> noted_;
    VeskLogger logger_{QStringLiteral("X11Accessibility")};
};

} // namespace vesk::platform
