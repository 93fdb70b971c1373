#pragma once

#include "platform/PointerStateProviding.h"

#include <QPoint>
#include <QPointF>

#include <xcb/xcb.h>

#include <functional>
#include <optional>

namespace vesk::platform {

class X11Connection;

// The pointer as the X server has it, wherever it is (Qt sees it only over
// its own windows). It is asked every frame, so no ask waits for the server:
// each sends a QueryPointer and takes the answer of the one before when it
// has arrived, so that what it tells is at most a frame old. Only the very
// first ask waits. Main thread only.
class X11PointerState final : public PointerStateProviding {
public:
    // `cocoaFromRoot` turns a point of the root window into the bottom-left system.
    X11PointerState(X11Connection& connection, std::function<QPointF(QPoint rootPoint)> cocoaFromRoot);
    ~X11PointerState() override;

    X11PointerState(const X11PointerState&) = delete;
    X11PointerState& operator=(const X11PointerState&) = delete;

    QPointF mouseLocation() const override;
    bool isMouseButtonDown(int button) const override;

    // Whether the state's button mask holds the button (0 left, 1 right, 2 centre).
    static bool isButtonInMask(std::uint16_t mask, int button);

private:
    void update() const;
    void take(const xcb_query_pointer_reply_t& reply) const;

    X11Connection& connection_;
    std::function<QPointF(QPoint)> cocoaFromRoot_;
    mutable std::optional<unsigned int> pending_;
    mutable bool known_ = false;
    mutable QPoint root_;
    mutable std::uint16_t mask_ = 0;
};

} // namespace vesk::platform
