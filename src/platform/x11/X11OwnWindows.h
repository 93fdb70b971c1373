#pragma once

#include "platform/OwnWindowRegistering.h"

#include <QPointer>
#include <QWindow>

#include <vector>

namespace vesk::platform {

class X11ScreenProvider;

// Vesk's own windows and panels as they register themselves, front to back
// (a window registered or shown last comes first), for the window list. Their
// numbers lie above every X resource id (those leave the top three bits
// clear), so they never meet another client's window.
class X11OwnWindows final : public OwnWindowRegistering {
public:
    struct Entry {
        WindowNumber number = 0;
        OwnWindowSpec spec;
        QRectF quartzBounds;
        OwnWindowRenderer renderer;
        QPointer<QWindow> handle;
    };

    static constexpr WindowNumber firstNumber = 0xE0000001;

    explicit X11OwnWindows(const X11ScreenProvider& screens) : screens_(screens) { }

    WindowNumber addOwnWindow(const OwnWindowSpec& spec) override;
    bool updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) override;
    void removeOwnWindow(WindowNumber number) override;
    void setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer) override;
    void setOwnWindowHandle(WindowNumber number, QWindow* window) override;
    void makeOwnWindowKey(WindowNumber number) override;
    std::optional<WindowNumber> keyOwnWindow() const override;
    std::vector<OwnWindowInfo> ownWindows() const override;

    const std::vector<Entry>& entries() const { return entries_; }
    // The X window that shows a registered window, when it has one.
    static std::optional<quint32> nativeWindow(const Entry& entry);
    // Grows with every change.
    quint64 revision() const { return revision_; }

private:
    Entry* find(WindowNumber number);
    const Entry* find(WindowNumber number) const;

    const X11ScreenProvider& screens_;
    std::vector<Entry> entries_;
    WindowNumber nextNumber_ = firstNumber;
    std::optional<WindowNumber> key_;
    quint64 revision_ = 0;
};

} // namespace vesk::platform
