#include "stage/StageVeskState.h"

#include <QJsonDocument>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

const StageVeskScreenID screenA{1};
const StageVeskScreenID screenB{2};
const Rect area{0, 0, 1000, 600};

QDateTime at(double seconds)
{
    return QDateTime(QDate(2026, 1, 1), QTime(10, 0), Qt::UTC).addMSecs(qint64(seconds * 1000));
}

// A state with the given applications on screen A, all open and queued, the
// first one active.
StageVeskState stateWith(const QStringList& bundleIDs)
{
    StageVeskState state;
    state.defaultScreenID = screenA;
    for (const QString& bundleID : bundleIDs) {
        state.apps.insert(StageVeskState::makeInitialAppEntry(bundleID, {}, screenA, at(0)));
        state.appOrder << bundleID;
    }
    if (!bundleIDs.isEmpty()) {
        state.activeBundleID = bundleIDs.front();
        state.activeBundleIDByScreen[screenA] = bundleIDs.front();
    }
    return state;
}

void placeAt(StageVeskState& state, const QString& bundleID, int z)
{
    state.apps.at(bundleID).position = StageVeskWindowPosition{double(z), 0, 100, 100, z};
}

std::optional<int> slotOf(const StageVeskState& state, const QString& bundleID)
{
    return state.apps.at(bundleID).slot;
}

} // namespace

TEST(StageVeskStateTest, InitialEntryTakesTheNameOrTheIdentifier)
{
    const auto [id, record] = StageVeskState::makeInitialAppEntry("com.a", {{"com.a", "Alpha"}}, screenB, at(5));
    EXPECT_EQ(id, "com.a");
    EXPECT_EQ(record.displayName, "Alpha");
    EXPECT_TRUE(record.isOpen && !record.isParked && !record.slot && !record.position);
    EXPECT_EQ(record.screenID, screenB);
    EXPECT_EQ(record.lastTouched, at(5));
    EXPECT_EQ(StageVeskState::makeInitialAppEntry("com.b", {}, std::nullopt, at(0)).second.displayName, "com.b");
    EXPECT_EQ(StageVeskState().zCounter, 10);
}

TEST(StageVeskStateTest, FreestyleOnAScreenWithoutPhaseChangesNothing)
{
    StageVeskState state = stateWith({"a", "b"});
    placeAt(state, "a", 11);
    const StageVeskState before = state;
    state.applyLayout(StageVeskPhase::freestyle, screenA, at(1), area);
    EXPECT_EQ(state, before);
    EXPECT_TRUE(state.phaseByScreen.empty());
}

TEST(StageVeskStateTest, FreestyleToSplitKeepsTheFrontMostWindows)
{
    StageVeskState state = stateWith({"z5", "z9", "z7", "other"});
    placeAt(state, "z5", 5);
    placeAt(state, "z9", 9);
    placeAt(state, "z7", 7);
    state.apps.at("other").screenID = screenB;
    placeAt(state, "other", 3);

    state.applyLayout(StageVeskPhase::split, screenA, at(2), area);

    EXPECT_EQ(state.phaseByScreen.at(screenA), StageVeskPhase::split);
    EXPECT_EQ(slotOf(state, "z7"), 0);
    EXPECT_EQ(slotOf(state, "z9"), 1);
    EXPECT_FALSE(slotOf(state, "z5"));
    for (const QString id : {"z5", "z9", "z7"})
        EXPECT_FALSE(state.apps.at(id).position) << id.toStdString();
    EXPECT_EQ(state.apps.at("z7").lastTouched, at(2));
    EXPECT_EQ(state.apps.at("z5").lastTouched, at(0));
    EXPECT_EQ(state.activeBundleIDByScreen.at(screenA), "z7");
    EXPECT_EQ(state.activeBundleID, "z7");
    EXPECT_EQ(state.queuedBundleIDs(screenA), QStringList{"z5"});
    EXPECT_TRUE(state.apps.at("other").position) << "another screen's records stay";
}

TEST(StageVeskStateTest, FreestyleToSlotsWithEqualStampsKeepsJoinOrder)
{
    StageVeskState state = stateWith({"a", "b", "c"});
    for (const QString id : {"a", "b", "c"})
        placeAt(state, id, 4);
    state.applyLayout(StageVeskPhase::split, screenA, at(1), area);
    EXPECT_FALSE(slotOf(state, "a"));
    EXPECT_EQ(slotOf(state, "b"), 0);
    EXPECT_EQ(slotOf(state, "c"), 1);
}

TEST(StageVeskStateTest, FreestyleToFocusWithoutFreeFramesPicksTheScreenSuccessor)
{
    StageVeskState state = stateWith({"gone", "queued", "elsewhere"});
    state.apps.at("gone").isOpen = false;
    state.apps.at("elsewhere").screenID = screenB;
    state.activeBundleID = "elsewhere";
    state.applyLayout(StageVeskPhase::focus, screenA, at(1), area);
    EXPECT_TRUE(state.stagedBundleIDs().empty());
    EXPECT_EQ(state.activeBundleIDByScreen.at(screenA), "queued");
    EXPECT_EQ(state.activeBundleID, "queued");

    StageVeskState empty = stateWith({"closed"});
    empty.apps.at("closed").isOpen = false;
    empty.applyLayout(StageVeskPhase::focus, screenA, at(1), area);
    EXPECT_FALSE(empty.activeBundleIDByScreen.contains(screenA));
    EXPECT_EQ(empty.activeBundleID, "closed") << "without a screen entry the stage's active stays";
}

TEST(StageVeskStateTest, QuadToSplitReseatsOnlyTheDisplacedActiveApplication)
{
    const struct {
        const char* name;
        std::vector<int> seats; // slots of a, b, c, d; -1 for none
        std::vector<int> expected;
    } cases[] = {
        // d (active, slot 3) takes the free slot 1.
        {"free slot", {0, -1, 2, 3}, {0, -1, -1, 1}},
        // Both slots held: d takes slot 0, whose holder is queued.
        {"both held", {0, 1, 2, 3}, {-1, 1, -1, 0}},
    };
    for (const auto& c : cases) {
        StageVeskState state = stateWith({"a", "b", "c", "d"});
        state.phaseByScreen[screenA] = StageVeskPhase::quad;
        const QStringList ids{"a", "b", "c", "d"};
        for (int i = 0; i < 4; ++i) {
            if (c.seats[i] >= 0)
                state.apps.at(ids[i]).slot = c.seats[i];
        }
        state.activeBundleIDByScreen[screenA] = "d";
        state.applyLayout(StageVeskPhase::split, screenA, at(3), area);
        for (int i = 0; i < 4; ++i) {
            const auto expected = c.expected[i] >= 0 ? std::optional<int>(c.expected[i]) : std::nullopt;
            EXPECT_EQ(slotOf(state, ids[i]), expected) << c.name << " " << ids[i].toStdString();
        }
        EXPECT_EQ(state.apps.at("d").lastTouched, at(3)) << c.name;
        EXPECT_EQ(state.activeBundleIDByScreen.at(screenA), "d") << c.name;
    }
}

TEST(StageVeskStateTest, GrowingALayoutDisplacesNothing)
{
    StageVeskState state = stateWith({"a", "b"});
    state.phaseByScreen[screenA] = StageVeskPhase::split;
    state.apps.at("a").slot = 0;
    state.apps.at("b").slot = 1;
    state.applyLayout(StageVeskPhase::quad, screenA, at(1), area);
    EXPECT_EQ(slotOf(state, "a"), 0);
    EXPECT_EQ(slotOf(state, "b"), 1);
}

TEST(StageVeskStateTest, SplitToFreestyleStampsTheActiveApplicationTwice)
{
    StageVeskState state = stateWith({"a", "b"});
    state.phaseByScreen[screenA] = StageVeskPhase::split;
    state.apps.at("a").slot = 0;
    state.apps.at("b").slot = 1;
    state.applyLayout(StageVeskPhase::freestyle, screenA, at(1), area);
    EXPECT_EQ(state.apps.at("a").position, (StageVeskWindowPosition{0, 0, 494, 600, 12}));
    EXPECT_EQ(state.apps.at("b").position, (StageVeskWindowPosition{506, 0, 494, 600, 13}));
    EXPECT_FALSE(slotOf(state, "a"));
    EXPECT_EQ(state.zCounter, 13);
    EXPECT_EQ(state.activeBundleID, "a");
}

TEST(StageVeskStateTest, UserFramesAreRecordedOnlyOnFreeScreens)
{
    StageVeskState state = stateWith({"a", "b"});
    state.phaseByScreen[screenB] = StageVeskPhase::tri;
    const StageVeskState before = state;
    state.recordUserFrame("b", screenB, true, at(4), {1, 2, 300, 200});
    EXPECT_EQ(state, before);

    placeAt(state, "b", 7);
    state.apps.at("b").isParked = true;
    state.recordUserFrame("b", std::nullopt, false, at(4), {1, 2, 300, 200});
    EXPECT_EQ(state.apps.at("b").position, (StageVeskWindowPosition{1, 2, 300, 200, 7})) << "keeps its z";
    EXPECT_TRUE(state.apps.at("b").isParked);
    EXPECT_EQ(state.apps.at("b").lastTouched, at(0));
    EXPECT_EQ(state.activeBundleID, "a");
    EXPECT_EQ(state.zCounter, 10);

    state.recordUserFrame("b", StageVeskScreenID{5}, true, at(4), {3, 4, 300, 200});
    const auto& b = state.apps.at("b");
    EXPECT_EQ(b.screenID, StageVeskScreenID{5});
    EXPECT_FALSE(b.isParked);
    EXPECT_EQ(b.lastTouched, at(4));
    EXPECT_EQ(state.activeBundleID, "b");
    EXPECT_EQ(state.activeBundleIDByScreen.at(StageVeskScreenID{5}), "b");

    state.recordUserFrame("a", std::nullopt, true, at(5), {0, 0, 10, 10});
    EXPECT_EQ(state.apps.at("a").position->z, 11) << "a window without a frame gets a new stamp";
}

TEST(StageVeskStateTest, QueueSavesTheFreeFrameAndPassesActivityOn)
{
    StageVeskState state = stateWith({"a", "b", "c"});
    placeAt(state, "a", 12);
    state.apps.at("b").isParked = true;
    state.apps.at("c").screenID = screenB;
    state.moveToQueue("a");
    const auto& a = state.apps.at("a");
    EXPECT_FALSE(a.position);
    EXPECT_EQ(state.savedPlacement("a"),
              (StageVeskState::SavedPlacement{StageVeskWindowPosition{12, 0, 100, 100, 12}, screenA}));
    EXPECT_EQ(state.activeBundleID, "c") << "even a queued application on another screen";
    EXPECT_FALSE(state.activeBundleIDByScreen.contains(screenA)) << "no other open, unparked app on A";
    EXPECT_EQ(state.queuedBundleIDs(), (QStringList{"a", "c"}));

    state.moveToQueue("a");
    EXPECT_TRUE(state.savedPlacement("a")) << "a queued app keeps its saved frame";
    EXPECT_FALSE(state.savedPlacement("b"));
    EXPECT_FALSE(state.savedPlacement("nobody"));
}

TEST(StageVeskStateTest, CloseReopenUnparkAndRemove)
{
    StageVeskState state = stateWith({"a", "b"});
    state.apps.at("b").isParked = true;
    placeAt(state, "a", 11);
    state.markClosed("a");
    EXPECT_FALSE(state.apps.at("a").isOpen);
    EXPECT_FALSE(state.apps.at("a").position);
    EXPECT_FALSE(state.savedPlacement("a")) << "closing saves nothing";
    EXPECT_FALSE(state.activeBundleID);
    EXPECT_FALSE(state.activeBundleIDByScreen.contains(screenA));

    state.reopen("a", at(7));
    EXPECT_TRUE(state.apps.at("a").isQueued());
    EXPECT_EQ(state.apps.at("a").lastTouched, at(7));
    EXPECT_EQ(state.activeBundleID, "a");
    EXPECT_EQ(state.activeBundleIDByScreen.at(screenA), "a");

    state.activeBundleIDByScreen[screenA] = "b";
    state.markClosed("a");
    state.reopen("a", at(8));
    EXPECT_EQ(state.activeBundleIDByScreen.at(screenA), "b") << "an existing screen entry stays";

    state.unpark("b", at(9));
    EXPECT_FALSE(state.apps.at("b").isParked);
    EXPECT_EQ(state.apps.at("b").lastTouched, at(9));

    state.activeBundleID = "b";
    state.removeApp("b");
    EXPECT_FALSE(state.apps.contains("b"));
    EXPECT_EQ(state.appOrder, QStringList{"a"});
    EXPECT_EQ(state.activeBundleID, "a");
    EXPECT_FALSE(state.activeBundleIDByScreen.contains(screenA)) << "no screen successor after a removal";

    state.appOrder << "ghost";
    state.removeApp("ghost");
    EXPECT_EQ(state.appOrder, QStringList{"a"});
}

TEST(StageVeskStateTest, StalenessIsStrictAndNeverForTheActiveApplication)
{
    StageVeskState state = stateWith({"a", "b"});
    EXPECT_FALSE(state.isStale("b", at(300), 300));
    EXPECT_TRUE(state.isStale("b", at(300.001), 300));
    EXPECT_FALSE(state.isStale("a", at(100000), 300));
    state.apps.at("b").isParked = true;
    EXPECT_FALSE(state.isStale("b", at(1000), 300));
    EXPECT_FALSE(state.isStale("nobody", at(1000), 300));
}

TEST(StageVeskStateTest, DerivedListsFollowJoinOrder)
{
    StageVeskState state = stateWith({"c", "a", "b", "d"});
    state.apps.at("a").slot = 0;
    state.apps.at("b").isParked = true;
    state.apps.at("d").isParked = true;
    state.apps.at("d").isOpen = false;
    state.apps.at("d").screenID = screenB;
    EXPECT_EQ(state.queuedBundleIDs(), QStringList{"c"});
    EXPECT_EQ(state.parkedBundleIDs(screenA), QStringList{"b"});
    EXPECT_EQ(state.parkedBundleIDs(screenB), QStringList{"d"});
    EXPECT_EQ(state.stagedBundleIDs(), std::set<QString>{"a"});
}

TEST(StageVeskStateTest, AppRecordJsonOmitsAbsentFields)
{
    const auto [id, record] = StageVeskState::makeInitialAppEntry("com.a", {{"com.a", "Alpha"}}, std::nullopt, at(1));
    const QJsonObject json = record.toJson();
    EXPECT_EQ(json.keys(), (QStringList{"bundleID", "displayName", "isOpen", "isParked", "lastTouched"}));
    EXPECT_EQ(StageVeskAppState::fromJson(json), record);

    StageVeskAppState full = record;
    full.slot = 2;
    full.position = StageVeskWindowPosition{1.5, 2, 3, 4, 12};
    full.screenID = StageVeskScreenID{4294967295u};
    full.savedPosition = StageVeskWindowPosition{5, 6, 7, 8, 9};
    full.savedScreenID = StageVeskScreenID{0};
    const QByteArray text = QJsonDocument(full.toJson()).toJson();
    EXPECT_EQ(StageVeskAppState::fromJson(QJsonDocument::fromJson(text).object()), full);

    QJsonObject missing = json;
    missing.remove("isParked");
    EXPECT_FALSE(StageVeskAppState::fromJson(missing));
    QJsonObject badPosition = full.toJson();
    badPosition.insert("position", QJsonObject{{"x", 1}, {"y", 2}, {"width", 3}, {"height", 4}});
    EXPECT_FALSE(StageVeskAppState::fromJson(badPosition));
}
