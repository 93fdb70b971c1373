#pragma once

#include "platform/AXElement.h"
#include "platform/simulated/DesktopWindow.h"

#include <QPointF>
#include <QRectF>

#include <map>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// Every window of the simulated desktop, Vesk's own included, in one stacking
// order: what a window is, where it is, whether it is on screen (its
// application runs and is not hidden, it is not minimised, its Space is the
// active one) and what the title-bar buttons do to it. Every change that can
// change the window list bumps the revision and posts windowsChanged.
class DesktopWindowStack final {
public:
    explicit DesktopWindowStack(SimulatedDesktop& desktop);

    WindowNumber addWindow(ProcessID owner, const WindowSpec& spec);
    // Numbers a window and puts it in front of all others; the caller posts the change.
    WindowNumber placeInFront(DesktopWindow window);
    void removeWindow(WindowNumber number);
    // The windows of a process go at once, with no change posted for them.
    void dropWindowsOf(ProcessID pid);
    // The windows of a process now belong to another one.
    void transferWindows(ProcessID from, ProcessID to);
    // The windows on the given Spaces go to another Space, moved by `shift`.
    void moveWindowsOffSpaces(const std::vector<int>& spaceIDs, int targetSpaceID, const QPointF& shift);

    const DesktopWindow* window(WindowNumber number) const;
    DesktopWindow* mutableWindow(WindowNumber number);
    // The numbers of a process's windows, lowest first.
    std::vector<WindowNumber> windowNumbersOf(ProcessID pid) const;
    // Front to back, all layers together.
    const std::vector<WindowNumber>& stackingOrder() const { return stack_; }
    // Every window, front to back: by layer, then by stacking order.
    std::vector<const DesktopWindow*> windowsFrontToBack() const;
    // The windows of one application, front to back.
    std::vector<const DesktopWindow*> windowsOf(ProcessID pid) const;
    bool isOnScreen(const DesktopWindow& window) const;
    // The display a window is on (largest overlap), none when it covers no display.
    std::optional<int> displayIndexOfWindow(const DesktopWindow& window) const;
    // The frontmost on-screen window under a top-left point that takes the mouse.
    const DesktopWindow* windowAt(const QPointF& quartzPoint) const;

    void bringToFront(WindowNumber number);
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

    quint64 revision() const { return revision_; }
    void bumpRevision() { ++revision_; }
    // Bumps the revision and posts windowsChanged.
    void windowsDidChange();

private:
    int resolveSpace(const WindowSpec& spec, const QRectF& bounds) const;

    SimulatedDesktop& desktop_;
    std::map<WindowNumber, DesktopWindow> windows_;
    std::vector<WindowNumber> stack_; // front to back, all layers
    WindowNumber nextWindowNumber_ = 100;
    quint64 revision_ = 0;
};

} // namespace vesk::platform
