#pragma once

#include <QJsonObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

namespace vesk {

namespace platform {
class SimulatedDesktop;
struct EventOutcome;
} // namespace platform

// A person's hands on Vesk's own windows in a scripted run: clicking a
// control by the text it shows and typing into the focused field. Both go
// through the simulated desktop's event system first, like any click or key,
// so that the taps and monitors of a session decide; what reaches Vesk is then
// handed to the control as Qt's own mouse and key events.
class ScriptedControlInput {
public:
    explicit ScriptedControlInput(platform::SimulatedDesktop& desktop) : desktop_(desktop) { }

    // Clicks the front-most visible control of Vesk's windows whose shown
    // text, placeholder, tooltip or accessible name equals `text`; an outcome
    // with "error" when there is none.
    QJsonObject clickText(const QString& text);
    // Types `text` into the field that has the keyboard focus, key by key.
    QJsonObject type(const QString& text);
    // Hands a click that the desktop sent to one of Vesk's windows to the
    // widget under the point (top-left global) as Qt's press and release;
    // the widget's class, or none when the click went elsewhere.
    std::optional<QString> deliverClick(const platform::EventOutcome& outcome, const QPointF& global, int button);

    // A control, or one item a view draws itself (a list's row), and where
    // it lies in the widget.
    struct Target {
        QWidget* widget = nullptr;
        QRectF rect;
    };
    // The front-most visible control showing `text`, or none: windows the
    // desktop does not list (popups, sheets) first, then Vesk's listed
    // windows front to back; within a window, what is drawn last.
    Target frontMostControl(const QString& text) const;

private:
    std::vector<QWidget*> windowsFrontToBack() const;
    QWidget* focusedField() const;
    void pressAndRelease(QWidget& control, const QPointF& local, Qt::MouseButton button, bool activatesWindow);

    platform::SimulatedDesktop& desktop_;
    // The window of the last control clicked: its focus widget takes typing
    // when no window is active (the headless platform activates none).
    QPointer<QWidget> lastWindow_;
};

} // namespace vesk
