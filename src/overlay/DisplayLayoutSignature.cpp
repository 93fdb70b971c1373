#include "overlay/DisplayLayoutSignature.h"

#include <algorithm>
#include <charconv>

namespace vesk {

namespace {

// Three decimals with a decimal point, whatever the process's locale: the
// keys order the displays the same way everywhere.
void appendKeyNumber(QString& key, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    key += QLatin1Char('|');
    key += QLatin1String(buffer, result.ptr - buffer);
}

QString displayIDText(const std::optional<quint32>& displayID)
{
    return displayID ? QString::number(*displayID) : QStringLiteral("none");
}

bool contains(const std::vector<DisplayLayoutSignature::Entry>& entries, const DisplayLayoutSignature::Entry& entry)
{
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

} // namespace

QString DisplayLayoutSignature::Entry::sortKey() const
{
    QString key = displayIDText(displayID);
    for (const Rect* frame : {&cocoaFrame, &quartzFrame}) {
        appendKeyNumber(key, frame->minX());
        appendKeyNumber(key, frame->minY());
        appendKeyNumber(key, frame->standardWidth());
        appendKeyNumber(key, frame->standardHeight());
    }
    return key;
}

bool DisplayLayoutSignature::precedes(const Entry& a, const Entry& b)
{
    return a.sortKey() < b.sortKey();
}

DisplayLayoutSignature::DisplayLayoutSignature(std::vector<Entry> entries) : entries_(std::move(entries))
{
    std::stable_sort(entries_.begin(), entries_.end(), precedes);
}

std::vector<DisplayLayoutSignature::Descriptor>
DisplayLayoutSignature::current(const platform::ScreenProviding& screens)
{
    std::vector<platform::ScreenInfo> usableScreens;
    std::vector<Rect> cocoaFrames;
    for (const platform::ScreenInfo& screen : screens.screens()) {
        const Rect frame = rectFromQRectF(screen.frame);
        if (frame.isNull() || frame.width <= 0 || frame.height <= 0)
            continue;
        usableScreens.push_back(screen);
        cocoaFrames.push_back(frame);
    }
    if (usableScreens.empty())
        return {};

    const DisplayGeometry fallback = DisplayGeometry::fromScreenFrames(cocoaFrames);
    std::vector<Descriptor> descriptors;
    descriptors.reserve(usableScreens.size());
    for (size_t i = 0; i < usableScreens.size(); ++i) {
        const platform::ScreenInfo& screen = usableScreens[i];
        Rect quartzFrame = fallback.displayFrames()[i].quartzFrame;
        if (screen.displayID) {
            if (const std::optional<QRectF> bounds = screens.displayBounds(*screen.displayID);
                bounds && bounds->width() > 0 && bounds->height() > 0)
                quartzFrame = rectFromQRectF(*bounds);
        }
        descriptors.push_back({screen, Entry{screen.displayID, cocoaFrames[i], quartzFrame}});
    }
    std::stable_sort(descriptors.begin(), descriptors.end(),
                     [](const Descriptor& a, const Descriptor& b) { return precedes(a.entry, b.entry); });
    return descriptors;
}

DisplayLayoutSignature::Diff DisplayLayoutSignature::diff(const std::vector<Entry>& previous,
                                                          const std::vector<Entry>& current)
{
    Diff result;
    for (const Entry& entry : current)
        (contains(previous, entry) ? result.keep : result.create).push_back(entry);
    for (const Entry& entry : previous) {
        if (!contains(current, entry))
            result.dismiss.push_back(entry);
    }
    return result;
}

QString DisplayLayoutSignature::description() const
{
    QString text;
    for (const Entry& entry : entries_) {
        if (!text.isEmpty())
            text += QLatin1String("; ");
        text += QLatin1String("displayID=") + displayIDText(entry.displayID) + QLatin1String(", cocoa=")
                + toString(entry.cocoaFrame) + QLatin1String(", quartz=") + toString(entry.quartzFrame);
    }
    return text;
}

} // namespace vesk
