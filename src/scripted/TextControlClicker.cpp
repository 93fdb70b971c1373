#include "scripted/TextControlClicker.h"

#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

namespace vesk {

namespace {

QWidget* widgetOfWindow(const QWindow* handle)
{
    if (!handle)
        return nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == handle)
            return widget;
    }
    return nullptr;
}

bool isTextProperty(const QWidget& widget, const char* name, const QString& text)
{
    const QVariant value = widget.property(name);
    return value.typeId() == QMetaType::QString && value.toString() == text;
}

void sendMouse(QWindow& window, QEvent::Type type, const QPointF& quartzPoint)
{
    const QPointF local = window.mapFromGlobal(quartzPoint);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, local, quartzPoint, Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

} // namespace

bool TextControlClicker::showsText(const QWidget& widget, const QString& text)
{
    return isTextProperty(widget, "text", text) || isTextProperty(widget, "placeholderText", text)
           || widget.toolTip() == text || widget.accessibleName() == text;
}

std::optional<TextControlClicker::Target> TextControlClicker::find(const QString& text) const
{
    for (const platform::OwnWindowInfo& info : desktop_.ownWindows()) {
        if (!info.visible)
            continue;
        QWidget* window = widgetOfWindow(desktop_.ownWindowHandle(info.number));
        if (!window || !window->isVisible())
            continue;
        if (std::optional<Target> target = findInWindow(*window, info.number, text))
            return target;
    }
    return std::nullopt;
}

// A control counts when its centre is not covered by another part of the
// window: the widget found there is the control or lies inside it.
std::optional<TextControlClicker::Target>
TextControlClicker::findInWindow(QWidget& window, platform::WindowNumber number, const QString& text) const
{
    QList<QWidget*> candidates = window.findChildren<QWidget*>();
    candidates.prepend(&window);
    for (QWidget* control : candidates) {
        if (!control->isVisible() || control->rect().isEmpty() || !showsText(*control, text))
            continue;
        const QPoint centre = control->mapTo(&window, control->rect().center());
        const QWidget* hit = window.childAt(centre);
        if (hit && hit != control && !control->isAncestorOf(hit))
            continue;
        return Target{control, number, QPointF(control->mapToGlobal(control->rect().center()))};
    }
    return std::nullopt;
}

platform::EventOutcome TextControlClicker::click(const Target& target) const
{
    desktop_.setMouseLocation(desktop_.cocoaPoint(target.quartzPoint));
    const platform::EventOutcome outcome = desktop_.events().click(target.quartzPoint, 0);
    QWindow* handle = desktop_.ownWindowHandle(target.window);
    if (outcome.delivered && outcome.targetWindow == target.window && handle) {
        sendMouse(*handle, QEvent::MouseButtonPress, target.quartzPoint);
        sendMouse(*handle, QEvent::MouseButtonRelease, target.quartzPoint);
    }
    return outcome;
}

} // namespace vesk
