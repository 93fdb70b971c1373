#include "platform/x11/X11Accessibility.h"

#include "platform/x11/X11WindowCache.h"
#include "platform/x11/X11WindowControl.h"

#include <QSizeF>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace vesk::platform {

namespace {

bool isButton(AXElement::Kind kind)
{
    return kind == AXElement::Kind::closeButton || kind == AXElement::Kind::minimizeButton
           || kind == AXElement::Kind::zoomButton;
}

bool processExists(ProcessID pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

bool hasTitleBar(const X11ManagedWindow& window)
{
    return window.frameExtents.top() > 0;
}

QVariant elementValue(const AXElement& element)
{
    return QVariant::fromValue(element);
}

std::optional<AXElement::Kind> buttonKind(const QString& attribute)
{
    if (attribute == AXName::closeButton)
        return AXElement::Kind::closeButton;
    if (attribute == AXName::minimizeButton)
        return AXElement::Kind::minimizeButton;
    if (attribute == AXName::zoomButton || attribute == AXName::fullScreenButton)
        return AXElement::Kind::zoomButton;
    return std::nullopt;
}

} // namespace

X11Accessibility::X11Accessibility(const X11WindowCache& cache, X11WindowControl& control,
                                   std::function<const X11RootMapping&()> rootMapping)
    : cache_(cache)
    , control_(control)
    , rootMapping_(std::move(rootMapping))
{
}

AXElement X11Accessibility::createApplication(ProcessID pid) const
{
    return AXElement{AXElement::Kind::application, pid, 0};
}

std::vector<const X11ManagedWindow*> X11Accessibility::accessibleWindows(ProcessID pid) const
{
    std::vector<const X11ManagedWindow*> windows;
    for (const X11ManagedWindow& window : cache_.windows()) {
        if (window.pid != pid)
            continue;
        if (window.type != X11WindowType::normal && window.type != X11WindowType::dialog)
            continue;
        if (window.hidden || window.isOnDesktop(cache_.currentDesktop()))
            windows.push_back(&window);
    }
    return windows;
}

QRect X11Accessibility::buttonFrame(AXElement::Kind button, const X11ManagedWindow& window)
{
    if (!hasTitleBar(window) || !isButton(button))
        return {};
    const QRect bounds = window.bounds();
    const int border = window.frameExtents.right();
    const int titleHeight =
        window.frameExtents.top() > border ? window.frameExtents.top() - border : window.frameExtents.top();
    const int padding = qRound(titleHeight / 6.0);
    const int side = std::max(1, titleHeight - 2 * padding);
    const int fromRight = button == AXElement::Kind::closeButton ? 1 : button == AXElement::Kind::zoomButton ? 2 : 3;
    const int left = bounds.x() + bounds.width() - border - fromRight * (side + padding);
    return QRect(left, bounds.y() + border + padding, side, side);
}

const X11RootMapping& X11Accessibility::mapping() const
{
    static const X11RootMapping identity;
    return rootMapping_ ? rootMapping_() : identity;
}

QRectF X11Accessibility::quartzFrame(const QRect& rootRect) const
{
    return mapping().quartzFromRoot(rootRect);
}

const X11ManagedWindow* X11Accessibility::windowOf(const AXElement& element) const
{
    const X11ManagedWindow* window = cache_.window(xcb_window_t(element.window));
    return window && window->pid == element.pid ? window : nullptr;
}

// The active window when it is the application's, else its front-most
// window that is not minimised.
const X11ManagedWindow* X11Accessibility::mainWindow(ProcessID pid) const
{
    const auto windows = accessibleWindows(pid);
    for (const X11ManagedWindow* window : windows) {
        if (window->id == cache_.activeWindow())
            return window;
    }
    for (const X11ManagedWindow* window : windows) {
        if (!window->hidden)
            return window;
    }
    return nullptr;
}

AXError X11Accessibility::check(const AXElement& element) const
{
    if (element.kind == AXElement::Kind::application)
        return processExists(element.pid) ? AXError::success : AXError::invalidUIElement;
    const X11ManagedWindow* window = windowOf(element);
    if (!window)
        return AXError::invalidUIElement;
    if (isButton(element.kind) && !hasTitleBar(*window))
        return AXError::invalidUIElement;
    return AXError::success;
}

AXError X11Accessibility::copyAttributeValue(const AXElement& element, const QString& attribute, QVariant* value) const
{
    if (const AXError error = check(element); error != AXError::success)
        return error;
    QVariant result;
    AXError error = AXError::attributeUnsupported;
    if (element.kind == AXElement::Kind::application)
        error = copyApplicationAttribute(element, attribute, &result);
    else if (element.kind == AXElement::Kind::window)
        error = copyWindowAttribute(*windowOf(element), element, attribute, &result);
    else
        error = copyButtonAttribute(*windowOf(element), element, attribute, &result);
    if (error == AXError::success && value)
        *value = result;
    return error;
}

AXError X11Accessibility::copyApplicationAttribute(const AXElement& element, const QString& attribute,
                                                   QVariant* value) const
{
    const auto windows = accessibleWindows(element.pid);
    if (attribute == AXName::role) {
        *value = QStringLiteral("AXApplication");
    } else if (attribute == AXName::title) {
        if (windows.empty())
            return AXError::noValue;
        noteNearest(attribute, QStringLiteral("An application's title is the WM_CLASS class of its windows"));
        *value = windows.front()->className;
    } else if (attribute == AXName::windows) {
        QVariantList list;
        for (const X11ManagedWindow* window : windows)
            list.append(elementValue(AXElement{AXElement::Kind::window, element.pid, WindowNumber(window->id)}));
        *value = list;
    } else if (attribute == AXName::mainWindow || attribute == AXName::focusedWindow) {
        const X11ManagedWindow* main = mainWindow(element.pid);
        if (!main)
            return AXError::noValue;
        *value = elementValue(AXElement{AXElement::Kind::window, element.pid, WindowNumber(main->id)});
    } else if (attribute == AXName::frontmost) {
        const X11ManagedWindow* active = cache_.window(cache_.activeWindow());
        *value = active && active->pid == element.pid;
    } else if (attribute == AXName::hidden) {
        bool hidden = !windows.empty();
        for (const X11ManagedWindow* window : windows)
            hidden = hidden && window->hidden;
        *value = hidden;
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError X11Accessibility::copyWindowAttribute(const X11ManagedWindow& window, const AXElement& element,
                                              const QString& attribute, QVariant* value) const
{
    if (attribute == AXName::role) {
        *value = QStringLiteral("AXWindow");
    } else if (attribute == AXName::subrole) {
        *value = hasTitleBar(window) ? QStringLiteral("AXStandardWindow") : QStringLiteral("AXFloatingWindow");
    } else if (attribute == AXName::title) {
        *value = window.title;
    } else if (attribute == AXName::parent) {
        *value = elementValue(createApplication(element.pid));
    } else if (attribute == AXName::position) {
        *value = quartzFrame(window.bounds()).topLeft();
    } else if (attribute == AXName::size) {
        *value = quartzFrame(window.bounds()).size();
    } else if (attribute == AXName::minimized) {
        *value = window.hidden;
    } else if (attribute == AXName::fullScreen) {
        *value = window.fullScreen;
    } else if (attribute == AXName::main || attribute == AXName::focused) {
        const X11ManagedWindow* main = mainWindow(element.pid);
        *value = main && main->id == window.id;
    } else if (const auto kind = buttonKind(attribute)) {
        if (!hasTitleBar(window))
            return AXError::noValue;
        if (attribute == AXName::fullScreenButton)
            noteNearest(attribute, QStringLiteral("A window's full-screen button is its zoom button (it maximises)"));
        *value = elementValue(AXElement{*kind, element.pid, element.window});
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError X11Accessibility::copyButtonAttribute(const X11ManagedWindow& window, const AXElement& element,
                                              const QString& attribute, QVariant* value) const
{
    const QRectF frame = quartzFrame(buttonFrame(element.kind, window));
    if (attribute == AXName::role) {
        *value = QStringLiteral("AXButton");
    } else if (attribute == AXName::subrole) {
        *value = element.kind == AXElement::Kind::closeButton      ? AXName::closeButton
                 : element.kind == AXElement::Kind::minimizeButton ? AXName::minimizeButton
                                                                   : AXName::zoomButton;
    } else if (attribute == AXName::title) {
        return AXError::noValue;
    } else if (attribute == AXName::parent) {
        *value = elementValue(AXElement{AXElement::Kind::window, element.pid, element.window});
    } else if (attribute == AXName::position) {
        noteButtonPlacement();
        *value = frame.topLeft();
    } else if (attribute == AXName::size) {
        *value = frame.size();
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError X11Accessibility::setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value)
{
    if (const AXError error = check(element); error != AXError::success)
        return error;
    if (element.kind == AXElement::Kind::application)
        return setApplicationAttribute(element, attribute, value);
    if (element.kind == AXElement::Kind::window)
        return setWindowAttribute(*windowOf(element), attribute, value);
    return AXError::attributeUnsupported;
}

AXError X11Accessibility::setApplicationAttribute(const AXElement& element, const QString& attribute,
                                                  const QVariant& value)
{
    if (attribute == AXName::frontmost || attribute == AXName::hidden) {
        if (value.typeId() != QMetaType::Bool)
            return AXError::illegalArgument;
        const auto windows = accessibleWindows(element.pid);
        if (attribute == AXName::frontmost) {
            if (!value.toBool())
                return AXError::success;
            const X11ManagedWindow* main = mainWindow(element.pid);
            return main ? result(control_.activate(main->id)) : AXError::cannotComplete;
        }
        noteNearest(attribute, QStringLiteral("Hiding an application iconifies each of its windows"));
        bool sent = !windows.empty();
        for (const X11ManagedWindow* window : windows)
            sent = (value.toBool() ? control_.minimize(window->id) : control_.restore(window->id)) && sent;
        return result(sent);
    }
    if (attribute == AXName::mainWindow || attribute == AXName::focusedWindow) {
        if (!value.canConvert<AXElement>())
            return AXError::illegalArgument;
        const AXElement target = value.value<AXElement>();
        const X11ManagedWindow* window = target.kind == AXElement::Kind::window ? windowOf(target) : nullptr;
        if (!window || target.pid != element.pid)
            return AXError::illegalArgument;
        return result(control_.activate(window->id));
    }
    return AXError::attributeUnsupported;
}

AXError X11Accessibility::setWindowAttribute(const X11ManagedWindow& window, const QString& attribute,
                                             const QVariant& value)
{
    if (attribute == AXName::position) {
        if (value.typeId() != QMetaType::QPointF)
            return AXError::illegalArgument;
        return moveResize(window, value.toPointF(), std::nullopt);
    }
    if (attribute == AXName::size) {
        if (value.typeId() != QMetaType::QSizeF)
            return AXError::illegalArgument;
        return moveResize(window, std::nullopt, value.toSizeF());
    }
    const bool flagged = attribute == AXName::minimized || attribute == AXName::fullScreen || attribute == AXName::main
                         || attribute == AXName::focused;
    if (!flagged)
        return AXError::attributeUnsupported;
    if (value.typeId() != QMetaType::Bool)
        return AXError::illegalArgument;
    const bool flag = value.toBool();
    if (attribute == AXName::minimized)
        return result(flag ? control_.minimize(window.id) : control_.restore(window.id));
    if (attribute == AXName::fullScreen)
        return result(control_.setFullScreen(window.id, flag));
    return flag ? result(control_.activate(window.id)) : AXError::success;
}

AXError X11Accessibility::moveResize(const X11ManagedWindow& window, const std::optional<QPointF>& position,
                                     const std::optional<QSizeF>& size)
{
    QRect base = window.bounds();
    if (const auto it = pending_.find(window.id); it != pending_.end() && it->second.boundsWhenRequested == base)
        base = it->second.requested;
    QRectF target = quartzFrame(base);
    if (position)
        target.moveTopLeft(*position);
    if (size)
        target.setSize(*size);
    if (target.width() < 1 || target.height() < 1)
        return AXError::illegalArgument;
    const QRect rootTarget = mapping().rootFromQuartz(target);
    if (!control_.moveResize(window.id, rootTarget))
        return AXError::cannotComplete;
    std::erase_if(pending_, [this](const auto& entry) { return !cache_.window(entry.first); });
    pending_[window.id] = PendingBounds{rootTarget, window.bounds()};
    return AXError::success;
}

AXError X11Accessibility::performAction(const AXElement& element, const QString& action)
{
    if (const AXError error = check(element); error != AXError::success)
        return error;
    if (element.kind == AXElement::Kind::window) {
        const X11ManagedWindow& window = *windowOf(element);
        if (action == AXName::raiseAction)
            return window.hidden ? AXError::cannotComplete : result(control_.raise(window.id));
        if (action == AXName::cancelAction) {
            noteNearest(action, QStringLiteral("Cancelling a window asks it to close (_NET_CLOSE_WINDOW)"));
            return result(control_.close(window.id));
        }
        return AXError::actionUnsupported;
    }
    if (isButton(element.kind) && action == AXName::pressAction)
        return pressButton(*windowOf(element), element.kind);
    return AXError::actionUnsupported;
}

AXError X11Accessibility::pressButton(const X11ManagedWindow& window, AXElement::Kind button)
{
    switch (button) {
    case AXElement::Kind::closeButton:
        return result(control_.close(window.id));
    case AXElement::Kind::minimizeButton:
        return result(control_.minimize(window.id));
    default:
        return result(control_.setMaximized(window.id, !window.isMaximized()));
    }
}

AXError X11Accessibility::copyElementAtPosition(const AXElement& application, const QPointF& point,
                                                AXElement* element) const
{
    if (const AXError error = check(application); error != AXError::success)
        return error;
    if (application.kind != AXElement::Kind::application)
        return AXError::illegalArgument;
    for (const X11ManagedWindow* window : accessibleWindows(application.pid)) {
        if (window->hidden || !window->mapped || !quartzFrame(window->bounds()).contains(point))
            continue;
        for (auto kind : {AXElement::Kind::closeButton, AXElement::Kind::minimizeButton, AXElement::Kind::zoomButton}) {
            if (hasTitleBar(*window) && quartzFrame(buttonFrame(kind, *window)).contains(point)) {
                noteButtonPlacement();
                *element = AXElement{kind, application.pid, WindowNumber(window->id)};
                return AXError::success;
            }
        }
        *element = AXElement{AXElement::Kind::window, application.pid, WindowNumber(window->id)};
        return AXError::success;
    }
    return AXError::noValue;
}

void X11Accessibility::noteButtonPlacement() const
{
    noteNearest(QStringLiteral("buttons"),
                QStringLiteral("Title-bar buttons are placed where most window managers draw them: the right end "
                               "of the title bar, minimise, zoom, close"));
}

void X11Accessibility::noteNearest(const QString& what, const QString& message) const
{
    if (noted_.insert(what).second)
        logger_.log(VeskLogLevel::info, message);
}

} // namespace vesk::platform
