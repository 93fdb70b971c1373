#include "platform/x11/DesktopChoice.h"

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

TEST(DesktopChoiceTest, TheRealDesktopOnlyOnAnX11DisplayWithAnEwmhWindowManagerUnlessSimulatedIsAsked)
{
    using Kind = DesktopChoice::Kind;
    struct Case {
        const char* name;
        bool scenario;
        bool simulatedAsked;
        QString platform;
        QString waylandDisplay;
        QString sessionType;
        bool ewmh;
        Kind kind;
        bool notice;
        bool asksWindowManager;
    };
    const Case cases[] = {
        {"X11 session with openbox", false, false, "xcb", "", "x11", true, Kind::x11, false, true},
        {"X11 without session type", false, false, "xcb", "", "", true, Kind::x11, false, true},
        {"Xvfb without window manager", false, false, "xcb", "", "", false, Kind::simulated, false, true},
        {"scenario on a real desktop", true, false, "xcb", "", "x11", true, Kind::simulated, false, false},
        {"--simulated on a real desktop", false, true, "xcb", "", "x11", true, Kind::simulated, false, false},
        {"offscreen", false, false, "offscreen", "", "", true, Kind::simulated, false, false},
        {"Wayland through XWayland", false, false, "xcb", "wayland-0", "wayland", true, Kind::simulated, true, false},
        {"Wayland session type only", false, false, "xcb", "", "Wayland", true, Kind::simulated, true, false},
        {"Wayland platform", false, false, "wayland", "wayland-0", "", false, Kind::simulated, true, false},
        {"--simulated on Wayland", false, true, "xcb", "wayland-0", "wayland", true, Kind::simulated, false, false},
        {"scenario on Wayland", true, false, "wayland", "wayland-0", "wayland", false, Kind::simulated, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int asked = 0;
        const DesktopChoice choice =
            DesktopChoice::choose({c.scenario, c.simulatedAsked, c.platform, c.waylandDisplay, c.sessionType, [&] {
                                       ++asked;
                                       return c.ewmh;
                                   }});
        EXPECT_EQ(choice.kind, c.kind);
        EXPECT_EQ(!choice.notice.isEmpty(), c.notice);
        EXPECT_FALSE(choice.reason.isEmpty());
        EXPECT_EQ(asked, c.asksWindowManager ? 1 : 0);
    }
}

} // namespace
} // namespace vesk::platform::testing
