#include "app/MainWindow.h"

#include "TestDesktop.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "ui/AppliedApplicationLook.h"
#include "ui/VeskTheme.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty());
        window_ = std::make_unique<MainWindow>(desktop_.interfaces().screens, desktop_);
        window_->show();
    }

    // The window as the desktop lists it.
    platform::OwnWindowInfo listed() const
    {
        for (const platform::OwnWindowInfo& window : desktop_.ownWindows()) {
            if (window.number == window_->windowNumber())
                return window;
        }
        ADD_FAILURE() << "the main window is not listed";
        return {};
    }

    void sendMouse(QEvent::Type type, QPoint globalPoint, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local = window_->mapFromGlobal(QPointF(globalPoint));
        QMouseEvent event(type, local, QPointF(globalPoint), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &event);
    }

    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, HasNoTitleBarAndStartsAtItsDefaultSizeCentredOnTheMainDisplay)
{
    EXPECT_TRUE(window_->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window_->size(), QSize(MainWindow::defaultWidth, MainWindow::defaultHeight));
    const platform::OwnWindowInfo window = listed();
    EXPECT_TRUE(window.visible);
    EXPECT_FALSE(window.isPanel);
    EXPECT_EQ(window.frame.size(), QSizeF(MainWindow::defaultWidth, MainWindow::defaultHeight));
    EXPECT_EQ(window.frame.center(), desktop_.displays().at(0).visibleFrame.center());
    // Widget positions are top-left; the desktop lists bottom-left frames.
    EXPECT_EQ(desktop_.quartzRect(window.frame), QRectF(window_->geometry()));
}

TEST_F(MainWindowTest, ADragOnTheBackgroundMovesTheWindowAndTheDesktopFollows)
{
    const QPoint start = window_->geometry().center();
    const QPoint topLeft = window_->pos();
    sendMouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseMove, start + QPoint(40, 25), Qt::NoButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, start + QPoint(40, 25), Qt::LeftButton, Qt::NoButton);

    EXPECT_EQ(window_->pos(), topLeft + QPoint(40, 25));
    EXPECT_EQ(desktop_.quartzRect(listed().frame), QRectF(window_->geometry()));

    // Moving the pointer without a button held moves nothing.
    sendMouse(QEvent::MouseMove, start + QPoint(200, 200), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window_->pos(), topLeft + QPoint(40, 25));
}

TEST_F(MainWindowTest, TheKeyboardClosesAndMinimisesTheWindow)
{
    EXPECT_EQ(window_->closeAction()->shortcut(), QKeySequence(QKeySequence::Close));
    EXPECT_EQ(window_->minimizeAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));

    window_->minimizeAction()->trigger();
    EXPECT_TRUE(window_->isMinimized());
    EXPECT_FALSE(listed().visible) << "a minimised window is off screen";

    window_->showNormal();
    EXPECT_TRUE(listed().visible);
    window_->closeAction()->trigger();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(listed().visible);
}

// Without the desktop's own menu bar the menus are a right click away.
TEST_F(MainWindowTest, ARightClickOnTheBackgroundShowsTheMenusWithoutAMenuBar)
{
    window_->retranslate(Localizer());
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                shown << action->text();
            menu->close();
        }
    });
    const QPoint point(20, 200);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, window_->mapToGlobal(point));
    QApplication::sendEvent(window_.get(), &event);
    for (const char* text : {"Über VESK", "Nach Updates suchen…", "Einstellungen…", "VESK beenden", "Schließen"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text;
}

// The menu a right click opens is the toolkit's, drawn in Vesk's dark look.
TEST_F(MainWindowTest, TheRightClickMenuIsDark)
{
    const test::AppliedApplicationLook look;
    const VeskTheme& theme = VeskTheme::shared();
    window_->retranslate(Localizer());
    QImage shown;
    QRect firstItem;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->setActiveAction(menu->actions().at(0));
            firstItem = menu->actionGeometry(menu->actions().at(0));
            shown = menu->grab().toImage();
            menu->close();
        }
    });
    const QPoint point(20, 200);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, window_->mapToGlobal(point));
    QApplication::sendEvent(window_.get(), &event);
    ASSERT_FALSE(shown.isNull());
    QDir().mkpath(VESK_GALLERY_DIR);
    EXPECT_TRUE(shown.save(QDir(VESK_GALLERY_DIR).filePath("main-window-menu.png")));

    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() - 3), theme.panelTop);
    EXPECT_EQ(shown.pixelColor(firstItem.right() - 3, firstItem.center().y()), theme.accent)
        << "the item under the pointer";
}

} // namespace
