#include "platform/simulated/DesktopDisplayLayout.h"

#include "platform/simulated/DesktopWindowStack.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

#include <algorithm>

namespace vesk::platform {

namespace {

Q_LOGGING_CATEGORY(lcDesktop, "vesk.platform.desktop")

double overlapArea(const QRectF& a, const QRectF& b)
{
    const QRectF overlap = a.intersected(b);
    if (overlap.isEmpty())
        return 0;
    return overlap.width() * overlap.height();
}

bool containsPoint(const QRectF& rect, const QPointF& point)
{
    return point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() && point.y() < rect.bottom();
}

double distanceSquared(const QRectF& rect, const QPointF& point)
{
    const double dx = std::max({0.0, rect.left() - point.x(), point.x() - rect.right()});
    const double dy = std::max({0.0, rect.top() - point.y(), point.y() - rect.bottom()});
    return dx * dx + dy * dy;
}

// The display whose rect in one coordinate system (`rectIn` picks which)
// overlaps the rect most; none when it overlaps no display.
std::optional<int> displayOverlappingMost(const std::vector<DesktopDisplay>& displays, const QRectF& rect,
                                          QRectF DesktopDisplay::*rectIn)
{
    std::optional<int> best;
    double bestArea = 0;
    for (int i = 0; i < int(displays.size()); ++i) {
        const double area = overlapArea(rect, displays[i].*rectIn);
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

// The first display whose rect in one coordinate system (`rectIn` picks which)
// contains the point, else the nearest one; 0 without displays.
int displayNearestPoint(const std::vector<DesktopDisplay>& displays, const QPointF& point,
                        QRectF DesktopDisplay::*rectIn)
{
    int index = 0;
    double best = -1;
    for (int i = 0; i < int(displays.size()); ++i) {
        if (containsPoint(displays[i].*rectIn, point))
            return i;
        const double distance = distanceSquared(displays[i].*rectIn, point);
        if (best < 0 || distance < best) {
            best = distance;
            index = i;
        }
    }
    return index;
}

} // namespace

DesktopDisplayLayout::DesktopDisplayLayout(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

DesktopDisplay DesktopDisplayLayout::resolveDisplay(const DisplaySpec& spec) const
{
    DesktopDisplay display;
    display.displayID = spec.displayID;
    display.bounds = spec.bounds;
    display.name = spec.name;
    display.scale = spec.scale;
    display.reportsBounds = spec.reportsBounds;
    const double primaryHeight = displays_.empty() ? spec.bounds.height() : displays_.front().bounds.height();
    const double primaryTop = displays_.empty() ? spec.bounds.top() : displays_.front().bounds.top();
    display.frame = spec.frame.value_or(QRectF(spec.bounds.x(), primaryTop + primaryHeight - spec.bounds.bottom(),
                                               spec.bounds.width(), spec.bounds.height()));
    display.visibleFrame =
        spec.visibleFrame.value_or(QRectF(display.frame.x(), display.frame.y(), display.frame.width(),
                                          std::max(0.0, display.frame.height() - kMenuBarHeight)));
    return display;
}

int DesktopDisplayLayout::addDisplay(const DisplaySpec& spec)
{
    DesktopDisplay display = resolveDisplay(spec);
    for (int i = 0; i < std::max(1, spec.spaceCount); ++i)
        display.spaceIDs.push_back(nextSpaceID_++);
    display.activeSpaceID = display.spaceIDs.front();
    displays_.push_back(std::move(display));
    desktop_.windowStack().bumpRevision();
    emit desktop_.screenParametersChanged();
    return int(displays_.size()) - 1;
}

void DesktopDisplayLayout::updateDisplay(int index, const DisplaySpec& spec)
{
    if (index < 0 || index >= int(displays_.size()))
        return;
    DesktopDisplay updated = resolveDisplay(spec);
    updated.spaceIDs = displays_[index].spaceIDs;
    updated.activeSpaceID = displays_[index].activeSpaceID;
    displays_[index] = std::move(updated);
    emit desktop_.screenParametersChanged();
    desktop_.windowStack().windowsDidChange();
}

void DesktopDisplayLayout::removeDisplay(int index)
{
    if (index < 0 || index >= int(displays_.size()))
        return;
    const DesktopDisplay removed = displays_[index];
    displays_.erase(displays_.begin() + index);
    if (!displays_.empty()) {
        const DesktopDisplay& target = displays_.front();
        desktop_.windowStack().moveWindowsOffSpaces(removed.spaceIDs, target.activeSpaceID,
                                                    target.bounds.topLeft() - removed.bounds.topLeft());
    }
    emit desktop_.screenParametersChanged();
    desktop_.windowStack().windowsDidChange();
}

std::optional<int> DesktopDisplayLayout::mainDisplayIndex() const
{
    if (displays_.empty())
        return std::nullopt;
    const DesktopWindowStack& windows = desktop_.windowStack();
    for (WindowNumber number : windows.stackingOrder()) {
        const DesktopWindow& window = *windows.window(number);
        if (window.ownerPID == desktop_.ownPID() && window.canBecomeKey && windows.isOnScreen(window))
            return windows.displayIndexOfWindow(window).value_or(0);
    }
    return 0;
}

std::optional<int> DesktopDisplayLayout::displayIndexForQuartzRect(const QRectF& rect) const
{
    return displayOverlappingMost(displays_, rect, &DesktopDisplay::bounds);
}

std::optional<int> DesktopDisplayLayout::displayIndexForCocoaRect(const QRectF& rect) const
{
    return displayOverlappingMost(displays_, rect, &DesktopDisplay::frame);
}

QRectF DesktopDisplayLayout::cocoaRect(const QRectF& quartzRect) const
{
    if (displays_.empty())
        return quartzRect;
    const DesktopDisplay& d = displays_[displayIndexForQuartzRect(quartzRect).value_or(0)];
    return QRectF(d.frame.x() + quartzRect.x() - d.bounds.x(), d.frame.y() + d.bounds.bottom() - quartzRect.bottom(),
                  quartzRect.width(), quartzRect.height());
}

QRectF DesktopDisplayLayout::quartzRect(const QRectF& cocoaRect) const
{
    if (displays_.empty())
        return cocoaRect;
    const DesktopDisplay& d = displays_[displayIndexForCocoaRect(cocoaRect).value_or(0)];
    return QRectF(d.bounds.x() + cocoaRect.x() - d.frame.x(), d.bounds.y() + d.frame.bottom() - cocoaRect.bottom(),
                  cocoaRect.width(), cocoaRect.height());
}

QPointF DesktopDisplayLayout::cocoaPoint(const QPointF& quartzPoint) const
{
    if (displays_.empty())
        return quartzPoint;
    const DesktopDisplay& d = displays_[displayNearestPoint(displays_, quartzPoint, &DesktopDisplay::bounds)];
    return QPointF(d.frame.x() + quartzPoint.x() - d.bounds.x(), d.frame.y() + d.bounds.bottom() - quartzPoint.y());
}

QPointF DesktopDisplayLayout::quartzPoint(const QPointF& cocoaPoint) const
{
    if (displays_.empty())
        return cocoaPoint;
    const DesktopDisplay& d = displays_[displayNearestPoint(displays_, cocoaPoint, &DesktopDisplay::frame)];
    return QPointF(d.bounds.x() + cocoaPoint.x() - d.frame.x(), d.bounds.y() + d.frame.bottom() - cocoaPoint.y());
}

int DesktopDisplayLayout::addSpace(int displayIndex)
{
    if (displayIndex < 0 || displayIndex >= int(displays_.size()))
        return 0;
    const int id = nextSpaceID_++;
    displays_[displayIndex].spaceIDs.push_back(id);
    return id;
}

std::optional<int> DesktopDisplayLayout::displayIndexOfSpace(int spaceID) const
{
    for (int i = 0; i < int(displays_.size()); ++i) {
        const auto& ids = displays_[i].spaceIDs;
        if (std::find(ids.begin(), ids.end(), spaceID) != ids.end())
            return i;
    }
    return std::nullopt;
}

int DesktopDisplayLayout::activeSpaceID(int displayIndex) const
{
    if (displayIndex < 0 || displayIndex >= int(displays_.size()))
        return 0;
    return displays_[displayIndex].activeSpaceID;
}

bool DesktopDisplayLayout::switchToSpace(int spaceID)
{
    const auto index = displayIndexOfSpace(spaceID);
    if (!index)
        return false;
    if (displays_[*index].activeSpaceID == spaceID)
        return true;
    displays_[*index].activeSpaceID = spaceID;
    qCInfo(lcDesktop) << "Active Space changed — display=" << *index << ", space=" << spaceID;
    emit desktop_.activeSpaceChanged();
    desktop_.windowStack().windowsDidChange();
    return true;
}

bool DesktopDisplayLayout::switchToAdjacentSpace(int displayIndex, int step)
{
    if (displayIndex < 0 || displayIndex >= int(displays_.size()))
        return false;
    const auto& ids = displays_[displayIndex].spaceIDs;
    if (ids.size() < 2)
        return false;
    const auto current = std::find(ids.begin(), ids.end(), displays_[displayIndex].activeSpaceID) - ids.begin();
    const auto count = int(ids.size());
    const int next = int(((current + step) % count + count) % count);
    return switchToSpace(ids[next]);
}

void DesktopDisplayLayout::mirrorQtScreens()
{
    for (const DisplaySpec& spec : qtScreenDisplays())
        addDisplay(spec);
}

std::vector<DisplaySpec> DesktopDisplayLayout::qtScreenDisplays()
{
    std::vector<DisplaySpec> specs;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen(); primary && screens.removeOne(primary))
        screens.prepend(primary);
    for (int i = 0; i < int(screens.size()); ++i) {
        const QScreen* screen = screens[i];
        DisplaySpec spec;
        spec.displayID = quint32(i + 1);
        spec.bounds = screen->geometry();
        spec.name = screen->name();
        spec.scale = screen->devicePixelRatio();
        const QRectF available = screen->availableGeometry();
        if (available != spec.bounds) {
            // Bottom-left, measured from the primary display's bottom edge.
            const QRectF primary = specs.empty() ? spec.bounds : specs.front().bounds;
            spec.visibleFrame =
                QRectF(available.x(), primary.bottom() - available.bottom(), available.width(), available.height());
        }
        specs.push_back(spec);
    }
    return specs;
}

} // namespace vesk::platform
