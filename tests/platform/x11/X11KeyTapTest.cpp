#include "X11DesktopScene.h"

#include "LogCapture.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "enforcement/DockCommandRunning.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/EmergencyHotkeyService.h"
#include "enforcement/GestureBlockerService.h"
#include "enforcement/SpaceBlockerPolicy.h"
#include "enforcement/SpaceBlockerService.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/x11/X11Desktop.h"
#include "platform/x11/X11EventTaps.h"
#include "platform/x11/X11KeyTap.h"

#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdlib>

namespace vesk::platform::testing {
namespace {

constexpr const char* unboundTheme = "Onyx";

QString systemWindowManagerConfig()
{
    QFile file(QStringLiteral("/etc/xdg/openbox/rc.xml"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The system's configuration without the window manager's own bindings of
// these chords, and with a theme of its own that tells when it is in force.
QString configWithout(const QStringList& keys)
{
    QString config = systemWindowManagerConfig();
    for (const QString& key : keys)
        config.remove(QRegularExpression(QStringLiteral("<keybind key=\"%1\">.*?</keybind>").arg(key),
                                         QRegularExpression::DotMatchesEverythingOption));
    config.replace(QStringLiteral("<name>Clearlooks</name>"), QStringLiteral("<name>%1</name>").arg(unboundTheme));
    return config;
}

const QStringList switchingChords{"A-Tab", "A-S-Tab", "C-A-Left", "C-A-Right", "C-A-Up", "C-A-Down"};

// The theme openbox names on the root window.
QString windowManagerTheme(X11Connection& connection)
{
    xcb_connection_t* c = connection.xcb();
    const QByteArray name("_OB_THEME");
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.constData()), nullptr);
    if (!atom)
        return {};
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, connection.root(), atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr);
    std::free(atom);
    QString theme;
    if (reply)
        theme = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                  xcb_get_property_value_length(reply));
    std::free(reply);
    return theme;
}

// The Dock's settings stand for the window manager's here, as GNOME's window
// manager follows its GSettings: the session's values take openbox's
// switching chords away when it next reads its configuration (the test says
// when), the user's values give them back at once.
class WindowManagerSettings final : public DockCommandRunning {
public:
    WindowManagerSettings(X11TestServer& server, X11Connection& connection) : server_(server), connection_(connection)
    {
    }

    DockCommandResult run(const QString& executable, const QStringList& arguments) override
    {
        if (arguments.value(0) == QStringLiteral("read"))
            return {1, {}, QStringLiteral("The domain/default pair does not exist")};
        if (!executable.endsWith(QStringLiteral("killall")))
            return {0, {}, {}};
        sessionValues_ = !sessionValues_;
        if (sessionValues_)
            return {server_.setWindowManagerConfig(configWithout(switchingChords)) ? 0 : 1, {}, {}};
        const bool applied =
            server_.setWindowManagerConfig(systemWindowManagerConfig()) && server_.reconfigureWindowManager()
            && QTest::qWaitFor([&] { return windowManagerTheme(connection_) == QStringLiteral("Clearlooks"); }, 15000);
        EXPECT_TRUE(applied);
        return {applied ? 0 : 1, {}, {}};
    }

private:
    X11TestServer& server_;
    X11Connection& connection_;
    bool sessionValues_ = false;
};

// The emergency hotkey and the Space blocker (with its Dock fallback and
// gesture blocker) over the X11 desktop's taps, started and stopped in a
// session's order, and a client window in front that logs the keys it gets.
class X11KeyTapTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "Missing xdotool (scripts/deps.sh installs it)";
        ASSERT_TRUE(folder.isValid());
        desktop = X11Desktop::open(server.display(), QStringLiteral("Vesk"));
        ASSERT_TRUE(desktop);
        defaults = std::make_unique<UserDefaults>(QStringLiteral("standard"), folder.path());
    }

    void TearDown() override
    {
        spaceBlocker.reset();
        hotkey.reset();
        gestureBlocker.reset();
        dockFallback.reset();
        desktop.reset();
        X11DesktopScene::TearDown();
    }

    void buildServices(std::unique_ptr<DockCommandRunning> settings)
    {
        PlatformInterfaces platform = desktop->interfaces();
        dockFallback = std::make_unique<DockMissionControlFallbackService>(std::move(settings), *defaults);
        gestureBlocker = std::make_unique<GestureBlockerService>(scheduler, platform.eventTaps, platform.permissions,
                                                                 platform.workspace, QStringLiteral("vesk"));
        hotkey =
            std::make_unique<EmergencyHotkeyService>(scheduler, scheduler, platform.eventTaps, platform.permissions);
        spaceBlocker = std::make_unique<SpaceBlockerService>(scheduler, platform.eventTaps, platform.permissions,
                                                             *dockFallback, *gestureBlocker);
    }

    void startSession(bool hardcore)
    {
        hotkey->activate([this] { ++hotkeyTriggers; });
        spaceBlocker->activate({}, hardcore);
    }

    void stopSession()
    {
        spaceBlocker->deactivate();
        hotkey->deactivate();
    }

    // Opens the client's window and waits until it has the keyboard.
    void openFocusedWindow()
    {
        window = openWindow({"--geometry", "400x300+100+100", "--log", logPath});
        ASSERT_NE(window, XCB_WINDOW_NONE);
        ASSERT_TRUE(waitFor([&] { return cache->activeWindow() == window; }));
    }

    bool press(const QString& chord)
    {
        return server.runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), chord});
    }

    // The keys the window got for the chords, each followed by a plain key
    // that nothing grabs, so that once that arrived the chord has been decided.
    QStringList windowKeysFor(const QStringList& chords)
    {
        QStringList received;
        for (const QString& chord : chords) {
            const qsizetype before = clientKeys().size();
            EXPECT_TRUE(press(chord) && press(QStringLiteral("x")));
            const QString marker = keycodeText(0x78);
            EXPECT_TRUE(waitFor([&] { return clientKeys().mid(before).contains(marker); })) << chord.toStdString();
            received << clientKeys().mid(before);
        }
        return received;
    }

    QStringList clientKeys() const
    {
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList keys;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QStringLiteral("key ")))
                keys << line.mid(4);
        }
        return keys;
    }

    // The keycode of a keysym in its first column, as text.
    QString keycodeText(std::uint32_t keysym) const
    {
        xcb_connection_t* c = connection->xcb();
        const xcb_setup_t* setup = xcb_get_setup(c);
        xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
            c,
            xcb_get_keyboard_mapping(c, setup->min_keycode, std::uint8_t(setup->max_keycode - setup->min_keycode + 1)),
            nullptr);
        QString found;
        if (reply) {
            const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
            const int count = xcb_get_keyboard_mapping_keysyms_length(reply);
            for (int i = 0; i < count && found.isEmpty(); i += reply->keysyms_per_keycode) {
                if (keysyms[i] == keysym)
                    found = QString::number(setup->min_keycode + i / reply->keysyms_per_keycode);
            }
        }
        std::free(reply);
        return found;
    }

    QStringList grabbed() { return desktop->eventTaps().keyTap().grabbedChords(); }

    // The services' health checks, every 2 s, until the condition holds.
    bool healthChecksUntil(const std::function<bool()>& condition)
    {
        return waitFor([&] {
            scheduler.advance(2.0);
            return condition();
        });
    }

    QTemporaryDir folder;
    const QString logPath = folder.filePath(QStringLiteral("keys.log"));
    test::LogCapture logs;
    ManualScheduler scheduler;
    std::unique_ptr<X11Desktop> desktop;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<DockMissionControlFallbackService> dockFallback;
    std::unique_ptr<GestureBlockerService> gestureBlocker;
    std::unique_ptr<EmergencyHotkeyService> hotkey;
    std::unique_ptr<SpaceBlockerService> spaceBlocker;
    xcb_window_t window = XCB_WINDOW_NONE;
    int hotkeyTriggers = 0;
};

// Does nothing with the Dock's settings: the window manager keeps what it has.
class NoSettings final : public DockCommandRunning {
public:
    DockCommandResult run(const QString&, const QStringList&) override
    {
        return {1, {}, QStringLiteral("The domain/default pair does not exist")};
    }
};

constexpr std::uint32_t tabKeysym = 0xff09;
constexpr std::uint32_t rightKeysym = 0xff53;
constexpr std::uint32_t escapeKeysym = 0xff1b;

TEST_F(X11KeyTapTest, SwitchingChordsDoNothingDuringASessionAndWorkAgainAfterIt)
{
    ASSERT_TRUE(server.setWindowManagerConfig(configWithout(switchingChords)));
    ASSERT_TRUE(server.reconfigureWindowManager());
    ASSERT_TRUE(waitFor([&] { return windowManagerTheme(*connection) == QLatin1String(unboundTheme); }));
    buildServices(std::make_unique<NoSettings>());
    openFocusedWindow();
    const QString tab = keycodeText(tabKeysym);
    const QString right = keycodeText(rightKeysym);
    const QStringList chords{"alt+Tab", "alt+shift+Tab", "ctrl+alt+Right"};

    EXPECT_EQ(windowKeysFor(chords).filter(QRegularExpression("^(" + tab + "|" + right + ")$")).size(), 3);

    startSession(false);
    EXPECT_TRUE(grabbed().contains(QStringLiteral("Alt+Tab")));
    QStringList during = windowKeysFor(chords);
    // With CapsLock and NumLock on as well.
    ASSERT_TRUE(press(QStringLiteral("Caps_Lock")) && press(QStringLiteral("Num_Lock")));
    during << windowKeysFor(chords);
    ASSERT_TRUE(press(QStringLiteral("Caps_Lock")) && press(QStringLiteral("Num_Lock")));
    EXPECT_FALSE(during.contains(tab)) << during.join(u' ').toStdString();
    EXPECT_FALSE(during.contains(right)) << during.join(u' ').toStdString();
    EXPECT_EQ(cache->currentDesktop(), 0u);
    EXPECT_EQ(cache->activeWindow(), window);
    EXPECT_EQ(
        logs.messages(QStringLiteral("SpaceBlockerService")).filter(QStringLiteral("Blocked session shortcut")).size(),
        6);

    stopSession();
    EXPECT_TRUE(grabbed().isEmpty());
    EXPECT_EQ(windowKeysFor(chords).filter(QRegularExpression("^(" + tab + "|" + right + ")$")).size(), 3);
}

TEST_F(X11KeyTapTest, AChordTheWindowManagerHoldsIsLoggedOnceAndPasses)
{
    buildServices(std::make_unique<NoSettings>());
    openFocusedWindow();
    startSession(false);
    scheduler.advance(4.0); // two rounds of health checks try again
    EXPECT_FALSE(grabbed().contains(QStringLiteral("Ctrl+Alt+Right")));
    EXPECT_TRUE(grabbed().contains(QStringLiteral("Super+Shift+Escape")));
    EXPECT_EQ(logs.messages(QStringLiteral("X11KeyTap"))
                  .filter(QStringLiteral("Ctrl+Alt+Right is held by another client — it passes"))
                  .size(),
              1);

    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+Right")));
    EXPECT_TRUE(waitFor([&] { return cache->currentDesktop() == 1; }));
    stopSession();
}

// The window manager lets go of its chords only once the session's settings
// are in, after the first key tap; it takes them back when the user's settings
// return, while the emergency hotkey still has its tap.
TEST_F(X11KeyTapTest, ChordsTheWindowManagerLetsGoOfAreTakenForTheSessionAndGivenBack)
{
    buildServices(std::make_unique<WindowManagerSettings>(server, *connection));
    openFocusedWindow();
    startSession(false);
    EXPECT_FALSE(grabbed().contains(QStringLiteral("Ctrl+Alt+Right")));
    ASSERT_TRUE(server.reconfigureWindowManager());
    ASSERT_TRUE(waitFor([&] { return windowManagerTheme(*connection) == QLatin1String(unboundTheme); }));
    ASSERT_TRUE(healthChecksUntil([&] { return grabbed().contains(QStringLiteral("Ctrl+Alt+Right")); }));

    const QStringList during = windowKeysFor({"ctrl+alt+Right", "alt+Tab"});
    EXPECT_FALSE(during.contains(keycodeText(rightKeysym)));
    EXPECT_FALSE(during.contains(keycodeText(tabKeysym)));
    EXPECT_EQ(cache->currentDesktop(), 0u);

    spaceBlocker->deactivate();
    hotkey->deactivate();
    EXPECT_TRUE(grabbed().isEmpty());
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+Right")));
    EXPECT_TRUE(waitFor([&] { return cache->currentDesktop() == 1; }));
}

TEST_F(X11KeyTapTest, TheEmergencyChordEndsANormalSessionButNotAHardcoreOne)
{
    buildServices(std::make_unique<NoSettings>());
    openFocusedWindow();
    const QString escape = keycodeText(escapeKeysym);
    for (const bool hardcore : {false, true}) {
        SCOPED_TRACE(hardcore ? "hardcore" : "normal");
        hotkeyTriggers = 0;
        logs.clear();
        startSession(hardcore);
        std::vector<std::int64_t> seenElsewhere;
        const EventMonitorID monitor =
            desktop->eventTaps().addGlobalMonitor(eventMaskBit(EventType::keyDown), [&](const InputEvent& event) {
                seenElsewhere.push_back(event.keyCode());
            });

        EXPECT_FALSE(windowKeysFor({"super+shift+Escape"}).contains(escape));
        scheduler.runPending();
        EXPECT_EQ(hotkeyTriggers, hardcore ? 0 : 1);
        EXPECT_EQ(logs.messages(QStringLiteral("EmergencyHotkeyService"))
                      .filter(QStringLiteral("Emergency hotkey triggered via CGEventTap"))
                      .size(),
                  hardcore ? 0 : 1);
        EXPECT_EQ(logs.contains(QStringLiteral("Emergency exit shortcut BLOCKED")), hardcore);

        // The force-quit chord passes the taps in a normal session and reaches
        // the window untouched.
        EXPECT_EQ(windowKeysFor({"super+alt+Escape"}).contains(escape), !hardcore);
        scheduler.runPending();
        EXPECT_EQ(hotkeyTriggers, hardcore ? 0 : 1);
        // What a tap swallowed no monitor sees; the plain keys after them and
        // what passed, they do.
        const std::vector<std::int64_t> seen =
            hardcore ? std::vector<std::int64_t>{7, 7} : std::vector<std::int64_t>{7, KeyCode::escape, 7};
        EXPECT_EQ(seenElsewhere, seen);

        desktop->eventTaps().removeMonitor(monitor);
        stopSession();
    }
}

// Each chord stands for one the services act on: a hardcore session drops
// every one of them (the emergency chord among them).
TEST(X11KeyTapChordsTest, EachChordIsOneTheServicesDropInAHardcoreSession)
{
    for (const X11KeyTap::Chord& chord : X11KeyTap::chords()) {
        SCOPED_TRACE(chord.name);
        EXPECT_EQ(SpaceBlockerPolicy::shouldBlock(chord.keyCode, chord.flags, true), SpaceBlockerPolicy::Action::block);
        EXPECT_EQ(chord.name == std::string("Super+Shift+Escape"),
                  EmergencyHotkeyService::isHotkey(chord.keyCode, chord.flags));
    }
}

class X11KeyMonitorTest : public X11DesktopScene { };

class KeyCountingWindow final : public QWindow {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

// Keys that go to Vesk's windows meet the local monitors, which may swallow
// them, once each, and only while a monitor wants them.
TEST_F(X11KeyMonitorTest, LocalKeyMonitorsSeeVesksKeysOnceAndMaySwallowThem)
{
    X11EventTaps taps(*connection);
    KeyCountingWindow window;
    std::vector<InputEvent> seen;
    const EventMonitorID monitor = taps.addLocalMonitor(eventMaskBit(EventType::keyDown),
                                                        [&](const InputEvent& event) -> std::optional<InputEvent> {
                                                            seen.push_back(event);
                                                            if (event.keyCode() == KeyCode::escape)
                                                                return std::nullopt;
                                                            return event;
                                                        });
    const auto send = [&](int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(&window, &press);
    };

    send(Qt::Key_Escape, Qt::MetaModifier | Qt::ShiftModifier);
    send(Qt::Key_X, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(window.keys, 1);
    EXPECT_EQ(seen, (std::vector<InputEvent>{
                        InputEvent::key(EventType::keyDown, KeyCode::escape, EventFlag::command | EventFlag::shift),
                        InputEvent::key(EventType::keyDown, 7, EventFlag::option | EventFlag::control)}));

    taps.removeMonitor(monitor);
    send(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(window.keys, 2);
    EXPECT_EQ(seen.size(), 2u);
}

} // namespace
} // namespace vesk::platform::testing
