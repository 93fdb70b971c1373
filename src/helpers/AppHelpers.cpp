#include "helpers/AppHelpers.h"

#include <QCoreApplication>
#include <QMetaType>

#include <algorithm>

namespace vesk {

namespace {

const QString kShortVersionKey = QStringLiteral("CFBundleShortVersionString");
const QString kVersionKey = QStringLiteral("CFBundleVersion");
// The host is deployment configuration; the path is fixed.
const QString kPrivacyPolicyAddress = QStringLiteral("https://vesk.app/vesk-privacy");

std::optional<QVariantMap>& installedMainBundleInfo()
{
    static std::optional<QVariantMap> info;
    return info;
}

QString textEntry(const QVariantMap& info, const QString& key)
{
    const auto entry = info.constFind(key);
    if (entry == info.constEnd() || entry->typeId() != QMetaType::QString)
        return QStringLiteral("?");
    return entry->toString();
}

} // namespace

QVariantMap mainBundleInfoDictionary()
{
    if (installedMainBundleInfo())
        return *installedMainBundleInfo();
    QVariantMap info;
    if (!QCoreApplication::applicationVersion().isEmpty())
        info.insert(kShortVersionKey, QCoreApplication::applicationVersion());
    return info;
}

void setMainBundleInfoDictionary(const QVariantMap& info)
{
    installedMainBundleInfo() = info;
}

QString appVersionString(const QVariantMap& info)
{
    return textEntry(info, kShortVersionKey);
}

QString appBuildString(const QVariantMap& info)
{
    return textEntry(info, kVersionKey);
}

std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation,
                                          const std::vector<platform::ScreenInfo>& screens,
                                          const std::optional<platform::ScreenInfo>& mainScreen)
{
    const auto underMouse = std::find_if(screens.begin(), screens.end(), [&](const platform::ScreenInfo& screen) {
        return rectFromQRectF(screen.frame).contains(mouseLocation);
    });
    std::optional<platform::ScreenInfo> target = underMouse != screens.end() ? *underMouse : mainScreen;
    if (!target)
        return std::nullopt;

    const Rect visible = rectFromQRectF(target->visibleFrame);
    // max first, then min: the right and top edges win over the left and bottom.
    const double x = std::min(std::max(mouseLocation.x, visible.minX()), visible.maxX() - panelSize.width);
    const double y =
        std::min(std::max(mouseLocation.y - panelSize.height, visible.minY()), visible.maxY() - panelSize.height);
    return Point{x, y};
}

std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation, const platform::ScreenProviding& screens)
{
    return panelOriginNearMouse(panelSize, mouseLocation, screens.screens(), screens.mainScreen());
}

const std::optional<QUrl>& privacyPolicyURL()
{
    static const std::optional<QUrl> url = []() -> std::optional<QUrl> {
        const QUrl parsed(kPrivacyPolicyAddress, QUrl::StrictMode);
        if (!parsed.isValid())
            return std::nullopt;
        return parsed;
    }();
    return url;
}

} // namespace vesk
