#include "overlay/OverlayTickLog.h"

#include "core/TextFormat.h"
#include "overlay/OverlayLogText.h"
#include "overlay/OverlayWindowTransitionTracker.h"
#include "overlay/WindowClassification.h"

#include <QStringList>

namespace vesk {

namespace {

constexpr int kMaxListedWindows = 5;

QString threeDecimals(double value)
{
    return QString::asprintf("%.3f", value);
}

QString blockerText(const OverlayBlockerSnapshot& blocker)
{
    return QStringLiteral("%1(layer=%2, alpha=%3, rect=%4)")
        .arg(blocker.bundleID)
        .arg(blocker.layer)
        .arg(threeDecimals(blocker.alpha), toString(blocker.rect));
}

QString blockerArrayText(const std::vector<OverlayBlockerSnapshot>& blockers)
{
    QStringList items;
    for (const auto& blocker : blockers) {
        if (items.size() == kMaxListedWindows)
            break;
        items << blockerText(blocker);
    }
    return arrayText(items);
}

// The last summary equals the counts with the fully occluded set; the set is
// compared where it lies, so that an unchanged frame copies nothing.
bool isSameSummary(const std::optional<OverlayVisibilityDiagnostics>& last, const OverlayVisibilityDiagnostics& counts,
                   const std::set<QString>& fullyOccluded)
{
    return last && last->rawAllowedWindowCount == counts.rawAllowedWindowCount
           && last->passthroughRectCount == counts.passthroughRectCount && last->blockerCount == counts.blockerCount
           && last->ignoredBlockerCount == counts.ignoredBlockerCount
           && last->suppressedWindowCount == counts.suppressedWindowCount
           && last->fullyOccludedBundleIDs == fullyOccluded;
}

} // namespace

OverlayTickLog::OverlayTickLog(VeskLogger logger) : logger_(std::move(logger))
{
}

void OverlayTickLog::reset()
{
    lastAllowedWindowCount_.reset();
    lastVisibilityDiagnostics_.reset();
}

void OverlayTickLog::logEvaluation(const WindowClassification& classification, const std::set<QString>& fullyOccluded)
{
    OverlayVisibilityDiagnostics diagnostics;
    diagnostics.rawAllowedWindowCount = totalRectCount(classification.allowedWindowRectsByBundleID);
    diagnostics.passthroughRectCount = static_cast<int>(classification.fragments.size());
    diagnostics.blockerCount = static_cast<int>(classification.blockers.size());
    diagnostics.ignoredBlockerCount = static_cast<int>(classification.ignoredBlockers.size());
    diagnostics.suppressedWindowCount = static_cast<int>(classification.suppressedWindows.size());
    if (isSameSummary(lastVisibilityDiagnostics_, diagnostics, fullyOccluded))
        return;
    diagnostics.fullyOccludedBundleIDs = fullyOccluded;
    lastVisibilityDiagnostics_ = diagnostics;

    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Overlay window evaluation — rawAllowed=%1, passthrough=%2, blockers=%3, "
                               "ignoredBlockers=%4, suppressed=%5, fullyOccluded=%6")
                    .arg(diagnostics.rawAllowedWindowCount)
                    .arg(diagnostics.passthroughRectCount)
                    .arg(diagnostics.blockerCount)
                    .arg(diagnostics.ignoredBlockerCount)
                    .arg(diagnostics.suppressedWindowCount)
                    .arg(sortedArrayText(fullyOccluded)));

    if (!classification.suppressedWindows.empty()) {
        QStringList windows;
        for (const auto& window : classification.suppressedWindows) {
            if (windows.size() == kMaxListedWindows)
                break;
            windows << QStringLiteral("%1(reason=%2, alpha=%3, rect=%4)")
                           .arg(window.bundleID, OverlaySuppressedWindowSnapshot::toRaw(window.reason),
                                threeDecimals(window.alpha), toString(window.rect));
        }
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Suppressed unstable passthrough windows — windows=") + arrayText(windows));
    }
    if (!classification.ignoredBlockers.empty()) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignored non-visual full-screen overlay blockers — blockers=")
                                             + blockerArrayText(classification.ignoredBlockers));
    }
    if (!fullyOccluded.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Allowed windows fully occluded — bundleIDs=%1, blockers=%2")
                        .arg(sortedArrayText(fullyOccluded), blockerArrayText(classification.blockers)));
    }
}

void OverlayTickLog::logTransitions(const WindowTransitionUpdate& update, double suppressionDuration)
{
    for (const auto& event : update.events) {
        const QString duration = doubleText(suppressionDuration);
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Window transition suppression started — bundleID=%1, reason=%2, previousRect=%3, "
                                   "currentRect=%4, areaRatio=%5, duration=%6s")
                        .arg(event.bundleID, OverlayWindowTransitionSuppressionEvent::toRaw(event.reason),
                             toString(event.previousRect),
                             event.currentRect ? toString(*event.currentRect) : QStringLiteral("none"),
                             event.areaRatio ? threeDecimals(*event.areaRatio) : QStringLiteral("none"), duration));
    }
    for (const QString& bundleID : update.endedBundleIDs)
        logger_.log(VeskLogLevel::debug, QStringLiteral("Window transition suppression ended — bundleID=") + bundleID);
    for (const auto& motion : update.motionEvents) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Fresh moved rect accepted — bundleID=%1, previousRect=%2, currentRect=%3, "
                                   "deltaX=%4, deltaY=%5")
                        .arg(motion.bundleID, toString(motion.previousRect), toString(motion.currentRect),
                             QString::asprintf("%.1f", motion.deltaX), QString::asprintf("%.1f", motion.deltaY)));
    }
}

void OverlayTickLog::logVisibleSurfaceCount(int count)
{
    if (lastAllowedWindowCount_ && *lastAllowedWindowCount_ != count) {
        logger_.log(
            VeskLogLevel::debug,
            QStringLiteral("Allowed visual surface count changed: %1 → %2").arg(*lastAllowedWindowCount_).arg(count));
    }
    lastAllowedWindowCount_ = count;
}

} // namespace vesk
