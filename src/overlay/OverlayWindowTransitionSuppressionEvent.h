#pragma once

#include "core/Geometry.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk {

// One suppression of an allowed application's holes, as the transition tracker
// reports it when it starts.
struct OverlayWindowTransitionSuppressionEvent {
    enum class Reason { disappeared, shrunk, windowControlClick, restoring };

    QString bundleID;
    Reason reason = Reason::disappeared;
    // The rect before the transition; the null rect when there is none.
    Rect previousRect = Rect::null();
    // The rect now; nullopt when the window is gone.
    std::optional<Rect> currentRect;
    // Current area over previous area, only for a shrink.
    std::optional<double> areaRatio;
    QDateTime deadline;

    static QString toRaw(Reason reason);
    static std::optional<Reason> fromRaw(const QString& raw);

    bool operator==(const OverlayWindowTransitionSuppressionEvent&) const = default;
};

} // namespace vesk
