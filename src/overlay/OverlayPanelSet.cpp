#include "overlay/OverlayPanelSet.h"

#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/ScreenProviding.h"

#include <algorithm>

namespace vesk {

namespace {

constexpr double kMinimumPieceSize = 1.0;

bool isUsablePiece(const Rect& rect)
{
    return !rect.isEmpty() && rect.standardWidth() >= kMinimumPieceSize && rect.standardHeight() >= kMinimumPieceSize;
}

// Moves the record of the display's panel from `current` to `next`; a display
// without one gets a new panel, shown at once.
template <typename Record>
void keepOrCreatePanel(std::vector<Record>& current, std::vector<Record>& next,
                       const DisplayLayoutSignature::Entry& entry, const platform::ScreenInfo& screen,
                       const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows)
{
    using Panel = typename decltype(Record::panel)::element_type;
    auto existing = std::find_if(current.begin(), current.end(),
                                 [&entry](const Record& record) { return record.panel && record.entry == entry; });
    if (existing != current.end()) {
        next.push_back(std::move(*existing));
        return;
    }
    auto panel = std::make_unique<Panel>(screen, entry.quartzFrame, screens, &ownWindows);
    panel->showOnScreen();
    next.push_back({entry, std::move(panel)});
}

// Orders out every panel still recorded (a kept one was moved out of its
// record) and logs the message with the panel's logger.
template <typename Record>
void orderOutPanels(std::vector<Record>& records, const QString& message)
{
    for (auto& record : records) {
        if (!record.panel)
            continue;
        record.panel->orderOut();
        record.panel->logger().log(VeskLogLevel::info, message);
    }
}

} // namespace

OverlayPanelSet::OverlayPanelSet(const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows,
                                 VeskLogger logger)
    : screens_(screens)
    , ownWindows_(ownWindows)
    , logger_(std::move(logger))
{
}

OverlayPanelSet::~OverlayPanelSet() = default;

std::vector<OverlayPanel*> OverlayPanelSet::panels() const
{
    std::vector<OverlayPanel*> result;
    for (const auto& record : panelRecords_)
        result.push_back(record.panel.get());
    return result;
}

std::vector<OverlayBackingPanel*> OverlayPanelSet::backingPanels() const
{
    std::vector<OverlayBackingPanel*> result;
    for (const auto& record : backingPanelRecords_)
        result.push_back(record.panel.get());
    return result;
}

bool OverlayPanelSet::sync(const QString& reason)
{
    const std::vector<DisplayLayoutSignature::Descriptor> descriptors = DisplayLayoutSignature::current(screens_);
    if (descriptors.empty()) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("No screens available while syncing overlay panels — dismissing existing panels, "
                                   "reason=")
                        + reason);
        dismiss();
        return false;
    }

    std::vector<DisplayLayoutSignature::Entry> entries;
    for (const auto& descriptor : descriptors)
        entries.push_back(descriptor.entry);
    const DisplayLayoutSignature signature(entries);

    std::vector<DisplayLayoutSignature::Entry> previous;
    for (const auto& record : panelRecords_)
        previous.push_back(record.entry);
    const DisplayLayoutSignature::Diff diff = DisplayLayoutSignature::diff(previous, signature.entries());
    if (diff.isUnchanged()) {
        displayLayoutSignature_ = signature;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Screen change ignored; layout unchanged — reason=%1, layout=[%2]")
                        .arg(reason, signature.description()));
        return false;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Screen layout changed; syncing overlay panels — reason=%1, keep=%2, create=%3, dismiss=%4")
                    .arg(reason)
                    .arg(diff.keep.size())
                    .arg(diff.create.size())
                    .arg(diff.dismiss.size()));

    auto screenFor = [&descriptors](const DisplayLayoutSignature::Entry& entry) {
        return std::find_if(descriptors.begin(), descriptors.end(),
                            [&entry](const auto& descriptor) { return descriptor.entry == entry; })
            ->screen;
    };

    std::vector<PanelRecord> panels;
    std::vector<BackingPanelRecord> backingPanels;
    for (const auto& entry : signature.entries()) {
        keepOrCreatePanel(panelRecords_, panels, entry, screenFor(entry), screens_, ownWindows_);
        keepOrCreatePanel(backingPanelRecords_, backingPanels, entry, screenFor(entry), screens_, ownWindows_);
    }
    orderOutPanels(panelRecords_, QStringLiteral("Overlay dismissed"));
    orderOutPanels(backingPanelRecords_, QStringLiteral("Overlay backing dismissed"));
    panelRecords_ = std::move(panels);
    backingPanelRecords_ = std::move(backingPanels);
    displayLayoutSignature_ = signature;
    logger_.log(VeskLogLevel::info, QStringLiteral("Overlay panels synced — panels=%1, backingPanels=%2, screens=%3")
                                        .arg(panelRecords_.size())
                                        .arg(backingPanelRecords_.size())
                                        .arg(signature.entries().size()));
    return true;
}

void OverlayPanelSet::dismiss()
{
    orderOutPanels(panelRecords_, QStringLiteral("Overlay dismissed"));
    panelRecords_.clear();
    orderOutPanels(backingPanelRecords_, QStringLiteral("Overlay backing dismissed"));
    backingPanelRecords_.clear();
    displayLayoutSignature_.reset();
}

void OverlayPanelSet::refreshBackingPanels(const QString& reason)
{
    for (const auto& record : backingPanelRecords_) {
        record.panel->orderFrontRegardless();
        record.panel->logger().log(VeskLogLevel::debug,
                                   QStringLiteral("Overlay backing refreshed below app windows — reason=%1, screen=%2")
                                       .arg(reason, record.panel->screenLabel()));
    }
}

void OverlayPanelSet::applyPassthroughRects(const std::vector<Rect>& holes, bool hasGeometry)
{
    std::vector<Rect>& clipped = clippedHoles_;
    for (const auto& record : panelRecords_) {
        clipped.clear();
        const Rect& frame = record.entry.cocoaFrame;
        for (const Rect& hole : holes) {
            if (!hasGeometry) {
                if (hole.intersects(frame))
                    clipped.push_back(hole);
                continue;
            }
            const Rect piece = hole.intersected(frame);
            if (isUsablePiece(piece))
                clipped.push_back(piece);
        }
        record.panel->setPassthroughRects(clipped);
    }
}

} // namespace vesk
