#include "platform/EventTapChain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vesk::platform;

namespace {

constexpr std::uint64_t keyDownMask = eventMaskBit(EventType::keyDown);

InputEvent keyDown(std::int64_t keyCode)
{
    return InputEvent::key(EventType::keyDown, keyCode, 0);
}

struct EventTapChainOrder : ::testing::Test {
    EventTapChain chain;
    std::vector<std::string> seen;

    EventTapID tap(const std::string& name, TapLocation location, TapPlacement placement,
                   TapOptions options = TapOptions::defaultFilter, bool swallow = false)
    {
        return chain.addTap(location, placement, options, keyDownMask,
                            [this, name, swallow](int, const InputEvent& event) -> std::optional<InputEvent> {
                                seen.push_back(name);
                                if (swallow)
                                    return std::nullopt;
                                return event;
                            });
    }
};

} // namespace

TEST_F(EventTapChainOrder, EventsPassTheLocationsInOrderAndHeadInsertedTapsFirstWithinOne)
{
    tap("session-early", TapLocation::session, TapPlacement::headInsert);
    tap("annotated", TapLocation::annotatedSession, TapPlacement::headInsert);
    tap("session-tail", TapLocation::session, TapPlacement::tailAppend);
    tap("hid", TapLocation::hid, TapPlacement::tailAppend);
    tap("session-late", TapLocation::session, TapPlacement::headInsert);

    chain.pass(keyDown(1));

    EXPECT_EQ(seen, (std::vector<std::string>{"hid", "session-late", "session-early", "session-tail", "annotated"}));
}

TEST_F(EventTapChainOrder, ASwallowingTapKeepsTheEventFromLaterTapsButListenOnlyTapsCannotSwallow)
{
    tap("listener", TapLocation::hid, TapPlacement::tailAppend, TapOptions::listenOnly, true);
    const EventTapID swallower =
        tap("swallower", TapLocation::session, TapPlacement::tailAppend, TapOptions::defaultFilter, true);
    tap("after", TapLocation::session, TapPlacement::tailAppend);

    const auto passage = chain.pass(keyDown(1));

    EXPECT_FALSE(passage.event);
    EXPECT_EQ(passage.swallowedBy, swallower);
    EXPECT_EQ(seen, (std::vector<std::string>{"listener", "swallower"}));
}

TEST_F(EventTapChainOrder, DisabledTapsAndTapsForOtherTypesAreSkippedAndTheMasksSayWhatIsAskedFor)
{
    const EventTapID off = tap("off", TapLocation::session, TapPlacement::tailAppend, TapOptions::defaultFilter, true);
    chain.addTap(TapLocation::session, TapPlacement::tailAppend, TapOptions::listenOnly,
                 eventMaskBit(EventType::leftMouseDown), [](int, const InputEvent& e) { return e; });
    chain.enableTap(off, false);

    EXPECT_TRUE(chain.pass(keyDown(7)).event);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(chain.swallowingMask(), 0u);
    EXPECT_EQ(chain.enabledMask(), eventMaskBit(EventType::leftMouseDown));

    EXPECT_TRUE(chain.swallowingTaps(EventType::keyDown).empty());

    chain.enableTap(off, true);
    EXPECT_EQ(chain.swallowingMask(), keyDownMask);
    chain.addTap(TapLocation::session, TapPlacement::headInsert, TapOptions::listenOnly, keyDownMask,
                 [](int, const InputEvent& e) { return e; });
    const EventTapID head = tap("head", TapLocation::session, TapPlacement::headInsert);
    EXPECT_EQ(chain.swallowingTaps(EventType::keyDown), (std::vector<EventTapID>{head, off}));
    EXPECT_TRUE(chain.swallowingTaps(EventType::leftMouseDown).empty());
}

TEST_F(EventTapChainOrder, ATapSwitchedOffHearsTheNoticeOnceAndStaysOff)
{
    std::vector<int> types;
    const EventTapID id = chain.addTap(TapLocation::session, TapPlacement::tailAppend, TapOptions::defaultFilter,
                                       keyDownMask, [&](int type, const InputEvent& e) {
                                           types.push_back(type);
                                           return e;
                                       });

    chain.notifyDisabled(id, EventType::tapDisabledByTimeout);

    EXPECT_EQ(types, std::vector<int>{EventType::tapDisabledByTimeout});
    EXPECT_FALSE(chain.isTapEnabled(id));
    EXPECT_TRUE(chain.hasTap(id));
}

TEST(EventTapChain, LocalMonitorsMaySwallowOrChangeAndGlobalMonitorsOnlyObserve)
{
    EventTapChain chain;
    int globalSeen = 0;
    chain.addLocalMonitor(keyDownMask, [](const InputEvent& event) -> std::optional<InputEvent> {
        if (event.keyCode() == 53)
            return std::nullopt;
        InputEvent changed = event;
        changed.integerFields[EventField::keyboardEventKeycode] = 2;
        return changed;
    });
    const EventMonitorID global = chain.addGlobalMonitor(keyDownMask, [&](const InputEvent&) { ++globalSeen; });

    EXPECT_FALSE(chain.passLocalMonitors(keyDown(53)));
    EXPECT_EQ(chain.passLocalMonitors(keyDown(1))->keyCode(), 2);
    chain.passGlobalMonitors(keyDown(1));
    chain.removeMonitor(global);
    chain.passGlobalMonitors(keyDown(1));
    EXPECT_EQ(globalSeen, 1);
    EXPECT_EQ(chain.monitorCount(), 1);
}
