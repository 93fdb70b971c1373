#include "enforcement/SystemAXWindowManager.h"

#include "core/TextFormat.h"
#include "overlay/DisplayGeometry.h"
#include "platform/Accessibility.h"
#include "platform/ApplicationActivation.h"
#include "platform/RunningApplication.h"
#include "platform/Workspace.h"

#include <QStringList>
#include <QVariant>

namespace vesk {

using platform::AXElement;
using platform::AXError;
namespace AXName = platform::AXName;

namespace {

const QString prefix = QStringLiteral("[SystemAXWindowManager] ");

QString codeText(AXError error)
{
    return QString::number(platform::toRaw(error));
}

// "[-25204, -25205]": the result codes of several calls.
QString codesText(const std::vector<AXError>& errors)
{
    QStringList codes;
    for (AXError error : errors)
        codes.append(codeText(error));
    return QLatin1Char('[') + codes.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// Accessibility values carry finite numbers only; a frame with an infinite or
// undefined coordinate (the null rect) cannot be made into one.
bool isFinite(Point point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

bool isFinite(Size size)
{
    return std::isfinite(size.width) && std::isfinite(size.height);
}

} // namespace

SystemAXWindowManager::SystemAXWindowManager(const platform::Workspace& workspace,
                                             platform::Accessibility& accessibility,
                                             const platform::ScreenProviding& screens)
    : workspace_(workspace)
    , accessibility_(accessibility)
    , screens_(screens)
{
}

// MARK: - Lookups

std::shared_ptr<platform::RunningApplication> SystemAXWindowManager::runningApplication(const QString& bundleID) const
{
    for (std::shared_ptr<platform::RunningApplication>& application : workspace_.runningApplications()) {
        if (application->bundleIdentifier() == bundleID)
            return std::move(application);
    }
    return nullptr;
}

AXElement SystemAXWindowManager::applicationElement(const platform::RunningApplication& application) const
{
    return accessibility_.createApplication(application.processIdentifier());
}

std::vector<AXElement> SystemAXWindowManager::axWindows(const AXElement& application) const
{
    QVariant value;
    if (accessibility_.copyAttributeValue(application, AXName::windows, &value) != AXError::success
        || value.typeId() != QMetaType::QVariantList)
        return {};
    std::vector<AXElement> windows;
    for (const QVariant& element : value.toList()) {
        if (element.canConvert<AXElement>())
            windows.push_back(element.value<AXElement>());
    }
    return windows;
}

std::optional<AXElement> SystemAXWindowManager::mainWindowElement(const QString& bundleID) const
{
    const auto application = runningApplication(bundleID);
    if (!application)
        return std::nullopt;
    const AXElement element = applicationElement(*application);
    QVariant value;
    if (accessibility_.copyAttributeValue(element, AXName::mainWindow, &value) == AXError::success
        && value.canConvert<AXElement>())
        return value.value<AXElement>();
    const std::vector<AXElement> windows = axWindows(element);
    if (windows.empty())
        return std::nullopt;
    return windows.front();
}

std::optional<Rect> SystemAXWindowManager::windowFrame(const AXElement& window) const
{
    QVariant position;
    QVariant size;
    if (accessibility_.copyAttributeValue(window, AXName::position, &position) != AXError::success
        || accessibility_.copyAttributeValue(window, AXName::size, &size) != AXError::success)
        return std::nullopt;
    if (position.typeId() != QMetaType::QPointF || size.typeId() != QMetaType::QSizeF)
        return std::nullopt;
    const Point origin = pointFromQPointF(position.toPointF());
    const Size extent = sizeFromQSizeF(size.toSizeF());
    return Rect{origin.x, origin.y, extent.width, extent.height};
}

Rect SystemAXWindowManager::accessibilityFrame(const Rect& cocoaFrame) const
{
    const auto geometry = DisplayGeometry::current(screens_);
    if (!geometry)
        return cocoaFrame;
    return DisplayGeometry::quartzRect(cocoaFrame, geometry->displayFrameForCocoaRect(cocoaFrame));
}

// MARK: - Frames

bool SystemAXWindowManager::setFrame(const QString& bundleID, const Rect& cocoaFrame)
{
    const auto window = mainWindowElement(bundleID);
    if (!window) {
        logger_.log(VeskLogLevel::warning,
                    prefix + QStringLiteral("setFrame failed — no AX window, bundleID=") + bundleID);
        return false;
    }
    const Rect axFrame = accessibilityFrame(cocoaFrame);
    if (!isFinite(axFrame.size()) || !isFinite(axFrame.origin())) {
        logger_.log(VeskLogLevel::error,
                    prefix + QStringLiteral("setFrame failed — could not create AXValue, bundleID=") + bundleID);
        return false;
    }
    const QVariant position = toQPointF(axFrame.origin());
    const AXError positionResult = accessibility_.setAttributeValue(*window, AXName::position, position);
    const AXError sizeResult = accessibility_.setAttributeValue(*window, AXName::size, toQSizeF(axFrame.size()));
    const AXError finalPositionResult = accessibility_.setAttributeValue(*window, AXName::position, position);

    if (positionResult != AXError::success || sizeResult != AXError::success
        || finalPositionResult != AXError::success) {
        logger_.log(
            VeskLogLevel::warning,
            prefix
                + QStringLiteral("setFrame partial failure — bundleID=%1, position=%2, size=%3, finalPosition=%4")
                      .arg(bundleID, codeText(positionResult), codeText(sizeResult), codeText(finalPositionResult)));
        return false;
    }
    if (axFrame.origin() != cocoaFrame.origin())
        logger_.log(VeskLogLevel::debug,
                    prefix
                        + QStringLiteral("setFrame converted Cocoa to AX coordinates — bundleID=%1, cocoa=%2, ax=%3")
                              .arg(bundleID, toString(cocoaFrame), toString(axFrame)));
    return true;
}

bool SystemAXWindowManager::setPosition(const QString& bundleID, const Rect& cocoaFrame)
{
    const auto window = mainWindowElement(bundleID);
    if (!window) {
        logger_.log(VeskLogLevel::warning,
                    prefix + QStringLiteral("setPosition failed — no AX window, bundleID=") + bundleID);
        return false;
    }
    const Point origin = accessibilityFrame(cocoaFrame).origin();
    if (!isFinite(origin)) {
        logger_.log(VeskLogLevel::error,
                    prefix + QStringLiteral("setPosition failed — could not create AXValue, bundleID=") + bundleID);
        return false;
    }
    const AXError result = accessibility_.setAttributeValue(*window, AXName::position, toQPointF(origin));
    if (result != AXError::success) {
        logger_.log(
            VeskLogLevel::warning,
            prefix + QStringLiteral("setPosition failed — bundleID=%1, result=%2").arg(bundleID, codeText(result)));
        return false;
    }
    return true;
}

// MARK: - Raise, minimize, hide

bool SystemAXWindowManager::raise(const QString& bundleID)
{
    const auto application = runningApplication(bundleID);
    if (!application) {
        logger_.log(VeskLogLevel::warning,
                    prefix + QStringLiteral("raise failed — app not running, bundleID=") + bundleID);
        return false;
    }
    application->unhide();
    application->activate(platform::ActivateAllWindows);
    const AXElement element = applicationElement(*application);
    accessibility_.setAttributeValue(element, AXName::frontmost, true);
    if (const auto window = mainWindowElement(bundleID)) {
        const QVariant windowValue = QVariant::fromValue(*window);
        accessibility_.setAttributeValue(element, AXName::mainWindow, windowValue);
        accessibility_.setAttributeValue(element, AXName::focusedWindow, windowValue);
        const AXError result = accessibility_.performAction(*window, AXName::raiseAction);
        if (result != AXError::success)
            logger_.log(VeskLogLevel::debug,
                        prefix + QStringLiteral("AX raise returned %1 — bundleID=%2").arg(codeText(result), bundleID));
    }
    return true;
}

bool SystemAXWindowManager::setMinimized(const QString& bundleID, bool minimized)
{
    const auto application = runningApplication(bundleID);
    if (!application)
        return true;
    const std::vector<AXElement> windows = axWindows(applicationElement(*application));
    if (windows.empty()) {
        logger_.log(VeskLogLevel::warning, prefix
                                               + QStringLiteral("setMinimized failed — no AX windows, bundleID=%1, "
                                                                "minimized=%2")
                                                     .arg(bundleID, boolText(minimized)));
        return false;
    }
    int successes = 0;
    std::vector<AXError> failures;
    for (const AXElement& window : windows) {
        const AXError result = accessibility_.setAttributeValue(window, AXName::minimized, minimized);
        if (result == AXError::success)
            ++successes;
        else
            failures.push_back(result);
    }
    if (successes == 0) {
        logger_.log(VeskLogLevel::debug,
                    prefix
                        + QStringLiteral("setMinimized failed — bundleID=%1, minimized=%2, failures=%3")
                              .arg(bundleID, boolText(minimized), codesText(failures)));
        return minimized && application->hide();
    }
    logger_.log(VeskLogLevel::debug,
                prefix
                    + QStringLiteral("setMinimized completed — bundleID=%1, minimized=%2, success=%3, failures=%4")
                          .arg(bundleID, boolText(minimized), QString::number(successes), codesText(failures)));
    return true;
}

AXWindowManaging::WindowCounts SystemAXWindowManager::minimizedWindowCounts(const QString& bundleID)
{
    const auto application = runningApplication(bundleID);
    if (!application)
        return {};
    const std::vector<AXElement> windows = axWindows(applicationElement(*application));
    WindowCounts counts;
    counts.total = int(windows.size());
    for (const AXElement& window : windows) {
        QVariant value;
        if (accessibility_.copyAttributeValue(window, AXName::minimized, &value) == AXError::success
            && value.typeId() == QMetaType::Bool && value.toBool())
            ++counts.minimized;
    }
    return counts;
}

bool SystemAXWindowManager::hide(const QString& bundleID)
{
    const auto application = runningApplication(bundleID);
    if (!application)
        return true;
    const AXError result = accessibility_.setAttributeValue(applicationElement(*application), AXName::hidden, true);
    if (result == AXError::success)
        return true;
    logger_.log(VeskLogLevel::debug,
                prefix
                    + QStringLiteral("AX hide returned %1, falling back to NSRunningApplication.hide — bundleID=%2")
                          .arg(codeText(result), bundleID));
    return application->hide();
}

// MARK: - Close and full screen

std::optional<AXElement> SystemAXWindowManager::windowAtPoint(const AXElement& application, Point quartzPoint) const
{
    for (const AXElement& window : axWindows(application)) {
        const auto frame = windowFrame(window);
        if (frame && frame->contains(quartzPoint))
            return window;
    }
    return std::nullopt;
}

bool SystemAXWindowManager::closeWindow(const QString& bundleID, std::optional<Point> quartzPoint)
{
    const auto application = runningApplication(bundleID);
    if (!application)
        return true;
    std::optional<AXElement> window;
    if (quartzPoint)
        window = windowAtPoint(applicationElement(*application), *quartzPoint);
    const bool matched = window.has_value();
    if (!matched)
        window = mainWindowElement(bundleID);
    logger_.log(VeskLogLevel::debug,
                prefix
                    + QStringLiteral("close targeting window at point — bundleID=%1, point=%2, matchedWindow=%3, "
                                     "fallback=%4")
                          .arg(bundleID, quartzPoint ? toString(*quartzPoint) : QStringLiteral("nil"),
                               boolText(matched), boolText(!matched)));
    if (!window) {
        logger_.log(VeskLogLevel::warning,
                    prefix + QStringLiteral("close failed — no AX window, bundleID=") + bundleID);
        return false;
    }
    return pressCloseControl(bundleID, *window);
}

bool SystemAXWindowManager::pressCloseControl(const QString& bundleID, const AXElement& window)
{
    QVariant button;
    if (accessibility_.copyAttributeValue(window, AXName::closeButton, &button) == AXError::success
        && button.canConvert<AXElement>()) {
        const AXError result = accessibility_.performAction(button.value<AXElement>(), AXName::pressAction);
        if (result == AXError::success)
            return true;
        logger_.log(VeskLogLevel::warning, prefix
                                               + QStringLiteral("close button press failed — bundleID=%1, result=%2")
                                                     .arg(bundleID, codeText(result)));
        return false;
    }
    const AXError result = accessibility_.performAction(window, AXName::cancelAction);
    if (result == AXError::success)
        return true;
    logger_.log(
        VeskLogLevel::warning,
        prefix + QStringLiteral("window close action failed — bundleID=%1, result=%2").arg(bundleID, codeText(result)));
    return false;
}

bool SystemAXWindowManager::isFullScreen(const QString& bundleID)
{
    const auto window = mainWindowElement(bundleID);
    if (!window)
        return false;
    QVariant value;
    return accessibility_.copyAttributeValue(*window, AXName::fullScreen, &value) == AXError::success
           && value.typeId() == QMetaType::Bool && value.toBool();
}

bool SystemAXWindowManager::exitFullScreen(const QString& bundleID)
{
    const auto window = mainWindowElement(bundleID);
    if (!window) {
        logger_.log(VeskLogLevel::warning,
                    prefix + QStringLiteral("exitFullScreen failed — no AX window, bundleID=") + bundleID);
        return false;
    }
    const AXError result = accessibility_.setAttributeValue(*window, AXName::fullScreen, false);
    if (result != AXError::success) {
        logger_.log(
            VeskLogLevel::warning,
            prefix + QStringLiteral("exitFullScreen failed — bundleID=%1, result=%2").arg(bundleID, codeText(result)));
        return false;
    }
    logger_.log(VeskLogLevel::info, prefix + QStringLiteral("exited native fullscreen — bundleID=") + bundleID);
    return true;
}

} // namespace vesk
