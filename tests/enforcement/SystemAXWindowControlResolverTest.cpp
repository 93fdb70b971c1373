#include "InputEnforcementScene.h"

#include "enforcement/SystemAXWindowControlResolver.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

using Action = MouseBlockerControlAction;

struct TitleCase {
    const char* name;
    std::optional<QString> subrole;
    std::optional<QString> title;
    std::optional<Action> expected;
};

void PrintTo(const TitleCase& c, std::ostream* out)
{
    *out << c.name;
}

class MatchControlTitleTable : public ::testing::TestWithParam<TitleCase> { };

TEST_P(MatchControlTitleTable, NamesTheControlBySubroleThenTitle)
{
    const TitleCase& c = GetParam();
    EXPECT_EQ(SystemAXWindowControlResolver::matchControlTitle(c.subrole, c.title), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Words, MatchControlTitleTable,
    ::testing::Values(TitleCase{"CloseSubrole", "AXCloseButton", {}, Action::close},
                      TitleCase{"GermanCloseTitle", {}, "Schließen", Action::close},
                      TitleCase{"GermanCloseTitleInCapitals", {}, "SCHLIESSEN", Action::close},
                      TitleCase{"CloseTitleWithMoreWords", {}, "Close window", std::nullopt},
                      TitleCase{"CloseSubroleWithLongerTitle", "AXCloseButton", "Close window", Action::close},
                      TitleCase{"MinimizeSubrole", "AXMinimizeButton", {}, Action::minimize},
                      TitleCase{"BritishMinimiseSubrole", "AXMinimiseButton", {}, Action::minimize},
                      TitleCase{"GermanMinimizeTitle", {}, "Minimieren", Action::minimize},
                      TitleCase{"ZoomSubrole", "AXZoomButton", {}, Action::zoom},
                      TitleCase{"FullScreenSubrole", "AXFullScreenButton", {}, Action::zoom},
                      TitleCase{"VollbildAmongOtherWords", {}, "Vollbild aktivieren", Action::zoom},
                      TitleCase{"FullScreenInTitle", {}, "Enter Full Screen", Action::zoom},
                      TitleCase{"ZoomTitleWithMoreWords", {}, "Zoom in", std::nullopt},
                      TitleCase{"FirstRowWins", "AXCloseButton", "Zoom", Action::close},
                      TitleCase{"AWindow", "AXStandardWindow", "notes.txt", std::nullopt},
                      TitleCase{"Nothing", {}, {}, std::nullopt}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

class SystemAXWindowControlResolverTest : public test::InputEnforcementScene {
protected:
    void SetUp() override
    {
        InputEnforcementScene::SetUp();
        const PlatformInterfaces platform = desktop->interfaces();
        resolver.emplace(platform.workspace, platform.accessibility);
    }

    std::optional<Action> resolve(const QString& bundleID, QPointF quartzPoint)
    {
        return resolver->resolve(bundleID, pointFromQPointF(quartzPoint),
                                 pointFromQPointF(desktop->cocoaPoint(quartzPoint)));
    }

    std::optional<SystemAXWindowControlResolver> resolver;
};

TEST_F(SystemAXWindowControlResolverTest, NamesTheButtonUnderTheClickThroughVeskOverlay)
{
    EXPECT_EQ(resolve(editorID, editorCloseButton), Action::close);
    EXPECT_EQ(resolve(editorID, editorMinimizeButton), Action::minimize);
    EXPECT_EQ(resolve(editorID, editorZoomButton), Action::zoom);
    EXPECT_TRUE(logs.contains("Traffic-light AX resolved — bundleID=com.example.editor, action=close, "
                              "point=(110.0, 110.0)"));
    // Inside the window, off the buttons: the window and the application name nothing.
    EXPECT_EQ(resolve(editorID, QPointF(400, 150)), std::nullopt);
}

TEST_F(SystemAXWindowControlResolverTest, WalksUpFromTheElementUnderTheClick)
{
    // An application that calls itself "Zoom": a click inside its window is
    // named by the window's parent, the application.
    desktop->addRunningApplication(
        test::application("com.example.zoom", {test::windowSpec(QRectF(800, 600, 300, 200))}));
    EXPECT_EQ(resolve(QStringLiteral("com.example.zoom"), QPointF(950, 700)), Action::zoom);
}

TEST_F(SystemAXWindowControlResolverTest, FallsBackToTheSecondPointOfTheClick)
{
    const auto action = resolver->resolve(editorID, Point{5000, 5000}, Point{130, 110});
    EXPECT_EQ(action, Action::minimize);
    EXPECT_TRUE(logs.contains("Traffic-light AX resolved — bundleID=com.example.editor, action=minimize, "
                              "point=(130.0, 110.0)"));
}

TEST_F(SystemAXWindowControlResolverTest, ApplicationThatIsNotRunningNamesNothing)
{
    desktop->forceTerminate(pidOf(editorID));
    EXPECT_EQ(resolve(editorID, editorCloseButton), std::nullopt);
    EXPECT_EQ(resolve(QStringLiteral("com.example.gone"), editorCloseButton), std::nullopt);
    EXPECT_TRUE(logs.contains("Traffic-light AX resolve failed — app not running, bundleID=com.example.gone"));
}

} // namespace
