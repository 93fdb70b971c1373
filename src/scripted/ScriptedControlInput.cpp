#include "scripted/ScriptedControlInput.h"

#include "platform/InputEvent.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/simulated/VirtualKeyCodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariant>

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
void findShowing(QWidget& widget, const QString& text, QWidget*& found)
{
    if (!widget.isVisible())
        return;
    if (shows(widget, text))
        found = &widget;
    for (QObject* child : widget.children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget && !childWidget->isWindow())
            findShowing(*childWidget, text, found);
    }
}

void sendMouse(QWidget& widget, QEvent::Type type, const QPointF& local)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, widget.mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
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

QWidget* ScriptedControlInput::frontMostControl(const QString& text) const
{
    for (QWidget* window : windowsFrontToBack()) {
        QWidget* found = nullptr;
        findShowing(*window, text, found);
        if (found)
            return found;
    }
    return nullptr;
}

QJsonObject ScriptedControlInput::clickText(const QString& text)
{
    QWidget* control = frontMostControl(text);
    if (!control)
        return {{"text", text}, {"error", QStringLiteral("no visible control of Vesk shows \"%1\"").arg(text)}};
    const QPointF local = QRectF(control->rect()).center();
    const QPointF global = control->mapToGlobal(local);
    desktop_.setMouseLocation(desktop_.cocoaPoint(global));
    const platform::EventOutcome outcome = desktop_.events().click(global, 0);

    QWidget* window = control->window();
    const auto listedWindow = [&]() -> std::optional<platform::WindowNumber> {
        for (const platform::DesktopWindow* listed : desktop_.windowsOf(desktop_.ownPID())) {
            if (desktop_.ownWindowHandle(listed->number) == window->windowHandle())
                return listed->number;
        }
        return std::nullopt;
    }();
    // A window the desktop lists gets the click only where the desktop sends
    // it; one it does not list (a popup over ours) whenever no tap took it.
    const bool reachesVesk = outcome.delivered
                             && (listedWindow ? outcome.targetWindow == listedWindow
                                              : outcome.targetPID == desktop_.ownPID() || !outcome.targetPID);
    QJsonObject result{{"text", text},
                       {"x", global.x()},
                       {"y", global.y()},
                       {"control", QString::fromUtf8(control->metaObject()->className())},
                       {"enabled", control->isEnabled()},
                       {"delivered", reachesVesk},
                       {"swallowed", outcome.swallowedByTap.has_value() || outcome.swallowedByMonitor}};
    if (!reachesVesk)
        return result;
    if (listedWindow)
        window->activateWindow();
    lastWindow_ = window;
    QPointer<QWidget> target(control);
    sendMouse(*control, QEvent::MouseButtonPress, local);
    // The press may have closed the control (a popup that ends with its choice).
    if (target)
        sendMouse(*target, QEvent::MouseButtonRelease, local);
    return result;
}

QWidget* ScriptedControlInput::focusedField() const
{
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
