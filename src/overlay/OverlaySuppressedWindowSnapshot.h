#pragma once

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// An allowed window that gets no hole, and why.
struct OverlaySuppressedWindowSnapshot {
    enum class Reason {
        translucent, // too transparent to count as visible
        offscreen,   // covers no display
    };

    static QString toRaw(Reason reason);
    static std::optional<Reason> fromRaw(const QString& raw);

    QString bundleID;
    std::optional<quint32> windowID;
    double alpha = 1.0;
    Rect rect; // the whole window, bottom-left (Cocoa) coordinates
    Reason reason = Reason::translucent;

    bool operator==(const OverlaySuppressedWindowSnapshot&) const = default;
};

} // namespace vesk
