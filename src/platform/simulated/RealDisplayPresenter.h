#pragma once

#include "platform/Identifiers.h"
#include "platform/simulated/DesktopScreenCapturer.h"

#include <QObject>

#include <memory>
#include <vector>

class QWindow;

namespace vesk::platform {

class DesktopDisplayWindow;
class RealInputRouter;
class SimulatedDesktop;
struct DesktopWindow;

// The simulated desktop on a real display (an X server): per display, a
// window at the bottom of the stack paints the wallpaper and the other
// applications' windows, repainted when the model changes; Vesk's own windows
// stay real windows above it, and the real input goes through the model
// (RealInputRouter).
//
// The real stacking follows the model: one of Vesk's windows that another
// application's window covers in the model (the overlay's backing panel
// behind every window, the main window under a window clicked later) is
// drawn by the desktop window from its renderer, and its real window is
// kept below the desktop window; when nothing covers it any more it comes
// forward again. Windows that do not tell the desktop their real window are
// left where they are.
class RealDisplayPresenter final : public QObject {
    Q_OBJECT

public:
    explicit RealDisplayPresenter(SimulatedDesktop& desktop);
    ~RealDisplayPresenter() override;

    // Whether the application runs on a window system this can show on.
    static bool isAvailable();

    const std::vector<std::unique_ptr<DesktopDisplayWindow>>& displayWindows() const { return windows_; }
    // Whether one of Vesk's windows shows as its real window (else the desktop draws it).
    bool showsRealWindow(WindowNumber number) const;

private:
    void rebuildWindows();
    void scheduleRefresh();
    void refresh();
    bool drawsWindow(const DesktopWindow& window) const;
    bool isCovered(const DesktopWindow& window) const;
    QWindow* desktopWindowAt(const QPointF& quartzPoint) const;
    bool isDesktopWindow(const QWindow* window) const;

    SimulatedDesktop& desktop_;
    DesktopScreenCapturer capturer_;
    std::vector<std::unique_ptr<DesktopDisplayWindow>> windows_;
    // Vesk's windows shown as real windows, front to back, as last stacked.
    std::vector<WindowNumber> realWindows_;
    bool refreshPending_ = false;
    std::unique_ptr<RealInputRouter> router_;
};

} // namespace vesk::platform
