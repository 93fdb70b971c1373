#include "X11DesktopScene.h"
#include "core/QtScheduler.h"
#include "core/UserDefaults.h"
#include "enforcement/DesktopIsolationService.h"
#include "platform/x11/X11Desktop.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <xcb/randr.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <cstring>

namespace vesk::platform::testing {
namespace {

constexpr quint32 white = 0xFFFFFF;
constexpr quint32 black = 0x000000;

// One pixel of the root window as the screen shows it.
std::optional<quint32> rootPixel(X11Connection& connection, int x, int y)
{
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(connection.xcb(),
                            xcb_get_image(connection.xcb(), XCB_IMAGE_FORMAT_Z_PIXMAP, connection.root(), int16_t(x),
                                          int16_t(y), 1, 1, ~0u),
                            nullptr);
    if (!reply)
        return std::nullopt;
    std::optional<quint32> pixel;
    if (xcb_get_image_data_length(reply) >= 4) {
        quint32 value = 0;
        std::memcpy(&value, xcb_get_image_data(reply), 4);
        pixel = value & 0xFFFFFF;
    }
    free(reply);
    return pixel;
}

// The black desktop panels over a desktop window (a file manager's icons,
// say: white here) during a session, below the other windows; after the stop
// the desktop window shows again. Started on a test server by the test below
// under the xcb platform; skipped anywhere else.
TEST(X11DesktopIsolationTest, BlackPanelsCoverTheDesktopWindowBelowTheOtherWindows)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "Runs under the xcb platform (CoversTheDesktopWindow starts it so)";
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const auto desktop = X11Desktop::create("Vesk");
    ASSERT_TRUE(desktop);
    X11Connection& connection = desktop->connection();
    const X11WindowCache& cache = desktop->windowCache();
    QProcess desktopClient;
    QProcess otherClient;
    std::vector<xcb_window_t> ids;
    for (auto [client, arguments] :
         {std::pair{&desktopClient,
                    QStringList{"--type", "desktop", "--title", "Desktop", "--geometry", "1280x800+0+0"}},
          std::pair{&otherClient, QStringList{"--title", "other", "--geometry", "300x200+100+100"}}}) {
        client->start(VESK_X11_TEST_CLIENT, arguments);
        ASSERT_TRUE(client->waitForReadyRead(10000));
        ids.push_back(xcb_window_t(client->readLine().trimmed().toUInt()));
    }
    const auto shown = [&] {
        return std::all_of(ids.begin(), ids.end(),
                           [&](xcb_window_t id) { return cache.window(id) && cache.window(id)->mapped; });
    };
    ASSERT_TRUE(QTest::qWaitFor(shown, 10000));
    // The desktop window on each display, and the other window on the left one.
    const std::vector<QPoint> onDesktop{QPoint(500, 600), QPoint(900, 600)};
    const QPoint onOther(200, 200);
    const auto shows = [&](quint32 desktopColour, quint32 otherColour) {
        return std::all_of(onDesktop.begin(), onDesktop.end(),
                           [&](QPoint point) { return rootPixel(connection, point.x(), point.y()) == desktopColour; })
               && rootPixel(connection, onOther.x(), onOther.y()) == otherColour;
    };
    const auto seen = [&] {
        QStringList colours;
        for (const QPoint& point : onDesktop)
            colours << QStringLiteral("%1").arg(rootPixel(connection, point.x(), point.y()).value_or(1), 6, 16,
                                                QChar('0'));
        return QStringLiteral("desktop %1, other %2")
            .arg(colours.join(", "))
            .arg(rootPixel(connection, onOther.x(), onOther.y()).value_or(1), 6, 16, QChar('0'))
            .toStdString();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(white, white); }, 5000)) << seen();

    QTemporaryDir defaultsFolder;
    UserDefaults defaults("org.vesk.test", defaultsFolder.path());
    QtScheduler scheduler;
    DesktopIsolationService isolation(scheduler, desktop->screens(), desktop->screens(), desktop->ownWindows(),
                                      defaults);
    isolation.activate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(black, white); }, 5000)) << seen();
    // The other window, raised now, stays in front of the panel.
    ASSERT_TRUE(desktop->windowControl().activate(ids.back()));
    QTest::qWait(300);
    EXPECT_TRUE(shows(black, white)) << seen();

    isolation.deactivate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(white, white); }, 5000)) << seen();
    for (QProcess* client : {&desktopClient, &otherClient}) {
        client->kill();
        client->waitForFinished();
    }
}

class X11DesktopIsolationRunTest : public X11DesktopScene { };

// Two displays side by side: RandR monitors over the one screen, as Qt sees
// them. The left one holds the screen's output, which takes the place of the
// output's own monitor.
bool splitIntoTwoDisplays(X11Connection& connection, int width, int height)
{
    xcb_connection_t* c = connection.xcb();
    xcb_randr_get_monitors_reply_t* monitors =
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, connection.root(), 1), nullptr);
    const xcb_randr_monitor_info_t* own = monitors && xcb_randr_get_monitors_monitors_length(monitors) == 1
                                              ? xcb_randr_get_monitors_monitors_iterator(monitors).data
                                              : nullptr;
    const std::optional<xcb_randr_output_t> output =
        own && own->nOutput == 1 ? std::optional(*xcb_randr_monitor_info_outputs(own)) : std::nullopt;
    free(monitors);
    if (!output)
        return false;
    for (const bool left : {true, false}) {
        const char* name = left ? "VESK-LEFT" : "VESK-RGHT";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, name), nullptr);
        if (!atom)
            return false;
        struct {
            xcb_randr_monitor_info_t info;
            xcb_randr_output_t output;
        } monitor{};
        monitor.info.name = atom->atom;
        free(atom);
        monitor.info.primary = left;
        monitor.info.nOutput = left ? 1 : 0;
        monitor.info.x = std::int16_t(left ? 0 : width / 2);
        monitor.info.width = std::uint16_t(width / 2);
        monitor.info.height = std::uint16_t(height);
        monitor.info.width_in_millimeters = std::uint32_t(width / 8);
        monitor.info.height_in_millimeters = std::uint32_t(height / 4);
        monitor.output = *output;
        // Built by hand: libxcb's own SetMonitor miscounts the request's length.
        xcb_randr_set_monitor_request_t header{};
        header.window = connection.root();
        static const xcb_protocol_request_t request{2, &xcb_randr_id, XCB_RANDR_SET_MONITOR, 1};
        iovec parts[4]{{}, {}, {&header, sizeof header}, {&monitor, left ? sizeof monitor : sizeof monitor.info}};
        const xcb_void_cookie_t cookie{xcb_send_request(c, XCB_REQUEST_CHECKED, parts + 2, &request)};
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            free(error);
            return false;
        }
    }
    return true;
}

TEST_F(X11DesktopIsolationRunTest, CoversTheDesktopWindow)
{
    ASSERT_TRUE(splitIntoTwoDisplays(*connection, screenWidth, screenHeight));
    runUnderQtsConnection("X11DesktopIsolationTest.*", 1);
}

} // namespace
} // namespace vesk::platform::testing
