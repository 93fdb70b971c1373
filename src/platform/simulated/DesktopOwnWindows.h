#pragma once

#include "platform/OwnWindowRegistering.h"
#include "platform/simulated/DesktopWindow.h"

#include <QPointer>
#include <QWindow>

#include <map>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// Vesk's own windows and panels on the simulated desktop: listed with Vesk's
// process in the one stacking order, with how a capture draws each, the real
// window that shows it on a real display, and the panel that has the keyboard.
// A crashed Vesk lists no new windows.
class DesktopOwnWindows final : public OwnWindowRegistering {
public:
    explicit DesktopOwnWindows(SimulatedDesktop& desktop);

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

    // Another application was activated: no panel of ours keeps the keyboard.
    void resignKey() { keyOwnWindow_.reset(); }
    // Vesk's process ended at once: its windows go with their renderers.
    void dropAll();

private:
    bool isOwn(const DesktopWindow* window) const;
    DesktopWindow windowFromSpec(const OwnWindowSpec& spec) const;

    SimulatedDesktop& desktop_;
    std::map<WindowNumber, OwnWindowRenderer> renderers_;
    std::map<WindowNumber, QPointer<QWindow>> handles_;
    // The panel of ours that takes the keyboard, while it can.
    std::optional<WindowNumber> keyOwnWindow_;
};

} // namespace vesk::platform
