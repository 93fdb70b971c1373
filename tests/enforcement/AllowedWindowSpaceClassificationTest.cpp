#include "enforcement/AllowedWindowSpaceClassification.h"
#include "DesktopSpecs.h"
#include "QtPrinters.h"
#include "enforcement/SystemAXWindowManager.h"
#include "enforcement/SystemWorkspace.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/simulated/DesktopAccessibility.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

using namespace vesk;
using State = AllowedWindowSpaceState;

namespace {

const QString finder = QStringLiteral("com.apple.finder");
const QString editor = QStringLiteral("com.example.editor");

AllowedWindowSnapshot snapshot(QString bundleID, Rect bounds, int layer = 0, double alpha = 1.0,
                               std::optional<quint32> number = 7)
{
    return AllowedWindowSnapshot{std::move(bundleID), layer, bounds, number, alpha, std::nullopt};
}

// Two displays side by side: 1440 × 900 and 1920 × 1080 to its right.
DisplayGeometry twoDisplays()
{
    return DisplayGeometry(
        {{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}}, {Rect{1440, -180, 1920, 1080}, Rect{1440, 0, 1920, 1080}}});
}

struct CountableCase {
    const char* name;
    AllowedWindowSnapshot window;
    bool withGeometry;
    bool counts;
};

void PrintTo(const CountableCase& c, std::ostream* out)
{
    *out << c.name;
}

class CountableWindowTable : public ::testing::TestWithParam<CountableCase> { };

TEST_P(CountableWindowTable, KeepsOnlyRealWindowsOfTheApplication)
{
    const CountableCase& c = GetParam();
    const std::optional<DisplayGeometry> geometry = c.withGeometry ? std::optional(twoDisplays()) : std::nullopt;
    const auto kept = AllowedWindowSpaceClassification::countableWindows({c.window}, c.window.bundleID, geometry);
    EXPECT_EQ(kept.size(), c.counts ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Filter, CountableWindowTable,
    ::testing::Values(
        CountableCase{"OrdinaryWindow", snapshot(editor, Rect{100, 100, 600, 400}), true, true},
        CountableCase{"NarrowAt24", snapshot(editor, Rect{100, 100, 24, 300}), true, false},
        CountableCase{"LowAt24", snapshot(editor, Rect{100, 100, 300, 24}), true, false},
        CountableCase{"JustLargeEnough", snapshot(editor, Rect{100, 100, 25, 25}), true, true},
        CountableCase{"LayerThree", snapshot(editor, Rect{100, 100, 600, 400}, 3), true, false},
        CountableCase{"AlphaAtOneHundredth", snapshot(editor, Rect{100, 100, 600, 400}, 0, 0.01), true, false},
        CountableCase{"FaintButVisible", snapshot(editor, Rect{100, 100, 600, 400}, 0, 0.02), true, true},
        CountableCase{"EditorAsLargeAsADisplay", snapshot(editor, Rect{0, 0, 1440, 900}), true, true},
        CountableCase{"FinderDesktopOfTheFirstDisplay", snapshot(finder, Rect{10, 20, 1420, 880}), true, false},
        CountableCase{"FinderDesktopOfTheSecondDisplay", snapshot(finder, Rect{1440, 0, 1920, 1080}), true, false},
        CountableCase{"FinderSpanningTheDesktopHeight", snapshot(finder, Rect{0, 0, 3360, 1080}), true, false},
        CountableCase{"FinderFullHeightButNarrow", snapshot(finder, Rect{500, 10, 800, 1070}), true, false},
        CountableCase{"FinderBrowserWindow", snapshot(finder, Rect{200, 100, 800, 500}), true, true},
        CountableCase{"FinderDesktopWithoutDisplays", snapshot(finder, Rect{0, 0, 1440, 900}), false, true}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(AllowedWindowSpaceClassificationTest, CountableWindowsAreTheApplicationsOwnInTheirOrder)
{
    const std::vector<AllowedWindowSnapshot> windows{snapshot(editor, Rect{0, 0, 300, 300}, 0, 1, 3),
                                                     snapshot("x", Rect{0, 0, 300, 300}),
                                                     snapshot(editor, Rect{0, 0, 300, 300}, 0, 1, 1)};
    const auto kept = AllowedWindowSpaceClassification::countableWindows(windows, editor, std::nullopt);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].windowID, 3u);
    EXPECT_EQ(kept[1].windowID, 1u);
}

TEST(AllowedWindowSpaceClassificationTest, StatesReadBackFromTheirRawText)
{
    for (State state : allCases<State>())
        EXPECT_EQ(fromRaw<State>(toRaw(state)), state);
    EXPECT_EQ(fromRaw<State>("OnActiveSpace"), std::nullopt);
}

// A running application as the sources report it.
class ListedApplication final : public RunningApplicationControlling {
public:
    explicit ListedApplication(bool hidden) : hidden_(hidden) { }
    std::optional<QString> bundleIdentifier() const override { return editor; }
    qint32 processIdentifier() const override { return 1; }
    bool isTerminated() const override { return false; }
    ApplicationActivationPolicy activationPolicy() const override { return ApplicationActivationPolicy::regular; }
    bool isHidden() const override { return hidden_; }
    bool activate(ApplicationActivationOptions) override { return false; }
    bool hide() override { return false; }
    bool unhide() override { return false; }
    bool terminate() override { return false; }

private:
    bool hidden_;
};

struct ClassifyCase {
    const char* name;
    bool running;
    bool hidden;
    int onScreen;
    int elsewhere;
    AXWindowManaging::WindowCounts counts;
    AllowedWindowSpaceClassification expected;
};

void PrintTo(const ClassifyCase& c, std::ostream* out)
{
    *out << c.name;
}

class ClassifyTable : public ::testing::TestWithParam<ClassifyCase> { };

TEST_P(ClassifyTable, DecidesFromAllInputsAndCarriesTheAccessibilityCounts)
{
    const ClassifyCase& c = GetParam();
    std::vector<AllowedWindowSnapshot> onScreen(c.onScreen, snapshot(editor, Rect{100, 100, 600, 400}));
    std::vector<AllowedWindowSnapshot> all = onScreen;
    all.insert(all.end(), c.elsewhere, snapshot(editor, Rect{200, 100, 600, 400}));
    const AllowedWindowSpaceClassification::Sources sources{
        .runningApplication = [&](const QString&) -> std::shared_ptr<RunningApplicationControlling> {
            return c.running ? std::make_shared<ListedApplication>(c.hidden) : nullptr;
        },
        .onScreenWindowSnapshots = [&] { return onScreen; },
        .allWindowSnapshots = [&] { return all; },
        .minimizedWindowCounts = [&](const QString&) { return c.counts; },
        .displayGeometry = [] { return std::optional(twoDisplays()); },
    };
    AllowedWindowSpaceClassification expected = c.expected;
    expected.bundleID = editor;
    EXPECT_EQ(AllowedWindowSpaceClassification::classify(editor, sources), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ClassifyTable,
    ::testing::Values(
        ClassifyCase{"NotRunning", false, false, 1, 1, {1, 2}, {{}, State::notRunning, 0, 0, 1, 2}},
        ClassifyCase{"HiddenWhateverItsWindows", true, true, 2, 0, {0, 2}, {{}, State::hidden, 0, 0, 0, 2}},
        ClassifyCase{"OnScreen", true, false, 1, 2, {1, 2}, {{}, State::onActiveSpace, 1, 3, 1, 2}},
        ClassifyCase{"AllMinimized", true, false, 0, 2, {2, 2}, {{}, State::minimized, 0, 2, 2, 2}},
        ClassifyCase{"OneNotMinimized", true, false, 0, 2, {1, 2}, {{}, State::onOtherSpace, 0, 2, 1, 2}},
        ClassifyCase{"NoAccessibilityWindows", true, false, 0, 1, {0, 0}, {{}, State::onOtherSpace, 0, 1, 0, 0}},
        ClassifyCase{"NoWindows", true, false, 0, 0, {0, 0}, {{}, State::noWindows, 0, 0, 0, 0}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// The rule over the simulated desktop: its window lists, its workspace and
// the window manager's Accessibility counts.
class DesktopClassificationTest : public platform::testing::DesktopTestScene {
protected:
    AllowedWindowSpaceClassification classify(const QString& bundleID)
    {
        const SystemWorkspace workspace(desktop->workspace());
        const WindowSnapshotReader reader(desktop->interfaces().windowList, test::bundleIdentifierLookup(*desktop));
        SystemAXWindowManager manager(desktop->workspace(), desktop->accessibility(), desktop->interfaces().screens);
        const AllowedWindowSpaceClassification::Sources sources{
            .runningApplication = [&](const QString& id) -> std::shared_ptr<RunningApplicationControlling> {
                for (const auto& app : workspace.runningApplications()) {
                    if (app->bundleIdentifier() == id && !app->isTerminated())
                        return app;
                }
                return nullptr;
            },
            .onScreenWindowSnapshots = [&] { return reader.copyOnScreenWindowSnapshots(); },
            .allWindowSnapshots = [&] { return reader.copyAllWindowSnapshots(); },
            .minimizedWindowCounts = [&](const QString& id) { return manager.minimizedWindowCounts(id); },
            .displayGeometry = [&] { return DisplayGeometry::current(desktop->interfaces().screens); },
        };
        return AllowedWindowSpaceClassification::classify(bundleID, sources);
    }
};

TEST_F(DesktopClassificationTest, FollowsTheWindowsAcrossMinimizingSpacesAndHiding)
{
    const platform::WindowNumber notes = firstWindowOf(editor);
    EXPECT_EQ(classify(editor).state, State::onActiveSpace);

    desktop->setWindowMinimized(notes, true);
    EXPECT_EQ(classify(editor), (AllowedWindowSpaceClassification{editor, State::minimized, 0, 1, 1, 1}));

    desktop->setWindowMinimized(notes, false);
    desktop->moveWindowToSpace(notes, desktop->displays()[0].spaceIDs[1]);
    EXPECT_EQ(classify(editor), (AllowedWindowSpaceClassification{editor, State::onOtherSpace, 0, 1, 0, 0}))
        << "a window on another Space is not among the Accessibility windows";

    desktop->hide(pidOf(editor));
    EXPECT_EQ(classify(editor).state, State::hidden);
    EXPECT_EQ(classify(finder).state, State::noWindows) << "the desktop is not a Finder window";
    desktop->terminate(pidOf(editor));
    EXPECT_EQ(classify(editor).state, State::notRunning);
}

} // namespace
