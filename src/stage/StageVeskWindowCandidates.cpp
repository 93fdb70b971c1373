#include "stage/StageVeskWindowCandidates.h"

#include <QCollator>

namespace vesk {

namespace {

const QString finderBundleID = QStringLiteral("com.apple.finder");

bool isFinderDesktop(const AllowedWindowSnapshot& window, const DisplayGeometry& geometry)
{
    return window.bundleID == finderBundleID && window.layer == 0 && geometry.isFullDisplayRect(window.bounds);
}

} // namespace

QStringList stageCandidateRejections(const AllowedWindowSnapshot& window,
                                     const std::optional<DisplayGeometry>& geometry)
{
    QStringList tags;
    if (window.layer != 0)
        tags << QStringLiteral("layer");
    if (!(window.alpha >= 0.9))
        tags << QStringLiteral("alpha");
    if (!(window.bounds.width > 24 && window.bounds.height > 24))
        tags << QStringLiteral("size");
    if (geometry && isFinderDesktop(window, *geometry))
        tags << QStringLiteral("finderDesktop");
    return tags;
}

QString describeWindowCandidate(const AllowedWindowSnapshot& window, const std::optional<DisplayGeometry>& geometry)
{
    return QStringLiteral("{layer=%1, alpha=%2, bounds=%3, rejectedBy=[%4]}")
        .arg(window.layer)
        .arg(QString::asprintf("%.2f", window.alpha), toString(window.bounds),
             stageCandidateRejections(window, geometry).join(','));
}

std::map<QString, Rect> visibleWindowRects(const std::vector<AllowedWindowSnapshot>& onScreenFrontToBack,
                                           const std::optional<DisplayGeometry>& geometry,
                                           const std::set<QString>& bundleIDs)
{
    std::map<QString, Rect> rects;
    if (!geometry || geometry->isEmpty())
        return rects;
    for (const AllowedWindowSnapshot& window : onScreenFrontToBack) {
        if (!bundleIDs.contains(window.bundleID) || rects.contains(window.bundleID))
            continue;
        if (!stageCandidateRejections(window, geometry).isEmpty())
            continue;
        rects[window.bundleID] =
            DisplayGeometry::cocoaRect(window.bounds, geometry->displayFrameForQuartzRect(window.bounds));
    }
    return rects;
}

bool displayNameOrder(const QString& a, const QString& b, const std::map<QString, QString>& displayNames)
{
    const auto name = [&](const QString& bundleID) {
        const auto entry = displayNames.find(bundleID);
        return entry != displayNames.end() ? entry->second : bundleID;
    };
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator.compare(name(a), name(b)) < 0;
}

} // namespace vesk
