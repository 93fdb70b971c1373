#include "platform/x11/X11Accessibility.h"
#include "X11DesktopScene.h"
#include "platform/x11/X11WindowControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QSizeF>
#include <QTemporaryDir>

#include <unistd.h>

namespace vesk::platform::testing {
namespace {

using Kind = AXElement::Kind;

class X11AccessibilityTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        control = std::make_unique<X11WindowControl>(*connection, *cache);
        ax = std::make_unique<X11Accessibility>(*cache, *control);
    }

    void TearDown() override
    {
        ax.reset();
        control.reset();
        X11DesktopScene::TearDown();
    }

    static ProcessID ownPID() { return ProcessID(QCoreApplication::applicationPid()); }

    // Windows of this test's process (its pid is one that runs), framed.
    std::vector<xcb_window_t> openFramedWindows(QStringList arguments, int count = 1, ProcessID pid = ownPID())
    {
        arguments << "--pid" << QString::number(pid) << "--count" << QString::number(count);
        const auto ids = server.startClient(arguments, count);
        const bool ready = int(ids.size()) == count && waitFor([&] {
                               for (quint32 id : ids) {
                                   const X11ManagedWindow* window = cache->window(id);
                                   if (!window || !window->mapped || window->frameExtents.isNull())
                                       return false;
                               }
                               return true;
                           });
        return ready ? std::vector<xcb_window_t>(ids.begin(), ids.end()) : std::vector<xcb_window_t>{};
    }

    xcb_window_t openFramedWindow(QStringList arguments)
    {
        const auto ids = openFramedWindows(std::move(arguments));
        return ids.empty() ? xcb_window_t(XCB_WINDOW_NONE) : ids.front();
    }

    static AXElement windowElement(xcb_window_t id) { return AXElement{Kind::window, ownPID(), WindowNumber(id)}; }

    QVariant read(const AXElement& element, const QString& attribute) const
    {
        QVariant value;
        const AXError error = ax->copyAttributeValue(element, attribute, &value);
        return error == AXError::success ? value : QVariant();
    }

    QRectF frameOf(const AXElement& element) const
    {
        return QRectF(read(element, AXName::position).toPointF(), read(element, AXName::size).toSizeF());
    }

    QString logPath(const QString& name) const { return logs.filePath(name); }

    static QString logOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir logs;
    std::unique_ptr<X11WindowControl> control;
    std::unique_ptr<X11Accessibility> ax;
};

TEST_F(X11AccessibilityTest, AnApplicationListsItsOwnWindowsFrontToBackWithTheirFramedBounds)
{
    const auto ids = openFramedWindows({"--title", "mine", "--geometry", "300x200+100+120"}, 2);
    ASSERT_EQ(ids.size(), 2u);
    const auto others = openFramedWindows({"--title", "other"}, 1, ProcessID(getppid()));
    ASSERT_EQ(others.size(), 1u);
    ASSERT_TRUE(waitFor([&] { return cache->windows().size() == 3; }));

    QVariantList expected;
    for (const X11ManagedWindow& window : cache->windows()) {
        if (window.pid == ownPID())
            expected.append(QVariant::fromValue(windowElement(window.id)));
    }
    const AXElement app = ax->createApplication(ownPID());
    EXPECT_EQ(read(app, AXName::windows).toList(), expected);
    EXPECT_EQ(read(app, AXName::role).toString(), "AXApplication");

    for (xcb_window_t id : ids) {
        const AXElement element = windowElement(id);
        EXPECT_EQ(frameOf(element), QRectF(windowOf(id).bounds()));
        EXPECT_GT(windowOf(id).bounds().height(), 200) << "the frame counts";
        EXPECT_EQ(read(element, AXName::role).toString(), "AXWindow");
        EXPECT_EQ(read(element, AXName::subrole).toString(), "AXStandardWindow");
        EXPECT_EQ(read(element, AXName::title).toString(), windowOf(id).title);
        EXPECT_TRUE(read(element, AXName::title).toString().startsWith("mine"));
        EXPECT_EQ(read(element, AXName::parent).value<AXElement>(), app);
        EXPECT_EQ(read(element, AXName::minimized), QVariant(false));
    }
    // Another process's window is no window of this application.
    EXPECT_EQ(ax->copyAttributeValue(windowElement(others.front()), AXName::title, nullptr), AXError::invalidUIElement);
}

TEST_F(X11AccessibilityTest, PositionAndSizeWrittenOneAfterTheOtherLandTogether)
{
    const xcb_window_t id = openFramedWindow({"--geometry", "300x200+50+60"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement element = windowElement(id);
    const QRectF targets[] = {QRectF(400, 300, 500, 350), QRectF(10, 20, 260, 180)};
    for (const QRectF& target : targets) {
        // As the window manager service writes a frame: position, size, position, without waiting.
        ASSERT_EQ(ax->setAttributeValue(element, AXName::position, target.topLeft()), AXError::success);
        ASSERT_EQ(ax->setAttributeValue(element, AXName::size, target.size()), AXError::success);
        ASSERT_EQ(ax->setAttributeValue(element, AXName::position, target.topLeft()), AXError::success);
        EXPECT_TRUE(waitFor([&] { return frameOf(element) == target; }))
            << "got " << frameOf(element).x() << "," << frameOf(element).y() << " " << frameOf(element).width() << "x"
            << frameOf(element).height();
    }
    ASSERT_EQ(ax->setAttributeValue(element, AXName::size, QSizeF(320, 240)), AXError::success);
    EXPECT_TRUE(waitFor([&] { return frameOf(element) == QRectF(10, 20, 320, 240); }));
}

TEST_F(X11AccessibilityTest, MinimisesAndRestoresAWindowThatStaysListed)
{
    const xcb_window_t id = openFramedWindow({});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement element = windowElement(id);
    const AXElement app = ax->createApplication(ownPID());

    ASSERT_EQ(ax->setAttributeValue(element, AXName::minimized, true), AXError::success);
    EXPECT_TRUE(waitFor([&] { return read(element, AXName::minimized) == QVariant(true); }));
    EXPECT_EQ(read(app, AXName::windows).toList(), QVariantList{QVariant::fromValue(element)});
    EXPECT_EQ(read(app, AXName::hidden), QVariant(true));
    EXPECT_EQ(ax->performAction(element, AXName::raiseAction), AXError::cannotComplete);

    ASSERT_EQ(ax->setAttributeValue(element, AXName::minimized, false), AXError::success);
    EXPECT_TRUE(waitFor([&] { return read(element, AXName::minimized) == QVariant(false) && windowOf(id).mapped; }));
    EXPECT_EQ(read(app, AXName::hidden), QVariant(false));
}

TEST_F(X11AccessibilityTest, PressingTheCloseButtonAsksTheApplicationToClose)
{
    const QString log = logPath("close.log");
    const xcb_window_t id = openFramedWindow({"--log", log});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QVariant button = read(windowElement(id), AXName::closeButton);
    ASSERT_TRUE(button.canConvert<AXElement>());
    EXPECT_EQ(button.value<AXElement>(), (AXElement{Kind::closeButton, ownPID(), WindowNumber(id)}));
    EXPECT_EQ(read(button.value<AXElement>(), AXName::subrole).toString(), AXName::closeButton);

    ASSERT_EQ(ax->performAction(button.value<AXElement>(), AXName::pressAction), AXError::success);
    EXPECT_TRUE(waitFor([&] { return logOf(log) == QStringLiteral("close %1\n").arg(id); }))
        << logOf(log).toStdString();
    EXPECT_TRUE(waitFor([&] { return cache->window(id) == nullptr; }));
}

TEST_F(X11AccessibilityTest, TheMinimizeButtonIconifiesAndTheZoomButtonTogglesMaximised)
{
    const xcb_window_t id = openFramedWindow({"--geometry", "300x200+200+150"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement zoom{Kind::zoomButton, ownPID(), WindowNumber(id)};
    EXPECT_EQ(read(windowElement(id), AXName::zoomButton).value<AXElement>(), zoom);
    const QRectF before = frameOf(windowElement(id));

    ASSERT_EQ(ax->performAction(zoom, AXName::pressAction), AXError::success);
    EXPECT_TRUE(waitFor([&] {
        return windowOf(id).isMaximized() && frameOf(windowElement(id)) == QRectF(0, 0, screenWidth, screenHeight);
    }));
    ASSERT_EQ(ax->performAction(zoom, AXName::pressAction), AXError::success);
    EXPECT_TRUE(waitFor([&] { return !windowOf(id).isMaximized() && frameOf(windowElement(id)) == before; }));

    const AXElement minimize{Kind::minimizeButton, ownPID(), WindowNumber(id)};
    ASSERT_EQ(ax->performAction(minimize, AXName::pressAction), AXError::success);
    EXPECT_TRUE(waitFor([&] { return read(windowElement(id), AXName::minimized) == QVariant(true); }));
}

TEST_F(X11AccessibilityTest, FullScreenIsWrittenAndReadBack)
{
    const xcb_window_t id = openFramedWindow({"--geometry", "300x200+200+150"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement element = windowElement(id);
    const QRectF before = frameOf(element);
    EXPECT_EQ(read(element, AXName::fullScreen), QVariant(false));

    ASSERT_EQ(ax->setAttributeValue(element, AXName::fullScreen, true), AXError::success);
    EXPECT_TRUE(waitFor([&] {
        return read(element, AXName::fullScreen) == QVariant(true)
               && frameOf(element) == QRectF(0, 0, screenWidth, screenHeight);
    }));
    ASSERT_EQ(ax->setAttributeValue(element, AXName::fullScreen, false), AXError::success);
    EXPECT_TRUE(
        waitFor([&] { return read(element, AXName::fullScreen) == QVariant(false) && frameOf(element) == before; }));
}

TEST_F(X11AccessibilityTest, TheButtonsLieInTheTitleBarAndAreFoundUnderThePoint)
{
    const QString log = logPath("click.log");
    const xcb_window_t id = openFramedWindow({"--geometry", "400x250+300+200", "--log", log});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const X11ManagedWindow& window = windowOf(id);
    const QRectF bounds(window.bounds());
    const QRectF titleBar(bounds.x(), bounds.y(), bounds.width(), window.frameExtents.top());
    const AXElement app = ax->createApplication(ownPID());

    double previousLeft = bounds.x();
    for (Kind kind : {Kind::minimizeButton, Kind::zoomButton, Kind::closeButton}) {
        const AXElement button{kind, ownPID(), WindowNumber(id)};
        const QRectF frame = frameOf(button);
        EXPECT_FALSE(frame.isEmpty());
        EXPECT_TRUE(titleBar.contains(frame)) << "button " << int(kind);
        EXPECT_GE(frame.left(), previousLeft);
        previousLeft = frame.right();
        AXElement hit;
        ASSERT_EQ(ax->copyElementAtPosition(app, frame.center(), &hit), AXError::success);
        EXPECT_EQ(hit, button);
    }
    AXElement hit;
    ASSERT_EQ(ax->copyElementAtPosition(app, bounds.center(), &hit), AXError::success);
    EXPECT_EQ(hit, windowElement(id));
    EXPECT_EQ(ax->copyElementAtPosition(app, QPointF(5, 5), &hit), AXError::noValue);

    // Where openbox draws its close button: a real click there closes the window.
    const QPointF close = frameOf(AXElement{Kind::closeButton, ownPID(), WindowNumber(id)}).center();
    ASSERT_TRUE(server.runTool("xdotool", {"mousemove", QString::number(int(close.x())),
                                           QString::number(int(close.y())), "click", "1"}));
    EXPECT_TRUE(waitFor([&] { return logOf(log).contains(QStringLiteral("close %1").arg(id)); }))
        << logOf(log).toStdString();
}

// openbox's default theme draws the buttons where the frames say: real
// clicks just inside each end of a frame hit the button it names.
TEST_F(X11AccessibilityTest, RealClicksOnTheMinimizeAndZoomButtonsDoWhatTheyAreNamedFor)
{
    const auto clickInside = [&](xcb_window_t id, Kind kind, bool leftEnd) {
        const QRectF frame = frameOf(AXElement{kind, ownPID(), WindowNumber(id)});
        const double x = leftEnd ? frame.left() + 3 : frame.right() - 3;
        return server.runTool("xdotool", {"mousemove", QString::number(qRound(x)),
                                          QString::number(qRound(frame.center().y())), "click", "1"});
    };
    const xcb_window_t id = openFramedWindow({"--geometry", "400x250+300+200"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QRect before = windowOf(id).bounds();
    ASSERT_TRUE(clickInside(id, Kind::zoomButton, true));
    ASSERT_TRUE(waitFor(
        [&] { return windowOf(id).isMaximized() && windowOf(id).bounds() == QRect(0, 0, screenWidth, screenHeight); }));
    ASSERT_TRUE(clickInside(id, Kind::zoomButton, false));
    ASSERT_TRUE(waitFor([&] { return !windowOf(id).isMaximized() && windowOf(id).bounds() == before; }));
    ASSERT_TRUE(clickInside(id, Kind::minimizeButton, true));
    EXPECT_TRUE(waitFor([&] { return windowOf(id).hidden; }));

    // A fresh window for the other end: openbox ignores the first click on the
    // buttons of a window it has just mapped back.
    const xcb_window_t second = openFramedWindow({"--geometry", "400x250+500+300"});
    ASSERT_NE(second, XCB_WINDOW_NONE);
    ASSERT_TRUE(clickInside(second, Kind::minimizeButton, false));
    EXPECT_TRUE(waitFor([&] { return windowOf(second).hidden; }));
}

TEST_F(X11AccessibilityTest, TheMainWindowIsTheActiveOneAndWritingItActivates)
{
    const auto ids = openFramedWindows({}, 2);
    ASSERT_EQ(ids.size(), 2u);
    const AXElement app = ax->createApplication(ownPID());
    ASSERT_TRUE(waitFor([&] { return cache->activeWindow() == cache->windows().front().id; }));
    const xcb_window_t back = cache->windows().back().id;
    const xcb_window_t front = cache->windows().front().id;

    ASSERT_EQ(ax->setAttributeValue(app, AXName::mainWindow, QVariant::fromValue(windowElement(back))),
              AXError::success);
    // The window manager raises the window before it names it active; the
    // main window follows the front-most one until then.
    EXPECT_TRUE(waitFor([&] { return cache->activeWindow() == back; }));
    EXPECT_EQ(read(app, AXName::mainWindow).value<AXElement>(), windowElement(back));
    EXPECT_EQ(read(app, AXName::focusedWindow).value<AXElement>(), windowElement(back));
    EXPECT_EQ(read(windowElement(back), AXName::main), QVariant(true));
    EXPECT_EQ(read(app, AXName::frontmost), QVariant(true));
    EXPECT_TRUE(waitFor([&] { return cache->windows().front().id == back; }));

    // Raised without the keyboard, the other window is in front but not main.
    ASSERT_TRUE(control->raise(front));
    ASSERT_TRUE(waitFor([&] { return cache->windows().front().id == front; }));
    EXPECT_EQ(read(app, AXName::mainWindow).value<AXElement>(), windowElement(back));
    EXPECT_EQ(read(windowElement(front), AXName::main), QVariant(false));
}

TEST_F(X11AccessibilityTest, WindowsOnAnotherDesktopAreListedOnlyWhenItIsShown)
{
    const xcb_window_t here = openFramedWindow({"--title", "here"});
    ASSERT_NE(here, XCB_WINDOW_NONE);
    const auto ids = server.startClient({"--title", "elsewhere", "--desktop", "2", "--pid", QString::number(ownPID())});
    ASSERT_EQ(ids.size(), 1u);
    const xcb_window_t elsewhere = ids.front();
    ASSERT_TRUE(waitFor([&] { return windowOf(elsewhere).desktop == 2u; }));
    const AXElement app = ax->createApplication(ownPID());
    EXPECT_EQ(read(app, AXName::windows).toList(), QVariantList{QVariant::fromValue(windowElement(here))});

    ASSERT_TRUE(control->switchToDesktop(2));
    EXPECT_TRUE(waitFor([&] {
        return read(app, AXName::windows).toList() == QVariantList{QVariant::fromValue(windowElement(elsewhere))};
    }));
}

TEST_F(X11AccessibilityTest, AnApplicationIsHiddenShownRaisedAndBroughtToTheFront)
{
    const auto ids = openFramedWindows({}, 2);
    ASSERT_EQ(ids.size(), 2u);
    const auto others = openFramedWindows({"--title", "other"}, 1, ProcessID(getppid()));
    ASSERT_EQ(others.size(), 1u);
    const AXElement app = ax->createApplication(ownPID());
    ASSERT_TRUE(waitFor([&] { return cache->activeWindow() == others.front(); }));
    EXPECT_EQ(read(app, AXName::frontmost), QVariant(false));

    ASSERT_EQ(ax->setAttributeValue(app, AXName::frontmost, true), AXError::success);
    EXPECT_TRUE(waitFor([&] { return read(app, AXName::frontmost) == QVariant(true); }));

    ASSERT_EQ(ax->setAttributeValue(app, AXName::hidden, true), AXError::success);
    EXPECT_TRUE(waitFor([&] { return windowOf(ids[0]).hidden && windowOf(ids[1]).hidden; }));
    EXPECT_EQ(read(app, AXName::hidden), QVariant(true));
    EXPECT_FALSE(windowOf(others.front()).hidden);
    ASSERT_EQ(ax->setAttributeValue(app, AXName::hidden, false), AXError::success);
    EXPECT_TRUE(waitFor([&] { return !windowOf(ids[0]).hidden && !windowOf(ids[1]).hidden; }));

    const xcb_window_t back = ids[0] == cache->windows().front().id ? ids[1] : ids[0];
    ASSERT_EQ(ax->performAction(windowElement(back), AXName::raiseAction), AXError::success);
    EXPECT_TRUE(waitFor([&] { return cache->windows().front().id == back; }));
    EXPECT_EQ(ax->performAction(windowElement(back), "AXShowMenu"), AXError::actionUnsupported);
}

TEST_F(X11AccessibilityTest, ValuesAreInLogicalPointsOfTheRootMapping)
{
    // A display at twice the density: root pixels are half points.
    const X11RootMapping scaled{{{QRect(0, 0, screenWidth, screenHeight), QPointF(0, 0), 2.0}}, QPointF(0, 0)};
    X11Accessibility scaledAx(*cache, *control, [&]() -> const X11RootMapping& { return scaled; });
    const xcb_window_t id = openFramedWindow({"--geometry", "300x200+100+100"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement element = windowElement(id);
    QVariant position;
    ASSERT_EQ(scaledAx.copyAttributeValue(element, AXName::position, &position), AXError::success);
    EXPECT_EQ(position.toPointF(), QPointF(windowOf(id).bounds().topLeft()) / 2);

    ASSERT_EQ(scaledAx.setAttributeValue(element, AXName::position, QPointF(150, 100)), AXError::success);
    ASSERT_EQ(scaledAx.setAttributeValue(element, AXName::size, QSizeF(200, 150)), AXError::success);
    EXPECT_TRUE(waitFor([&] { return windowOf(id).bounds() == QRect(300, 200, 400, 300); }));
}

TEST_F(X11AccessibilityTest, AnswersErrorsAsTheAccessibilityApiDoes)
{
    const xcb_window_t id = openFramedWindow({});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement element = windowElement(id);
    EXPECT_TRUE(ax->isProcessTrusted());
    EXPECT_TRUE(ax->isProcessTrustedWithOptions(true));

    struct Case {
        const char* name;
        AXError got;
        AXError expected;
    };
    const AXElement unknownWindow{Kind::window, ownPID(), 0x1234567};
    const AXElement wrongOwner{Kind::window, ProcessID(getppid()), WindowNumber(id)};
    const AXElement goneApplication{Kind::application, 99999999, 0};
    const Case cases[] = {
        {"unknown window", ax->copyAttributeValue(unknownWindow, AXName::title, nullptr), AXError::invalidUIElement},
        {"window of another pid", ax->copyAttributeValue(wrongOwner, AXName::title, nullptr),
         AXError::invalidUIElement},
        {"no such process", ax->copyAttributeValue(goneApplication, AXName::windows, nullptr),
         AXError::invalidUIElement},
        {"unknown attribute", ax->copyAttributeValue(element, "AXNoSuchThing", nullptr), AXError::attributeUnsupported},
        {"position as size", ax->setAttributeValue(element, AXName::position, QSizeF(1, 1)), AXError::illegalArgument},
        {"empty size", ax->setAttributeValue(element, AXName::size, QSizeF(0, 10)), AXError::illegalArgument},
        {"title is read-only", ax->setAttributeValue(element, AXName::title, "x"), AXError::attributeUnsupported},
        {"minimised as text", ax->setAttributeValue(element, AXName::minimized, "yes"), AXError::illegalArgument},
        {"press a window", ax->performAction(element, AXName::pressAction), AXError::actionUnsupported},
        {"hit test on a window", ax->copyElementAtPosition(element, QPointF(1, 1), nullptr), AXError::illegalArgument},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.name;
}

} // namespace
} // namespace vesk::platform::testing
