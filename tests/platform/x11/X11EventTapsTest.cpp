#include "platform/x11/X11EventTaps.h"

#include "LogCapture.h"
#include "enforcement/InputMonitoringProbe.h"
#include "enforcement/SessionEventTap.h"
#include "enforcement/SystemMouseBlockerEventTapInstaller.h"
#include "platform/x11/X11Permissions.h"

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

TEST(X11EventTapsTest, RefusesTapsSoTheServicesGoOnWithoutThem)
{
    vesk::test::LogCapture log;
    X11EventTaps taps;
    const auto passOn = [](int, const InputEvent& event) { return std::optional<InputEvent>(event); };
    EXPECT_FALSE(
        taps.createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter, ~0ull, passOn));
    EXPECT_FALSE(SessionEventTap::install(taps, ~0ull, passOn));
    SystemMouseBlockerEventTapInstaller mouseTaps(taps);
    EXPECT_FALSE(mouseTaps.install(passOn, ~0ull));
    EXPECT_TRUE(log.contains("fail-open, clicks not blocked"));
    // The permission is there, so the services try (and log their refusal)
    // rather than wait for a permission that never comes.
    X11Permissions permissions;
    EXPECT_TRUE(isInputMonitoringAvailable(permissions, taps));
    EXPECT_EQ(log.messages("X11EventTaps").size(), 1);
}

TEST(X11EventTapsTest, AcceptsMonitorsUnderNumbersOfTheirOwn)
{
    X11EventTaps taps;
    const EventMonitorID local = taps.addLocalMonitor(~0ull, [](const InputEvent& event) { return event; });
    const EventMonitorID global = taps.addGlobalMonitor(~0ull, [](const InputEvent&) {});
    EXPECT_NE(local, global);
    taps.removeMonitor(local);
}

} // namespace
} // namespace vesk::platform::testing
