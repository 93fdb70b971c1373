#include "platform/x11/X11WindowListProvider.h"
#include "X11DesktopScene.h"
#include "platform/WindowLevel.h"
#include "platform/x11/X11OwnWindows.h"
#include "platform/x11/X11ScreenProvider.h"
#include "platform/x11/X11WindowControl.h"

#include <QCoreApplication>

namespace vesk::platform::testing {
namespace {

class X11WindowListProviderTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ownWindows = std::make_unique<X11OwnWindows>(screens);
        provider = std::make_unique<X11WindowListProvider>(*cache, *ownWindows, ownPID, "Vesk");
        control = std::make_unique<X11WindowControl>(*connection, *cache);
    }

    void TearDown() override
    {
        control.reset();
        provider.reset();
        ownWindows.reset();
        X11DesktopScene::TearDown();
    }

    std::optional<QVariantMap> entryFor(quint32 number, int options = WindowListAll) const
    {
        for (const QVariantMap& entry : provider->copyWindowInfo(options)) {
            if (entry.value(kWindowNumber).toLongLong() == qint64(number))
                return entry;
        }
        return std::nullopt;
    }

    static QRectF boundsOf(const QVariantMap& entry)
    {
        const QVariantMap b = entry.value(kWindowBounds).toMap();
        return QRectF(b.value("X").toDouble(), b.value("Y").toDouble(), b.value("Width").toDouble(),
                      b.value("Height").toDouble());
    }

    bool onScreen(xcb_window_t id) const
    {
        const auto entry = entryFor(id);
        return entry && entry->value(kWindowIsOnscreen).toBool() && entryFor(id, WindowListOnScreenOnly);
    }

    const ProcessID ownPID = ProcessID(QCoreApplication::applicationPid());
    X11ScreenProvider screens;
    std::unique_ptr<X11OwnWindows> ownWindows;
    std::unique_ptr<X11WindowListProvider> provider;
    std::unique_ptr<X11WindowControl> control;
};

TEST_F(X11WindowListProviderTest, ListsAnotherApplicationsWindowAsTheServicesReadIt)
{
    const xcb_window_t id = openWindow(
        {"--class", "terminal,Terminal", "--title", "~/src", "--geometry", "500x300+120+90", "--pid", "5150"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return !windowOf(id).frameExtents.isNull(); }));

    const auto entry = entryFor(id);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value(kWindowOwnerPID).toInt(), 5150);
    EXPECT_EQ(entry->value(kWindowOwnerName).toString(), "Terminal");
    EXPECT_EQ(entry->value(kWindowName).toString(), "~/src");
    EXPECT_EQ(entry->value(kWindowLayer).toInt(), WindowLevel::normal);
    EXPECT_EQ(entry->value(kWindowAlpha).toDouble(), 1.0);
    EXPECT_TRUE(entry->value(kWindowIsOnscreen).toBool());
    // The bounds take in the frame the window manager put around the client.
    const X11ManagedWindow& window = windowOf(id);
    EXPECT_EQ(boundsOf(*entry), QRectF(window.bounds()));
    EXPECT_EQ(boundsOf(*entry).size(), QSizeF(500 + window.frameExtents.left() + window.frameExtents.right(),
                                              300 + window.frameExtents.top() + window.frameExtents.bottom()));
}

TEST_F(X11WindowListProviderTest, MeasuresBoundsFromThePrimaryDisplaysCornerInLogicalPixels)
{
    const xcb_window_t id = openWindow({"--geometry", "200x100+300+200"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return !windowOf(id).frameExtents.isNull(); }));
    X11RootMapping mapping;
    mapping.primaryOrigin = QPointF(100, 40);
    const X11WindowListProvider mapped(*cache, *ownWindows, ownPID, "Vesk",
                                       [&]() -> const X11RootMapping& { return mapping; });
    auto boundsIn = [&](const X11WindowListProvider& list) {
        for (const QVariantMap& entry : list.copyWindowInfo(WindowListAll)) {
            if (entry.value(kWindowNumber).toLongLong() == qint64(id))
                return boundsOf(entry);
        }
        return QRectF();
    };
    const QRectF root(windowOf(id).bounds());
    EXPECT_EQ(boundsIn(mapped), root.translated(-100, -40));
    // The displays change (the primary display now at twice the scale, at the
    // root's origin): the list follows at once.
    mapping.primaryOrigin = QPointF(0, 0);
    mapping.displays = {{QRect(0, 0, 2560, 1600), QPointF(0, 0), 2.0}};
    EXPECT_EQ(boundsIn(mapped), QRectF(root.topLeft() / 2, root.size() / 2));
}

TEST_F(X11WindowListProviderTest, FollowsAWindowThatMovesIsMinimisedComesBackAndCloses)
{
    const xcb_window_t id = openWindow({"--title", "Follow me"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return onScreen(id) && !windowOf(id).frameExtents.isNull(); }));

    const QRect target(300, 250, 640, 420);
    ASSERT_TRUE(control->moveResize(id, target));
    EXPECT_TRUE(waitFor([&] { return entryFor(id) && boundsOf(*entryFor(id)) == QRectF(target); }));

    ASSERT_TRUE(control->minimize(id));
    EXPECT_TRUE(waitFor([&] { return !entryFor(id, WindowListOnScreenOnly); }));
    ASSERT_TRUE(entryFor(id));
    EXPECT_FALSE(entryFor(id)->value(kWindowIsOnscreen).toBool());
    EXPECT_TRUE(waitFor([&] { return windowOf(id).hidden; }));

    ASSERT_TRUE(control->restore(id));
    EXPECT_TRUE(waitFor([&] { return onScreen(id); }));

    ASSERT_TRUE(control->close(id));
    EXPECT_TRUE(waitFor([&] { return !entryFor(id); }));
}

TEST_F(X11WindowListProviderTest, ListsEachKindOfWindowAtItsLevel)
{
    struct Case {
        QStringList arguments;
        int level;
        bool desktopElement;
    };
    const Case cases[] = {
        {{"--title", "plain"}, WindowLevel::normal, false},
        {{"--type", "dialog"}, WindowLevel::normal, false},
        {{"--state", "above"}, WindowLevel::floating, false},
        {{"--type", "utility"}, WindowLevel::floating, false},
        {{"--type", "dock", "--geometry", "1280x24+0+776"}, WindowLevel::dock, false},
        {{"--type", "notification"}, WindowLevel::status, false},
        {{"--type", "desktop", "--geometry", "1280x800+0+0"}, WindowLevel::desktopIcon, true},
    };
    for (const Case& c : cases) {
        const xcb_window_t id = openWindow(c.arguments);
        ASSERT_NE(id, XCB_WINDOW_NONE) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(waitFor([&] { return entryFor(id) && entryFor(id)->value(kWindowLayer).toInt() == c.level; }))
            << c.arguments.join(' ').toStdString();
        EXPECT_EQ(!entryFor(id, WindowListExcludeDesktopElements), c.desktopElement)
            << c.arguments.join(' ').toStdString();
    }
    // Front to back by level: nothing is listed before a window of a higher level.
    const QList<QVariantMap> list = provider->copyWindowInfo(WindowListAll);
    for (qsizetype i = 1; i < list.size(); ++i)
        EXPECT_GE(list[i - 1].value(kWindowLayer).toInt(), list[i].value(kWindowLayer).toInt());
}

TEST_F(X11WindowListProviderTest, AWindowOnAnotherDesktopIsOnScreenOnlyWhileItsDesktopIsShown)
{
    const xcb_window_t here = openWindow({"--title", "here"});
    const xcb_window_t there = openWindow({"--title", "there", "--desktop", "1"});
    const xcb_window_t everywhere =
        openWindow({"--title", "everywhere", "--desktop", QString::number(kX11AllDesktops)});
    ASSERT_NE(here, XCB_WINDOW_NONE);
    ASSERT_NE(there, XCB_WINDOW_NONE);
    ASSERT_NE(everywhere, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return windowOf(there).desktop == 1u; }));
    EXPECT_TRUE(onScreen(here));
    EXPECT_FALSE(onScreen(there));
    EXPECT_TRUE(onScreen(everywhere));

    ASSERT_TRUE(control->switchToDesktop(1));
    // openbox maps and unmaps the clients once it has switched.
    EXPECT_TRUE(waitFor([&] { return cache->currentDesktop() == 1u && !onScreen(here) && onScreen(there); }));
    EXPECT_TRUE(onScreen(everywhere));
}

TEST_F(X11WindowListProviderTest, ListsVesksRegisteredWindowsAtTheirLevelsInsteadOfItsXWindows)
{
    // A window of this process that did not register (a menu, a tooltip) is not listed.
    const xcb_window_t unregistered = openWindow({"--pid", QString::number(ownPID)});
    const xcb_window_t other = openWindow({"--title", "other"});
    ASSERT_NE(unregistered, XCB_WINDOW_NONE);
    ASSERT_NE(other, XCB_WINDOW_NONE);

    OwnWindowSpec overlay;
    overlay.title = "Overlay";
    overlay.level = shieldingWindowLevel() + 1;
    overlay.frame = QRectF(0, 0, 400, 300);
    overlay.alpha = 0.5;
    const WindowNumber overlayNumber = ownWindows->addOwnWindow(overlay);
    OwnWindowSpec hiddenPanel = overlay;
    hiddenPanel.title = "Panel";
    hiddenPanel.level = WindowLevel::normal;
    hiddenPanel.visible = false;
    const WindowNumber panelNumber = ownWindows->addOwnWindow(hiddenPanel);

    const QList<QVariantMap> list = provider->copyWindowInfo(WindowListAll);
    ASSERT_FALSE(list.isEmpty());
    EXPECT_EQ(list.front().value(kWindowNumber).toLongLong(), qint64(overlayNumber));
    EXPECT_FALSE(entryFor(unregistered));
    ASSERT_TRUE(entryFor(other));
    const auto entry = entryFor(overlayNumber);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value(kWindowOwnerPID).toInt(), ownPID);
    EXPECT_EQ(entry->value(kWindowOwnerName).toString(), "Vesk");
    EXPECT_EQ(entry->value(kWindowLayer).toInt(), overlay.level);
    EXPECT_EQ(entry->value(kWindowAlpha).toDouble(), 0.5);
    EXPECT_EQ(boundsOf(*entry), screens.quartzRect(overlay.frame));
    EXPECT_FALSE(entryFor(panelNumber, WindowListOnScreenOnly));
    ASSERT_TRUE(entryFor(panelNumber));

    hiddenPanel.visible = true;
    ASSERT_TRUE(ownWindows->updateOwnWindow(panelNumber, hiddenPanel));
    EXPECT_TRUE(entryFor(panelNumber, WindowListOnScreenOnly));
    ownWindows->removeOwnWindow(overlayNumber);
    EXPECT_FALSE(entryFor(overlayNumber));
}

TEST_F(X11WindowListProviderTest, AnUnchangedListIsHandedOutAgainWithoutARequest)
{
    ASSERT_NE(openWindow({"--title", "one"}), XCB_WINDOW_NONE);
    ASSERT_NE(openWindow({"--title", "two"}), XCB_WINDOW_NONE);
    const QList<QVariantMap> first = provider->copyWindowInfo(WindowListOnScreenOnly);
    const unsigned before = connection->markRequestSequence();
    const QList<QVariantMap> second = provider->copyWindowInfo(WindowListOnScreenOnly);
    const unsigned after = connection->markRequestSequence();
    EXPECT_EQ(after - before, 1u);
    EXPECT_EQ(second.size(), 2);
    EXPECT_TRUE(second.isSharedWith(first));
}

// openbox unmaps the clients of a desktop it does not show; other window
// managers leave them mapped, and then the desktop alone decides.
TEST(X11OnScreenRule, AMappedWindowIsOnScreenOnItsOwnDesktopOrOnAllUnlessHidden)
{
    struct Case {
        bool mapped;
        bool hidden;
        std::optional<quint32> desktop;
        bool onScreen;
    };
    const Case cases[] = {
        {true, false, 2, true},
        {true, false, 1, false},
        {true, false, kX11AllDesktops, true},
        {true, false, {}, true},
        {true, true, 2, false},
        {false, false, 2, false},
        {false, false, kX11AllDesktops, false},
    };
    for (const Case& c : cases) {
        X11ManagedWindow window;
        window.mapped = c.mapped;
        window.hidden = c.hidden;
        window.desktop = c.desktop;
        EXPECT_EQ(X11WindowListProvider::isOnScreen(window, 2), c.onScreen)
            << c.mapped << c.hidden << c.desktop.value_or(99);
    }
}

} // namespace
} // namespace vesk::platform::testing
