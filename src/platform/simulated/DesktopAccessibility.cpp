#include "platform/simulated/DesktopAccessibility.h"

#include "platform/simulated/SimulatedDesktop.h"

#include <QSizeF>

namespace vesk::platform {

namespace {

bool isButton(AXElement::Kind kind)
{
    return kind == AXElement::Kind::closeButton || kind == AXElement::Kind::minimizeButton
           || kind == AXElement::Kind::zoomButton;
}

QVariant elementValue(const AXElement& element)
{
    return QVariant::fromValue(element);
}

AXElement button(const DesktopWindow& window, AXElement::Kind kind)
{
    return AXElement{kind, window.ownerPID, window.number};
}

} // namespace

DesktopAccessibility::DesktopAccessibility(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

bool DesktopAccessibility::isProcessTrusted() const
{
    return desktop_.isAccessibilityTrusted();
}

bool DesktopAccessibility::isProcessTrustedWithOptions(bool prompt)
{
    if (prompt && !desktop_.isAccessibilityTrusted())
        return desktop_.promptForAccessibility();
    return desktop_.isAccessibilityTrusted();
}

AXElement DesktopAccessibility::createApplication(ProcessID pid) const
{
    return AXElement{AXElement::Kind::application, pid, 0};
}

std::vector<WindowNumber> DesktopAccessibility::accessibleWindows(ProcessID pid) const
{
    std::vector<WindowNumber> numbers;
    const DesktopApplication* app = desktop_.application(pid);
    if (!app || app->terminated)
        return numbers;
    for (const DesktopWindow* window : desktop_.windowsOf(pid)) {
        if (window->layer != 0 || window->desktopElement || !window->orderedIn)
            continue;
        bool onActiveSpace = window->spaceID == 0;
        if (!onActiveSpace) {
            const auto display = desktop_.displayIndexOfSpace(window->spaceID);
            onActiveSpace = display && desktop_.activeSpaceID(*display) == window->spaceID;
        }
        if (onActiveSpace || window->minimized)
            numbers.push_back(window->number);
    }
    return numbers;
}

QRectF DesktopAccessibility::buttonFrame(AXElement::Kind kind, const QRectF& windowBounds)
{
    const double step = 20;
    const double index = kind == AXElement::Kind::closeButton ? 0 : kind == AXElement::Kind::minimizeButton ? 1 : 2;
    return QRectF(windowBounds.x() + 7 + index * step, windowBounds.y() + 6, 14, 14);
}

AXError DesktopAccessibility::check(const AXElement& element) const
{
    if (!desktop_.isAccessibilityTrusted())
        return AXError::apiDisabled;
    const DesktopApplication* app = desktop_.application(element.pid);
    if (!app || app->terminated)
        return AXError::invalidUIElement;
    if (!app->accessibilityResponsive)
        return AXError::cannotComplete;
    if (element.kind == AXElement::Kind::application)
        return AXError::success;
    const DesktopWindow* window = desktop_.window(element.window);
    if (!window || window->ownerPID != element.pid)
        return AXError::invalidUIElement;
    if (isButton(element.kind) && !window->hasTitleBarButtons)
        return AXError::invalidUIElement;
    return AXError::success;
}

AXError DesktopAccessibility::copyAttributeValue(const AXElement& element, const QString& attribute,
                                                 QVariant* value) const
{
    if (const AXError error = check(element); error != AXError::success)
        return error;
    QVariant result;
    AXError error = AXError::attributeUnsupported;
    switch (element.kind) {
    case AXElement::Kind::application:
        error = copyApplicationAttribute(element, attribute, &result);
        break;
    case AXElement::Kind::window:
        error = copyWindowAttribute(element, attribute, &result);
        break;
    default:
        error = copyButtonAttribute(element, attribute, &result);
        break;
    }
    if (error == AXError::success && value)
        *value = result;
    return error;
}

AXError DesktopAccessibility::copyApplicationAttribute(const AXElement& element, const QString& attribute,
                                                       QVariant* value) const
{
    const DesktopApplication* app = desktop_.application(element.pid);
    if (attribute == AXName::role) {
        *value = QStringLiteral("AXApplication");
    } else if (attribute == AXName::title) {
        *value = app->name;
    } else if (attribute == AXName::windows) {
        QVariantList list;
        for (WindowNumber number : accessibleWindows(element.pid))
            list.append(elementValue(AXElement{AXElement::Kind::window, element.pid, number}));
        *value = list;
    } else if (attribute == AXName::mainWindow || attribute == AXName::focusedWindow) {
        const auto main = desktop_.mainWindow(element.pid);
        if (!main)
            return AXError::noValue;
        *value = elementValue(AXElement{AXElement::Kind::window, element.pid, *main});
    } else if (attribute == AXName::frontmost) {
        *value = desktop_.frontmostPID() == element.pid;
    } else if (attribute == AXName::hidden) {
        *value = app->hidden;
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError DesktopAccessibility::copyWindowAttribute(const AXElement& element, const QString& attribute,
                                                  QVariant* value) const
{
    const DesktopWindow& window = *desktop_.window(element.window);
    if (attribute == AXName::role) {
        *value = QStringLiteral("AXWindow");
    } else if (attribute == AXName::subrole) {
        *value = window.hasTitleBarButtons ? QStringLiteral("AXStandardWindow") : QStringLiteral("AXFloatingWindow");
    } else if (attribute == AXName::title) {
        *value = window.title;
    } else if (attribute == AXName::parent) {
        *value = elementValue(createApplication(element.pid));
    } else if (attribute == AXName::position) {
        *value = window.bounds.topLeft();
    } else if (attribute == AXName::size) {
        *value = window.bounds.size();
    } else if (attribute == AXName::minimized) {
        *value = window.minimized;
    } else if (attribute == AXName::fullScreen) {
        *value = window.fullScreen;
    } else if (attribute == AXName::main || attribute == AXName::focused) {
        *value = desktop_.mainWindow(element.pid) == window.number;
    } else if (attribute == AXName::closeButton || attribute == AXName::minimizeButton
               || attribute == AXName::zoomButton || attribute == AXName::fullScreenButton) {
        if (!window.hasTitleBarButtons)
            return AXError::noValue;
        const auto kind = attribute == AXName::closeButton      ? AXElement::Kind::closeButton
                          : attribute == AXName::minimizeButton ? AXElement::Kind::minimizeButton
                                                                : AXElement::Kind::zoomButton;
        *value = elementValue(button(window, kind));
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError DesktopAccessibility::copyButtonAttribute(const AXElement& element, const QString& attribute,
                                                  QVariant* value) const
{
    const DesktopWindow& window = *desktop_.window(element.window);
    const QRectF frame = buttonFrame(element.kind, window.bounds);
    if (attribute == AXName::role) {
        *value = QStringLiteral("AXButton");
    } else if (attribute == AXName::subrole) {
        *value = element.kind == AXElement::Kind::closeButton      ? AXName::closeButton
                 : element.kind == AXElement::Kind::minimizeButton ? AXName::minimizeButton
                                                                   : AXName::fullScreenButton;
    } else if (attribute == AXName::title) {
        return AXError::noValue;
    } else if (attribute == AXName::parent) {
        *value = elementValue(AXElement{AXElement::Kind::window, element.pid, element.window});
    } else if (attribute == AXName::position) {
        *value = frame.topLeft();
    } else if (attribute == AXName::size) {
        *value = frame.size();
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

void DesktopAccessibility::refuseSetting(const AXElement& element, const QString& attribute, AXError error,
                                         int successesFirst)
{
    refusals_[RefusalKey{element.kind, element.pid, element.window, attribute}] = Refusal{error, successesFirst};
}

std::optional<AXError> DesktopAccessibility::takeRefusal(const AXElement& element, const QString& attribute)
{
    const auto it = refusals_.find(RefusalKey{element.kind, element.pid, element.window, attribute});
    if (it == refusals_.end())
        return std::nullopt;
    if (it->second.successesLeft > 0) {
        --it->second.successesLeft;
        return std::nullopt;
    }
    return it->second.error;
}

AXError DesktopAccessibility::setAttributeValue(const AXElement& element, const QString& attribute,
                                                const QVariant& value)
{
    if (const AXError error = check(element); error != AXError::success)
        return error;
    if (const auto refusal = takeRefusal(element, attribute))
        return *refusal;
    switch (element.kind) {
    case AXElement::Kind::application:
        return setApplicationAttribute(element, attribute, value);
    case AXElement::Kind::window:
        return setWindowAttribute(element, attribute, value);
    default:
        return AXError::attributeUnsupported;
    }
}

AXError DesktopAccessibility::setApplicationAttribute(const AXElement& element, const QString& attribute,
                                                      const QVariant& value)
{
    if (attribute == AXName::frontmost || attribute == AXName::hidden) {
        if (value.typeId() != QMetaType::Bool)
            return AXError::illegalArgument;
        if (attribute == AXName::frontmost) {
            if (value.toBool() && !desktop_.activate(element.pid, 0))
                return AXError::cannotComplete;
            return AXError::success;
        }
        const bool ok = value.toBool() ? desktop_.hide(element.pid) : desktop_.unhide(element.pid);
        return ok ? AXError::success : AXError::cannotComplete;
    }
    if (attribute == AXName::mainWindow || attribute == AXName::focusedWindow) {
        if (!value.canConvert<AXElement>())
            return AXError::illegalArgument;
        const AXElement target = value.value<AXElement>();
        const DesktopWindow* window = desktop_.window(target.window);
        if (target.kind != AXElement::Kind::window || target.pid != element.pid || !window)
            return AXError::illegalArgument;
        desktop_.setMainWindow(element.pid, target.window);
        return AXError::success;
    }
    if (attribute == AXName::role || attribute == AXName::title || attribute == AXName::windows)
        return AXError::attributeUnsupported;
    return AXError::attributeUnsupported;
}

AXError DesktopAccessibility::setWindowAttribute(const AXElement& element, const QString& attribute,
                                                 const QVariant& value)
{
    const DesktopWindow& window = *desktop_.window(element.window);
    const bool settable = attribute == AXName::position || attribute == AXName::size || attribute == AXName::minimized
                          || attribute == AXName::fullScreen || attribute == AXName::main
                          || attribute == AXName::focused;
    if (!settable)
        return AXError::attributeUnsupported;
    if (!window.accessibilityWritable)
        return AXError::cannotComplete;

    if (attribute == AXName::position) {
        if (value.typeId() != QMetaType::QPointF)
            return AXError::illegalArgument;
        desktop_.setWindowBounds(window.number, QRectF(value.toPointF(), window.bounds.size()));
    } else if (attribute == AXName::size) {
        if (value.typeId() != QMetaType::QSizeF)
            return AXError::illegalArgument;
        desktop_.setWindowBounds(window.number, QRectF(window.bounds.topLeft(), value.toSizeF()));
    } else {
        if (value.typeId() != QMetaType::Bool)
            return AXError::illegalArgument;
        const bool flag = value.toBool();
        if (attribute == AXName::minimized)
            desktop_.setWindowMinimized(window.number, flag);
        else if (attribute == AXName::fullScreen)
            desktop_.setWindowFullScreen(window.number, flag);
        else if (flag)
            desktop_.setMainWindow(element.pid, window.number);
    }
    return AXError::success;
}

AXError DesktopAccessibility::performAction(const AXElement& element, const QString& action)
{
    if (const AXError error = check(element); error != AXError::success)
        return error;
    if (element.kind == AXElement::Kind::window) {
        const DesktopWindow& window = *desktop_.window(element.window);
        if (action == AXName::raiseAction) {
            if (window.minimized)
                return AXError::cannotComplete;
            desktop_.raiseWindow(window.number);
            return AXError::success;
        }
        if (action == AXName::cancelAction) {
            if (!window.accessibilityWritable)
                return AXError::cannotComplete;
            desktop_.removeWindow(window.number);
            return AXError::success;
        }
        return AXError::actionUnsupported;
    }
    if (isButton(element.kind) && action == AXName::pressAction)
        return pressButton(element);
    return AXError::actionUnsupported;
}

AXError DesktopAccessibility::pressButton(const AXElement& button)
{
    const DesktopWindow& window = *desktop_.window(button.window);
    if (!window.accessibilityWritable)
        return AXError::cannotComplete;
    desktop_.pressTitleBarButton(window.number, button.kind);
    return AXError::success;
}

AXError DesktopAccessibility::copyElementAtPosition(const AXElement& application, const QPointF& point,
                                                    AXElement* element) const
{
    if (const AXError error = check(application); error != AXError::success)
        return error;
    if (application.kind != AXElement::Kind::application)
        return AXError::illegalArgument;
    // The hit test finds the window that would take a click at the point
    // (windows that let clicks through, like Vesk's overlay, do not count);
    // only when it belongs to this application is there an element of it.
    const DesktopWindow* window = desktop_.windowAt(point);
    if (!window || window->ownerPID != application.pid)
        return AXError::noValue;
    if (window->hasTitleBarButtons) {
        for (auto kind : {AXElement::Kind::closeButton, AXElement::Kind::minimizeButton, AXElement::Kind::zoomButton}) {
            if (buttonFrame(kind, window->bounds).contains(point)) {
                *element = AXElement{kind, application.pid, window->number};
                return AXError::success;
            }
        }
    }
    *element = AXElement{AXElement::Kind::window, application.pid, window->number};
    return AXError::success;
}

} // namespace vesk::platform
