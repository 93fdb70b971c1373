#include "enforcement/SystemAXWindowControlResolver.h"

#include "enforcement/EnforcementLogText.h"
#include "platform/Accessibility.h"
#include "platform/RunningApplication.h"
#include "platform/Workspace.h"

#include <QStringList>

#include <algorithm>

namespace vesk {

namespace {

// The element under the point and up to four of its ancestors.
constexpr int examinedElements = 5;

bool containsAny(const QString& text, const QStringList& words)
{
    return std::any_of(words.begin(), words.end(), [&text](const QString& word) { return text.contains(word); });
}

} // namespace

SystemAXWindowControlResolver::SystemAXWindowControlResolver(const platform::Workspace& workspace,
                                                             const platform::Accessibility& accessibility)
    : workspace_(workspace)
    , accessibility_(accessibility)
{
}

std::optional<MouseBlockerControlAction> SystemAXWindowControlResolver::resolve(const QString& bundleID,
                                                                                Point quartzPoint, Point cocoaPoint)
{
    std::shared_ptr<platform::RunningApplication> application;
    for (const auto& running : workspace_.runningApplications()) {
        if (running->bundleIdentifier() == bundleID) {
            application = running;
            break;
        }
    }
    if (!application) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Traffic-light AX resolve failed — app not running, bundleID=") + bundleID);
        return std::nullopt;
    }
    const platform::AXElement element = accessibility_.createApplication(application->processIdentifier());
    Point matchedPoint = quartzPoint;
    auto action = elementControlAction(element, quartzPoint);
    if (!action) {
        matchedPoint = cocoaPoint;
        action = elementControlAction(element, cocoaPoint);
    }
    if (!action) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Traffic-light AX resolve returned unknown control — bundleID=%1, quartzPoint=%2, "
                                   "cocoaPoint=%3")
                        .arg(bundleID, pointText(quartzPoint), pointText(cocoaPoint)));
        return std::nullopt;
    }
    logger_.log(VeskLogLevel::debug, QStringLiteral("Traffic-light AX resolved — bundleID=%1, action=%2, point=%3")
                                         .arg(bundleID, toRaw(*action), pointText(matchedPoint)));
    return action;
}

std::optional<MouseBlockerControlAction>
SystemAXWindowControlResolver::elementControlAction(const platform::AXElement& application, Point point) const
{
    platform::AXElement element;
    if (accessibility_.copyElementAtPosition(application, toQPointF(point), &element) != platform::AXError::success)
        return std::nullopt;
    for (int examined = 0; examined < examinedElements; ++examined) {
        const auto action = matchControlTitle(textAttribute(element, platform::AXName::subrole),
                                              textAttribute(element, platform::AXName::title));
        if (action)
            return action;
        QVariant parent;
        if (accessibility_.copyAttributeValue(element, platform::AXName::parent, &parent) != platform::AXError::success
            || !parent.canConvert<platform::AXElement>())
            return std::nullopt;
        element = parent.value<platform::AXElement>();
    }
    return std::nullopt;
}

std::optional<QString> SystemAXWindowControlResolver::textAttribute(const platform::AXElement& element,
                                                                    const QString& attribute) const
{
    QVariant value;
    if (accessibility_.copyAttributeValue(element, attribute, &value) != platform::AXError::success
        || value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<MouseBlockerControlAction>
SystemAXWindowControlResolver::matchControlTitle(const std::optional<QString>& subrole,
                                                 const std::optional<QString>& title)
{
    const QString role = subrole.value_or(QString()).toLower();
    const QString name = title.value_or(QString()).toLower();
    if (role.contains(QStringLiteral("close")) || QStringList{"close", "schließen", "schliessen"}.contains(name))
        return MouseBlockerControlAction::close;
    if (containsAny(role, {"minimize", "minimise"}) || QStringList{"minimize", "minimieren"}.contains(name))
        return MouseBlockerControlAction::minimize;
    if (containsAny(role, {"zoom", "fullscreen", "full screen"}) || name == QStringLiteral("zoom")
        || containsAny(name, {"vollbild", "full screen"}))
        return MouseBlockerControlAction::zoom;
    return std::nullopt;
}

} // namespace vesk
