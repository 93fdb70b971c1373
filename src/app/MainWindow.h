#pragma once

#include "app/OwnWindowListing.h"
#include "platform/Identifiers.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/ScreenProviding.h"
#include "ui/Localizer.h"

#include <QMainWindow>
#include <QPoint>

#include <optional>

class QAction;
class QMenu;

namespace vesk {

// The main window, 360 × 440 points: the setup screen (its content), with the application's menu ("Über VESK", the
// update check, the settings, quitting). It has no title bar: a drag on its background moves it, and the window menu's
// shortcuts close (Ctrl+W) and minimise (Ctrl+M) it. It keeps the size limits of its content. It lists itself in the
// window list as one of our windows (not a panel) while it is shown, at the place it is.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int defaultWidth = 360;
    static constexpr int defaultHeight = 440;

    MainWindow(const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Takes the content over; it fills the window.
    void setContent(QWidget* content);
    // Names the menus and their commands in the localizer's language.
    void retranslate(const Localizer& localizer);

    QAction* aboutAction() const { return aboutAction_; }
    QAction* checkForUpdatesAction() const { return checkForUpdatesAction_; }
    QAction* settingsAction() const { return settingsAction_; }
    QAction* quitAction() const { return quitAction_; }
    QAction* closeAction() const { return closeAction_; }
    QAction* minimizeAction() const { return minimizeAction_; }
    std::optional<platform::WindowNumber> windowNumber() const { return listing_.windowNumber(); }

signals:
    // Each time the content comes on screen.
    void contentShown();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildMenus();

    OwnWindowListing listing_;
    // Where the pointer holds the window during a drag we move ourselves.
    std::optional<QPoint> dragOffset_;
    QMenu* windowMenu_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* checkForUpdatesAction_ = nullptr;
    QAction* settingsAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    QAction* minimizeAction_ = nullptr;
};

} // namespace vesk
