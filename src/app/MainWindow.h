#pragma once

#include "platform/DesktopWindow.h"

#include <QMainWindow>

#include <optional>

class QAction;

namespace vesk::platform {
class SimulatedDesktop;
}

namespace vesk {

// The main window, 360 × 440 points: a placeholder where the setup screen
// goes, with the application's menu. It lists itself in the desktop's window
// list as one of our windows (not a panel) while it is shown.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int defaultWidth = 360;
    static constexpr int defaultHeight = 440;

    explicit MainWindow(platform::SimulatedDesktop& desktop, QWidget* parent = nullptr);
    ~MainWindow() override;

    QAction* checkForUpdatesAction() const { return checkForUpdatesAction_; }
    QAction* settingsAction() const { return settingsAction_; }
    QAction* quitAction() const { return quitAction_; }
    std::optional<platform::WindowNumber> windowNumber() const { return windowNumber_; }

signals:
    // Each time the content comes on screen.
    void contentShown();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void publishToDesktop(bool visible);

    platform::SimulatedDesktop& desktop_;
    std::optional<platform::WindowNumber> windowNumber_;
    QAction* checkForUpdatesAction_ = nullptr;
    QAction* settingsAction_ = nullptr;
    QAction* quitAction_ = nullptr;
};

} // namespace vesk
