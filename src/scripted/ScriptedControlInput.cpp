#include "scripted/ScriptedControlInput.h"

#include "platform/InputEvent.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "ui/TextItemsProviding.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariant>
#include <QWindow>

namespace vesk {

namespace {

bool shows(const QWidget& widget, const QString& text)
{
    for (const char* property : {"text", "placeholderText"}) {
        const QVariant value = widget.property(property);
        if (value.typeId() == QMetaType::QString && value.toString() == text)
            return true;
    }
    return widget.toolTip() == text || widget.accessibleName() == text;
}

// The last match in drawing order: a parent before its children, earlier
// siblings before later ones.
void findShowing(QWidget& widget, const QString& text, ScriptedControlInput::Target& found)
{
    if (!widget.isVisible())
        return;
    if (shows(widget, text))
        found = {&widget, QRectF(widget.rect())};
    if (const auto* items = dynamic_cast<const TextItemsProviding*>(&widget)) {
        for (const auto& [itemText, rect] : items->textItems()) {
            if (itemText == text)
                found = {&widget, rect};
        }
    }
    for (QObject* child : widget.children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget && !childWidget->isWindow())
            findShowing(*childWidget, text, found);
    }
}

void sendMouse(QWidget& widget, QEvent::Type type, const QPointF& local, Qt::MouseButton button)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, local, widget.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// The desktop's buttons: 0 left, 1 right, 2 the others.
Qt::MouseButton qtButton(int button)
{
    return button == 0 ? Qt::LeftButton : button == 1 ? Qt::RightButton : Qt::MiddleButton;
}

// The key Qt names for a typed character, for the desktop's key code.
int qtKeyOf(QChar character)
{
    if (character == ' ')
        return Qt::Key_Space;
    return QKeySequence(QString(character.toUpper()))[0].key();
}

} // namespace

std::vector<QWidget*> ScriptedControlInput::windowsFrontToBack() const
{
    std::vector<QWidget*> listed;
    for (const platform::DesktopWindow* window : desktop_.windowsOf(desktop_.ownPID())) {
        QWindow* handle = desktop_.isOnScreen(*window) ? desktop_.ownWindowHandle(window->number) : nullptr;
        for (QWidget* topLevel : QApplication::topLevelWidgets()) {
            if (handle && topLevel->windowHandle() == handle)
                listed.push_back(topLevel);
        }
    }
    std::vector<QWidget*> windows;
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (topLevel->isVisible() && std::find(listed.begin(), listed.end(), topLevel) == listed.end())
            windows.push_back(topLevel);
    }
    windows.insert(windows.end(), listed.begin(), listed.end());
    return windows;
}

ScriptedControlInput::Target ScriptedControlInput::frontMostControl(const QString& text) const
{
    for (QWidget* window : windowsFrontToBack()) {
        Target found;
        findShowing(*window, text, found);
        if (found.widget)
            return found;
    }
    return {};
}

QJsonObject ScriptedControlInput::clickText(const QString& text)
{
    const Target target = frontMostControl(text);
    QWidget* control = target.widget;
    if (!control)
        return {{"text", text}, {"error", QStringLiteral("no visible control of Vesk shows \"%1\"").arg(text)}};
    const QPointF local = target.rect.center();
    const QPointF global = control->mapToGlobal(local);
    QWidget* window = control->window();
    const auto listedWindow = [&]() -> std::optional<platform::WindowNumber> {
        for (const platform::DesktopWindow* listed : desktop_.windowsOf(desktop_.ownPID())) {
            if (desktop_.ownWindowHandle(listed->number) == window->windowHandle())
                return listed->number;
        }
        return std::nullopt;
    }();
    QJsonObject result{{"text", text},
                       {"x", global.x()},
                       {"y", global.y()},
                       {"control", QString::fromUtf8(control->metaObject()->className())},
                       {"enabled", control->isEnabled()}};
    // A window of ours the desktop lists gets the click only where the
    // desktop's taps and stacking send it. One it does not list (a popup)
    // cannot be routed there: it gets the click directly.
    bool reachesVesk = true;
    if (listedWindow) {
        desktop_.setMouseLocation(desktop_.cocoaPoint(global));
        const platform::EventOutcome outcome = desktop_.events().click(global, 0);
        reachesVesk = outcome.delivered && outcome.targetWindow == listedWindow;
        result["swallowed"] = outcome.swallowedByTap.has_value() || outcome.swallowedByMonitor;
    } else {
        result["unlistedWindow"] = true;
    }
    result["delivered"] = reachesVesk;
    if (reachesVesk)
        pressAndRelease(*control, local, Qt::LeftButton, listedWindow.has_value());
    return result;
}

std::optional<QString> ScriptedControlInput::deliverClick(const platform::EventOutcome& outcome, const QPointF& global,
                                                          int button)
{
    if (!outcome.delivered || outcome.targetPID != desktop_.ownPID() || !outcome.targetWindow)
        return std::nullopt;
    QWindow* handle = desktop_.ownWindowHandle(*outcome.targetWindow);
    QWidget* window = nullptr;
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (handle && topLevel->windowHandle() == handle)
            window = topLevel;
    }
    if (!window)
        return std::nullopt;
    QWidget* child = window->childAt(window->mapFromGlobal(global).toPoint());
    QWidget& control = child ? *child : *window;
    const QString controlClass = QString::fromUtf8(control.metaObject()->className());
    pressAndRelease(control, control.mapFromGlobal(global), qtButton(button), true);
    return controlClass;
}

// What the window system does with a click that reaches one of our widgets.
void ScriptedControlInput::pressAndRelease(QWidget& control, const QPointF& local, Qt::MouseButton button,
                                           bool activatesWindow)
{
    QWidget* window = control.window();
    // As a real click outside an open popup does, it closes the popup first.
    if (QWidget* popup = QApplication::activePopupWidget(); popup && popup != window)
        popup->close();
    if (activatesWindow)
        window->activateWindow();
    lastWindow_ = window;
    QPointer<QWidget> pressed(&control);
    sendMouse(control, QEvent::MouseButtonPress, local, button);
    // The press may have closed the control (a popup that ends with its choice).
    if (pressed)
        sendMouse(*pressed, QEvent::MouseButtonRelease, local, button);
}

QWidget* ScriptedControlInput::focusedField() const
{
    // An open popup takes the keyboard, as Qt routes keys to it.
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget();
    if (QWidget* focused = QApplication::focusWidget())
        return focused;
    return lastWindow_ ? lastWindow_->focusWidget() : nullptr;
}

QJsonObject ScriptedControlInput::type(const QString& text)
{
    QWidget* field = focusedField();
    if (!field)
        return {{"text", text}, {"error", QStringLiteral("no field of Vesk has the keyboard focus")}};
    QPointer<QWidget> target(field);
    int typed = 0;
    for (const QChar character : text) {
        if (!target)
            break;
        const int key = qtKeyOf(character);
        const Qt::KeyboardModifiers modifiers = character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        // Keys the desktop's keyboard has go through its taps like any key.
        if (const auto keyCode = platform::virtualKeyCode(key)) {
            const std::uint64_t flags = character.isUpper() ? platform::EventFlag::shift : 0;
            const platform::EventOutcome outcome = desktop_.events().keyPress(*keyCode, flags);
            if (!outcome.delivered || outcome.targetPID != desktop_.ownPID())
                continue;
        }
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(character));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(character));
        if (target)
            QApplication::sendEvent(target, &release);
        ++typed;
    }
    QJsonObject result{{"text", text},
                       {"field", QString::fromUtf8(field->metaObject()->className())},
                       {"typed", typed}};
    if (typed < text.size())
        result["error"] = QStringLiteral("%1 of %2 keys did not reach Vesk").arg(text.size() - typed).arg(text.size());
    return result;
}

} // namespace vesk
