#pragma once

#include "overlay/AllowedWindowSnapshot.h"
#include "overlay/DisplayGeometry.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

// Which window-list entries count as an application's visible window on the
// stage: layer 0, alpha at least 0.9, larger than 24 pt each way, and not the
// Finder's display-sized desktop (a test that needs the displays).

// The tags of the failed tests, in the order layer, alpha, size,
// finderDesktop; empty for a candidate.
QStringList stageCandidateRejections(const AllowedWindowSnapshot& window,
                                     const std::optional<DisplayGeometry>& geometry);

// "{layer=0, alpha=0.95, bounds={{x, y}, {w, h}}, rejectedBy=[alpha,size]}".
QString describeWindowCandidate(const AllowedWindowSnapshot& window, const std::optional<DisplayGeometry>& geometry);

// The frontmost candidate of each asked application, converted to
// bottom-left (Cocoa) coordinates through the display it lies on. Empty
// without displays.
std::map<QString, Rect> visibleWindowRects(const std::vector<AllowedWindowSnapshot>& onScreenFrontToBack,
                                           const std::optional<DisplayGeometry>& geometry,
                                           const std::set<QString>& bundleIDs);

// Whether a sorts before b by display name (the identifier without one),
// compared case-insensitively in the user's locale.
bool displayNameOrder(const QString& a, const QString& b, const std::map<QString, QString>& displayNames);

} // namespace vesk
