#include "DesktopTestScene.h"

#include "platform/OwnWindowSpec.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopAccessibility.h"

#include <QSizeF>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopAccessibilityTest : public DesktopTestScene {
protected:
    DesktopAccessibility& ax() { return desktop->accessibility(); }

    AXElement app(const QString& bundleID) { return ax().createApplication(pidOf(bundleID)); }

    AXElement windowElement(const QString& bundleID)
    {
        return AXElement{AXElement::Kind::window, pidOf(bundleID), firstWindowOf(bundleID)};
    }

    QVariant read(const AXElement& element, const QString& attribute)
    {
        QVariant value;
        EXPECT_EQ(ax().copyAttributeValue(element, attribute, &value), AXError::success) << attribute.toStdString();
        return value;
    }
};

TEST_F(DesktopAccessibilityTest, MinimisingThroughAccessibilityLeavesTheOnScreenListOnly)
{
    const AXElement editorWindow = windowElement("com.example.editor");
    EXPECT_EQ(ax().setAttributeValue(editorWindow, AXName::minimized, true), AXError::success);
    EXPECT_FALSE(listed(editorWindow.window, onScreen));
    EXPECT_TRUE(listed(editorWindow.window, allWindows));
    // Still an accessibility window, now read as minimised.
    const QVariantList windows = read(app("com.example.editor"), AXName::windows).toList();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0].value<AXElement>(), editorWindow);
    EXPECT_TRUE(read(editorWindow, AXName::minimized).toBool());

    EXPECT_EQ(ax().setAttributeValue(editorWindow, AXName::minimized, false), AXError::success);
    EXPECT_TRUE(listed(editorWindow.window, onScreen));
    EXPECT_EQ(listedTitles(onScreen).value(0), "notes.txt"); // comes back in front
}

TEST_F(DesktopAccessibilityTest, WindowsOnAnotherSpaceAreNotAccessibilityWindows)
{
    const ProcessID editor = pidOf("com.example.editor");
    WindowSpec elsewhere = window("other.txt", QRectF(50, 50, 400, 300));
    elsewhere.space = 1;
    desktop->addWindow(editor, elsewhere);
    EXPECT_EQ(read(app("com.example.editor"), AXName::windows).toList().size(), 1);
    desktop->switchToSpace(desktop->displays()[0].spaceIDs[1]);
    const QVariantList windows = read(app("com.example.editor"), AXName::windows).toList();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(read(windows[0].value<AXElement>(), AXName::title).toString(), "other.txt");
}

TEST_F(DesktopAccessibilityTest, PositionAndSizeMoveTheWindowInTopLeftCoordinates)
{
    const AXElement browser = windowElement("com.example.browser");
    EXPECT_EQ(read(browser, AXName::position).toPointF(), QPointF(300, 200));
    EXPECT_EQ(read(browser, AXName::size).toSizeF(), QSizeF(800, 500));
    EXPECT_EQ(ax().setAttributeValue(browser, AXName::position, QPointF(1500, 40)), AXError::success);
    EXPECT_EQ(ax().setAttributeValue(browser, AXName::size, QSizeF(1000, 700)), AXError::success);
    EXPECT_EQ(desktop->window(browser.window)->bounds, QRectF(1500, 40, 1000, 700));
    EXPECT_EQ(desktop->displayIndexOfWindow(*desktop->window(browser.window)), 1);
}

struct ErrorCase {
    const char* name;
    std::function<void(SimulatedDesktop&, ProcessID)> arrange;
    QString attribute;
    QVariant value;
    AXError expected;
};

class DesktopAccessibilityErrorTest : public DesktopAccessibilityTest,
                                      public ::testing::WithParamInterface<ErrorCase> { };

TEST_P(DesktopAccessibilityErrorTest, SettingAnAttributeAnswersThePlatformsCode)
{
    const ErrorCase& c = GetParam();
    const ProcessID editor = pidOf("com.example.editor");
    const AXElement element = windowElement("com.example.editor");
    const QRectF before = desktop->window(element.window)->bounds;
    if (c.arrange)
        c.arrange(*desktop, editor);
    EXPECT_EQ(ax().setAttributeValue(element, c.attribute, c.value), c.expected);
    if (c.expected != AXError::success && desktop->window(element.window)) {
        EXPECT_EQ(desktop->window(element.window)->bounds, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DesktopAccessibilityErrorTest,
    ::testing::Values(ErrorCase{"untrusted", [](SimulatedDesktop& d, ProcessID) { d.setAccessibilityTrusted(false); },
                                AXName::position, QPointF(1, 1), AXError::apiDisabled},
                      ErrorCase{"terminated", [](SimulatedDesktop& d, ProcessID pid) { d.forceTerminate(pid); },
                                AXName::position, QPointF(1, 1), AXError::invalidUIElement},
                      ErrorCase{"hung",
                                [](SimulatedDesktop& d, ProcessID pid) { d.setAccessibilityResponsive(pid, false); },
                                AXName::position, QPointF(1, 1), AXError::cannotComplete},
                      ErrorCase{"wrongType", nullptr, AXName::position, QString("10,10"), AXError::illegalArgument},
                      ErrorCase{"readOnly", nullptr, AXName::title, QString("x"), AXError::attributeUnsupported},
                      ErrorCase{"unknown", nullptr, "AXNoSuchThing", true, AXError::attributeUnsupported},
                      ErrorCase{"success", nullptr, AXName::position, QPointF(5, 5), AXError::success}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DesktopAccessibilityTest, RefusingWindowKeepsItsStateAndSaysCannotComplete)
{
    WindowSpec locked = window("locked", QRectF(10, 400, 300, 200));
    locked.accessibilityWritable = false;
    const ProcessID editor = pidOf("com.example.editor");
    const AXElement element{AXElement::Kind::window, editor, desktop->addWindow(editor, locked)};
    EXPECT_EQ(ax().setAttributeValue(element, AXName::minimized, true), AXError::cannotComplete);
    EXPECT_TRUE(listed(element.window, onScreen));
    QVariant close;
    ASSERT_EQ(ax().copyAttributeValue(element, AXName::closeButton, &close), AXError::success);
    EXPECT_EQ(ax().performAction(close.value<AXElement>(), AXName::pressAction), AXError::cannotComplete);
}

TEST_F(DesktopAccessibilityTest, AnInjectedRefusalAnswersAfterTheGivenSuccessesUntilCleared)
{
    const AXElement window = windowElement("com.example.editor");
    ax().refuseSetting(window, AXName::position, AXError::cannotComplete, 1);
    ax().refuseSetting(app("com.example.editor"), AXName::hidden, AXError::failure);

    EXPECT_EQ(ax().setAttributeValue(window, AXName::position, QPointF(10, 20)), AXError::success);
    EXPECT_EQ(ax().setAttributeValue(window, AXName::size, QSizeF(300, 200)), AXError::success);
    EXPECT_EQ(ax().setAttributeValue(window, AXName::position, QPointF(30, 40)), AXError::cannotComplete);
    EXPECT_EQ(desktop->window(window.window)->bounds, QRectF(10, 20, 300, 200));
    EXPECT_EQ(ax().setAttributeValue(app("com.example.editor"), AXName::hidden, true), AXError::failure);
    EXPECT_EQ(ax().setAttributeValue(app("com.example.browser"), AXName::hidden, true), AXError::success);

    ax().clearRefusals();
    EXPECT_EQ(ax().setAttributeValue(window, AXName::position, QPointF(30, 40)), AXError::success);
}

TEST_F(DesktopAccessibilityTest, TitleBarButtonsAreFoundUnderThePointAndPressed)
{
    const AXElement browser = windowElement("com.example.browser");
    const QRectF bounds = desktop->window(browser.window)->bounds;
    const AXElement application = app("com.example.browser");

    struct Hit {
        AXElement::Kind kind;
        QString subrole;
    };
    for (const Hit& hit :
         {Hit{AXElement::Kind::closeButton, "AXCloseButton"}, Hit{AXElement::Kind::minimizeButton, "AXMinimizeButton"},
          Hit{AXElement::Kind::zoomButton, "AXFullScreenButton"}}) {
        const QRectF frame = DesktopAccessibility::buttonFrame(hit.kind, bounds);
        AXElement found;
        ASSERT_EQ(ax().copyElementAtPosition(application, frame.center(), &found), AXError::success);
        EXPECT_EQ(found.kind, hit.kind);
        EXPECT_EQ(read(found, AXName::subrole).toString(), hit.subrole);
        EXPECT_EQ(read(found, AXName::parent).value<AXElement>(), browser);
        EXPECT_EQ(QRectF(read(found, AXName::position).toPointF(), read(found, AXName::size).toSizeF()), frame);
    }
    // Content of the window: the window itself; the editor's window behind: no element of the editor.
    AXElement found;
    ASSERT_EQ(ax().copyElementAtPosition(application, QPointF(600, 500), &found), AXError::success);
    EXPECT_EQ(found, browser);
    EXPECT_EQ(ax().copyElementAtPosition(app("com.example.editor"), QPointF(400, 300), &found), AXError::noValue);

    QVariant zoom;
    ASSERT_EQ(ax().copyAttributeValue(browser, AXName::zoomButton, &zoom), AXError::success);
    EXPECT_EQ(ax().performAction(zoom.value<AXElement>(), AXName::pressAction), AXError::success);
    EXPECT_TRUE(read(browser, AXName::fullScreen).toBool());
    EXPECT_EQ(desktop->window(browser.window)->bounds, QRectF(0, 0, 1440, 900));
    EXPECT_EQ(ax().setAttributeValue(browser, AXName::fullScreen, false), AXError::success);
    EXPECT_EQ(desktop->window(browser.window)->bounds, bounds);

    QVariant close;
    ASSERT_EQ(ax().copyAttributeValue(browser, AXName::closeButton, &close), AXError::success);
    EXPECT_EQ(ax().performAction(close.value<AXElement>(), AXName::pressAction), AXError::success);
    EXPECT_FALSE(desktop->window(browser.window));
    EXPECT_EQ(ax().performAction(close.value<AXElement>(), AXName::pressAction), AXError::invalidUIElement);
}

TEST_F(DesktopAccessibilityTest, HitTestGoesThroughWindowsThatLetClicksThrough)
{
    OwnWindowSpec overlay;
    overlay.level = shieldingWindowLevel() + 1;
    overlay.frame = QRectF(0, 0, 1440, 900);
    overlay.ignoresMouseEvents = true;
    desktop->addOwnWindow(overlay);
    const AXElement browser = windowElement("com.example.browser");
    const QRectF closeFrame =
        DesktopAccessibility::buttonFrame(AXElement::Kind::closeButton, desktop->window(browser.window)->bounds);
    AXElement found;
    ASSERT_EQ(ax().copyElementAtPosition(app("com.example.browser"), closeFrame.center(), &found), AXError::success);
    EXPECT_EQ(found.kind, AXElement::Kind::closeButton);

    // A window of Vesk's that takes clicks hides what lies behind it.
    overlay.ignoresMouseEvents = false;
    desktop->addOwnWindow(overlay);
    EXPECT_EQ(ax().copyElementAtPosition(app("com.example.browser"), closeFrame.center(), &found), AXError::noValue);
}

TEST_F(DesktopAccessibilityTest, ApplicationAttributesRaiseHideAndFocus)
{
    const ProcessID editor = pidOf("com.example.editor");
    const AXElement application = app("com.example.editor");
    const AXElement first = windowElement("com.example.editor");
    const WindowNumber second = desktop->addWindow(editor, window("second.txt", QRectF(10, 10, 300, 300)));
    EXPECT_EQ(read(application, AXName::mainWindow).value<AXElement>().window, second);

    EXPECT_EQ(ax().setAttributeValue(application, AXName::mainWindow, QVariant::fromValue(first)), AXError::success);
    EXPECT_EQ(read(application, AXName::focusedWindow).value<AXElement>(), first);
    EXPECT_TRUE(read(first, AXName::main).toBool());

    EXPECT_EQ(ax().setAttributeValue(application, AXName::frontmost, true), AXError::success);
    EXPECT_EQ(desktop->frontmostPID(), editor);
    EXPECT_TRUE(read(application, AXName::frontmost).toBool());

    desktop->raiseWindow(firstWindowOf("com.example.browser"));
    EXPECT_EQ(ax().performAction(first, AXName::raiseAction), AXError::success);
    EXPECT_EQ(listedTitles(onScreen).value(0), "notes.txt");
    EXPECT_EQ(ax().performAction(first, "AXShowMenu"), AXError::actionUnsupported);

    EXPECT_EQ(ax().setAttributeValue(application, AXName::hidden, true), AXError::success);
    EXPECT_TRUE(desktop->application(editor)->hidden);
    EXPECT_FALSE(listed(first.window, onScreen));
}

TEST_F(DesktopAccessibilityTest, TrustPromptIsCountedAndMayGrant)
{
    desktop->setAccessibilityTrusted(false);
    EXPECT_FALSE(ax().isProcessTrustedWithOptions(false));
    EXPECT_EQ(desktop->accessibilityPromptCount(), 0);
    EXPECT_FALSE(ax().isProcessTrustedWithOptions(true));
    EXPECT_EQ(desktop->accessibilityPromptCount(), 1);
    desktop->setGrantsPermissionsOnRequest(true);
    EXPECT_TRUE(ax().isProcessTrustedWithOptions(true));
    EXPECT_TRUE(ax().isProcessTrusted());
}

} // namespace
