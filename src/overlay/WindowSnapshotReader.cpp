#include "overlay/WindowSnapshotReader.h"

#include <cmath>
#include <limits>

namespace vesk {

namespace {

constexpr int kOnScreenOptions = platform::WindowListOnScreenOnly | platform::WindowListExcludeDesktopElements;

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The value as a whole number when it is one exactly (a floating-point value
// with a fraction, out of range, or not a number gives none).
std::optional<qint64> exactInteger(const QVariant& value)
{
    if (!isNumber(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong) {
        const qulonglong unsignedValue = value.toULongLong();
        if (unsignedValue > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(unsignedValue);
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::trunc(number) != number || std::abs(number) >= 0x1p62)
            return std::nullopt;
        return qint64(number);
    }
    return value.toLongLong();
}

template <typename T>
std::optional<T> exactIntegerIn(const QVariant& value)
{
    const std::optional<qint64> number = exactInteger(value);
    if (!number || *number < std::numeric_limits<T>::min() || *number > std::numeric_limits<T>::max())
        return std::nullopt;
    return T(*number);
}

// Any finite number.
std::optional<double> number(const QVariant& value)
{
    if (!isNumber(value) || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<Rect> parseBounds(const QVariantMap& bounds)
{
    const std::optional<double> x = number(bounds.value(QStringLiteral("X")));
    const std::optional<double> y = number(bounds.value(QStringLiteral("Y")));
    const std::optional<double> width = number(bounds.value(QStringLiteral("Width")));
    const std::optional<double> height = number(bounds.value(QStringLiteral("Height")));
    if (!x || !y || !width || !height)
        return std::nullopt;
    return Rect{*x, *y, *width, *height};
}

} // namespace

WindowSnapshotReader::WindowSnapshotReader(const platform::WindowListProviding& windowList,
                                           BundleIdentifierLookup bundleIdentifierForProcess)
    : windowList_(windowList)
    , bundleIdentifierForProcess_(std::move(bundleIdentifierForProcess))
{
}

void WindowSnapshotReader::parseWindowInfos(const QList<QVariantMap>& infos,
                                            std::vector<AllowedWindowSnapshot>& snapshots) const
{
    snapshots.clear();
    snapshots.reserve(infos.size());
    for (const QVariantMap& info : infos) {
        if (std::optional<AllowedWindowSnapshot> snapshot = parseWindowInfo(info))
            snapshots.push_back(std::move(*snapshot));
    }
}

std::vector<AllowedWindowSnapshot> WindowSnapshotReader::copyWindowSnapshots(int options) const
{
    std::vector<AllowedWindowSnapshot> snapshots;
    parseWindowInfos(windowList_.copyWindowInfo(options), snapshots);
    return snapshots;
}

std::vector<AllowedWindowSnapshot> WindowSnapshotReader::copyOnScreenWindowSnapshots() const
{
    return copyWindowSnapshots(kOnScreenOptions);
}

const std::vector<AllowedWindowSnapshot>& WindowSnapshotReader::onScreenWindowSnapshots()
{
    QList<QVariantMap> infos = windowList_.copyWindowInfo(kOnScreenOptions);
    if (!infos.isSharedWith(onScreenInfos_)) {
        parseWindowInfos(infos, onScreenSnapshots_);
        onScreenInfos_ = std::move(infos);
    }
    return onScreenSnapshots_;
}

std::vector<AllowedWindowSnapshot> WindowSnapshotReader::copyAllWindowSnapshots() const
{
    return copyWindowSnapshots(platform::WindowListExcludeDesktopElements);
}

std::optional<AllowedWindowSnapshot> WindowSnapshotReader::parseWindowInfo(const QVariantMap& info) const
{
    const std::optional<qint32> processID = exactIntegerIn<qint32>(info.value(platform::kWindowOwnerPID));
    if (!processID)
        return std::nullopt;
    const QVariant boundsValue = info.value(platform::kWindowBounds);
    if (boundsValue.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const std::optional<int> layer = exactIntegerIn<int>(info.value(platform::kWindowLayer));
    if (!layer)
        return std::nullopt;
    // An empty identifier would be indistinguishable from our own bundle's when
    // it has none, so it counts as no identifier.
    const std::optional<QString> bundleID =
        bundleIdentifierForProcess_ ? bundleIdentifierForProcess_(*processID) : std::nullopt;
    if (!bundleID || bundleID->isEmpty())
        return std::nullopt;
    const std::optional<Rect> bounds = parseBounds(boundsValue.toMap());
    if (!bounds)
        return std::nullopt;

    AllowedWindowSnapshot snapshot;
    snapshot.bundleID = *bundleID;
    snapshot.layer = *layer;
    snapshot.bounds = *bounds;
    // A window number outside the 32-bit range is treated as missing.
    snapshot.windowID = exactIntegerIn<quint32>(info.value(platform::kWindowNumber));
    snapshot.alpha = number(info.value(platform::kWindowAlpha)).value_or(1.0);
    const QVariant ownerName = info.value(platform::kWindowOwnerName);
    if (ownerName.typeId() == QMetaType::QString)
        snapshot.ownerName = ownerName.toString();
    return snapshot;
}

} // namespace vesk
