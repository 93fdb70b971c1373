#include "QtPrinters.h"
#include "X11DesktopScene.h"
#include "app/MainWindow.h"
#include "app/SessionManagerComposition.h"
#include "app/VeskApp.h"
#include "core/ManualScheduler.h"
#include "overlay/PassthroughRects.h"
#include "platform/x11/X11Desktop.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "stage/StageVeskPhase.h"
#include "stage/StageVeskScreenID.h"
#include "stage/StageVeskService.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>

namespace vesk::platform::testing {
namespace {

// The folder the test below hands the session run: the XDG data home with the
// two applications' entries, the store, the settings and the GSettings key file.
const char* const sessionRootVariable = "VESK_X11_SESSION_ROOT";

const QString editorID = QStringLiteral("org.vesk.e2e.Editor");
const QString chatID = QStringLiteral("org.vesk.e2e.Chat");
constexpr QRgb editorColour = 0x30c040;
constexpr QRgb chatColour = 0xc03030;
constexpr QRgb rootColour = 0x2060a0;

// A GNOME window-manager key the session blocks and gives back at its stop.
const QStringList switchApplicationsKey = {QStringLiteral("org.gnome.desktop.wm.keybindings"),
                                           QStringLiteral("switch-applications")};

QString colourText(QRgb colour)
{
    return QStringLiteral("%1").arg(colour & 0xffffff, 6, 16, QLatin1Char('0'));
}

QByteArray clientExec(const QString& className, const QString& title, const QString& geometry, QRgb colour)
{
    return QStringLiteral("Exec=\"%1\" --class %2,%3 --title %4 --geometry %5 --background %6\n")
        .arg(QStringLiteral(VESK_X11_TEST_CLIENT), className.toLower(), className, title, geometry, colourText(colour))
        .toUtf8();
}

void writeEntry(const QString& dataHome, const QString& id, const QString& name, const QString& className,
                const QByteArray& exec)
{
    QDir().mkpath(dataHome + QStringLiteral("/applications"));
    QFile file(dataHome + QStringLiteral("/applications/") + id + QStringLiteral(".desktop"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nStartupWMClass=" + className.toUtf8()
               + "\n" + exec);
}

// The root window as the screen shows it, read over a connection of the test's own.
class RootScreen {
public:
    RootScreen() : connection_(xcb_connect(nullptr, nullptr))
    {
        if (!xcb_connection_has_error(connection_))
            screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
    ~RootScreen() { xcb_disconnect(connection_); }
    RootScreen(const RootScreen&) = delete;
    RootScreen& operator=(const RootScreen&) = delete;

    bool isOpen() const { return screen_ != nullptr; }

    // The colour the root window shows where no window covers it.
    void paintBackground(QRgb colour)
    {
        const std::uint32_t pixel = colour & 0xffffff;
        xcb_change_window_attributes(connection_, screen_->root, XCB_CW_BACK_PIXEL, &pixel);
        xcb_clear_area(connection_, 0, screen_->root, 0, 0, 0, 0);
        syncWithServer();
    }

    QImage grab()
    {
        xcb_get_image_reply_t* reply =
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root, 0, 0,
                                              screen_->width_in_pixels, screen_->height_in_pixels, ~0u),
                                nullptr);
        if (!reply)
            return {};
        QImage image(xcb_get_image_data(reply), screen_->width_in_pixels, screen_->height_in_pixels,
                     QImage::Format_RGB32);
        QImage copy = image.copy();
        std::free(reply);
        return copy;
    }

private:
    void syncWithServer()
    {
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
};

std::string rectText(const QRect& rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height()).toStdString();
}

QString gsettingsValue(const QStringList& key)
{
    QProcess tool;
    tool.start(QStringLiteral("gsettings"), QStringList{QStringLiteral("get")} + key);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// A session of the whole application, composed as the program composes it,
// on the X11 desktop of a real X server: started by the test below under the
// xcb platform on its test server, skipped anywhere else.
class X11SessionRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")
            || qEnvironmentVariableIsEmpty(sessionRootVariable))
            GTEST_SKIP() << "Runs under the xcb platform on a test server (X11SessionEndToEndTest starts it so)";
        root = QDir(qEnvironmentVariable(sessionRootVariable));
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        writeEntry(dataHome, editorID, QStringLiteral("Editor"), QStringLiteral("VeskE2EEditor"),
                   clientExec(QStringLiteral("VeskE2EEditor"), QStringLiteral("Editor"),
                              QStringLiteral("400x300+60+60"), editorColour));
        writeEntry(dataHome, chatID, QStringLiteral("Chat"), QStringLiteral("VeskE2EChat"),
                   clientExec(QStringLiteral("VeskE2EChat"), QStringLiteral("Chat"), QStringLiteral("480x360+720+260"),
                              chatColour));
        screen.emplace();
        ASSERT_TRUE(screen->isOpen());
        screen->paintBackground(rootColour);

        // The chat runs before the session; the session launches the editor from its entry.
        chat.start(QStringLiteral(VESK_X11_TEST_CLIENT),
                   {"--class", "veske2echat,VeskE2EChat", "--title", "Chat", "--geometry", "480x360+720+260",
                    "--background", colourText(chatColour)});
        ASSERT_TRUE(chat.waitForReadyRead(10000));
        chatWindow = chat.readLine().trimmed().toUInt();

        desktop = X11Desktop::create(QStringLiteral("Vesk"));
        ASSERT_TRUE(desktop) << "no X11 desktop on " << qgetenv("DISPLAY").constData();
        ASSERT_TRUE(runUntil([&] {
            const X11ManagedWindow* window = desktop->windowCache().window(chatWindow);
            return window && window->mapped;
        }));

        app = std::make_unique<VeskApp>(VeskAppEnvironment{desktop->interfaces(), scheduler, scheduler,
                                                           std::make_shared<SchedulerSessionTimerFactory>(scheduler),
                                                           root.filePath(QStringLiteral("VeskData.store")),
                                                           root.filePath(QStringLiteral("defaults")),
                                                           [](int) { FAIL() << "the store opens"; }});
        ASSERT_TRUE(app->isReady());
        app->launch();
    }

    void TearDown() override
    {
        app.reset();
        if (const X11ManagedWindow* editor = editorWindow(); editor && editor->pid)
            ::kill(pid_t(*editor->pid), SIGTERM);
        desktop.reset();
        chat.kill();
        chat.waitForFinished();
    }

    // Turns of the event loop, each with a frame of the session's time, until
    // the condition holds (bounded).
    bool runUntil(const std::function<bool()>& condition, int timeoutMs = 20000)
    {
        return QTest::qWaitFor(
            [&] {
                scheduler.advance(1.0 / 60);
                return condition();
            },
            timeoutMs);
    }

    const X11ManagedWindow* editorWindow() const
    {
        if (!desktop)
            return nullptr;
        for (const X11ManagedWindow& window : desktop->windowCache().windows()) {
            if (window.className == QStringLiteral("VeskE2EEditor"))
                return &window;
        }
        return nullptr;
    }

    // Vesk's shown windows but the full-screen black ones (overlay, backing,
    // desktop panels), in root pixels (one display at scale 1).
    static std::vector<QRect> veskPanels()
    {
        std::vector<QRect> panels;
        const QRect screenRect = QGuiApplication::primaryScreen()->geometry();
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->isVisible() && window->frameGeometry() != screenRect)
                panels.push_back(window->frameGeometry());
        }
        return panels;
    }

    // Pixels outside Vesk's panels, inside `inside` (shrunk by a margin for
    // the hole's rounded edges) and outside `outside` (grown by it), that do
    // not show the expected colours, and where they lie; none when the screen
    // is as expected.
    struct WrongPixels {
        int count = 0;
        QRect where;
        std::string samples;
        std::string text() const
        {
            return std::to_string(count) + " pixels differ, within " + rectText(where) + ":" + samples;
        }
    };
    static WrongPixels wrongPixels(const QImage& image, const QRect& inside, QRgb insideColour, const QRect& outside,
                                   QRgb outsideColour)
    {
        if (image.isNull())
            return {-1, {}, {}};
        const std::vector<QRect> panels = veskPanels();
        const QRect core = inside.adjusted(2, 2, -2, -2);
        const QRect around = outside.adjusted(-2, -2, 2, 2);
        WrongPixels wrong;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QPoint point(x, y);
                if (std::any_of(panels.begin(), panels.end(),
                                [&](const QRect& panel) { return panel.contains(point); }))
                    continue;
                const QRgb colour = line[x] & 0xffffff;
                const bool expected = core.contains(point)      ? colour == insideColour
                                      : !around.contains(point) ? colour == outsideColour
                                                                : true;
                if (!expected) {
                    if (wrong.count < 8)
                        wrong.samples +=
                            QStringLiteral(" %1,%2=%3").arg(x).arg(y).arg(colourText(colour)).toStdString();
                    ++wrong.count;
                    wrong.where |= QRect(point, QSize(1, 1));
                }
            }
        }
        return wrong;
    }

    void keepScreenshot(const QImage& image, const QString& name) const
    {
        QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
        image.save(QStringLiteral(VESK_GALLERY_DIR "/") + name + QStringLiteral(".png"));
    }

    QDir root;
    std::optional<RootScreen> screen;
    QProcess chat;
    xcb_window_t chatWindow = XCB_WINDOW_NONE;
    ManualScheduler scheduler;
    std::unique_ptr<X11Desktop> desktop;
    std::unique_ptr<VeskApp> app;
};

TEST_F(X11SessionRun, HidesTheOtherAppShowsTheAllowedOneThroughTheOverlayPlacesItAndLeavesItAllAtTheStop)
{
    // Without gsettings or the desktop schemas the key reads as nothing and is not checked.
    const QString switchApplications = gsettingsValue(switchApplicationsKey);
    const bool hasSettings = !switchApplications.isEmpty();
    SessionManager& session = app->sessionManager();
    const std::optional<QUrl> editorURL = desktop->workspace().urlForApplication(editorID);
    ASSERT_TRUE(editorURL);
    session.startSession(3600, {editorID}, {{editorID, *editorURL}}, QStringLiteral("Write"), false, 0);

    // The session launches the editor from its entry and hides the chat.
    ASSERT_TRUE(runUntil([&] { return session.isSessionActive() && editorWindow() && editorWindow()->mapped; }));
    ASSERT_TRUE(runUntil([&] {
        const X11ManagedWindow* chatState = desktop->windowCache().window(chatWindow);
        return chatState && chatState->hidden && !chatState->mapped;
    }));

    // Chosen as the top bar's "2" does, the split layout puts the editor's
    // window (its frame) in its slot's frame of the screen's stage area.
    StageVeskService& stage = app->composition().stage();
    const StageVeskScreenID screenID = stage.anchorScreenID();
    stage.setPhase(StageVeskPhase::split, screenID);
    const StageVeskAppState* editorState = stage.state().app(editorID);
    ASSERT_TRUE(editorState && editorState->slot);
    const Rect slot = slotFrame(StageVeskPhase::split, *editorState->slot,
                                StageVeskScreenID::defaultWindowFrame(desktop->screens(), screenID));
    const double screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    const QRect expectedFrame =
        QRectF(slot.x, screenHeight - slot.y - slot.height, slot.width, slot.height).toAlignedRect();
    auto nearlyEqual = [](const QRect& a, const QRect& b) {
        return std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1
               && std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
    };
    const bool placed = runUntil([&] { return nearlyEqual(editorWindow()->bounds(), expectedFrame); });
    ASSERT_TRUE(placed) << "window " << rectText(editorWindow()->bounds()) << ", slot " << rectText(expectedFrame);
    const QRect editorFrame = editorWindow()->bounds();
    const QRect editorClient = editorWindow()->clientGeometry;

    // The overlay is black over everything but the editor, which shows in
    // its hole (the window's frame less the holes' inset).
    const int inset = int(kPassthroughHoleInset);
    const QRect hole = editorFrame.marginsRemoved(QMargins(inset, inset, inset, inset));
    QImage shot;
    const bool overlaid = runUntil([&] {
        shot = screen->grab();
        return wrongPixels(shot, editorClient & hole, editorColour, hole, 0x000000).count == 0;
    });
    keepScreenshot(shot, QStringLiteral("x11-session"));
    EXPECT_TRUE(overlaid) << wrongPixels(shot, editorClient & hole, editorColour, hole, 0x000000).text()
                          << " (gallery: x11-session.png)";
    if (hasSettings) {
        EXPECT_EQ(gsettingsValue(switchApplicationsKey), QStringLiteral("@as []"));
    }

    session.confirmManualExit(SessionExitAppDisposition::leaveOpen);
    ASSERT_TRUE(runUntil([&] { return !session.isSessionActive(); }));

    // After the stop the overlay, the desktop panels and the stage bars are
    // gone and the main window is back: the root shows around the editor and
    // the main window; the editor stays where the stage put it, the chat stays hidden.
    auto onlyTheMainWindowShows = [&] {
        const std::vector<QRect> shown = veskPanels();
        return shown.size() == 1 && shown.front() == app->mainWindow()->frameGeometry();
    };
    const bool uncovered = runUntil([&] {
        shot = screen->grab();
        return onlyTheMainWindowShows()
               && wrongPixels(shot, editorClient, editorColour, editorFrame, rootColour).count == 0;
    });
    keepScreenshot(shot, QStringLiteral("x11-session-stopped"));
    EXPECT_TRUE(onlyTheMainWindowShows()) << veskPanels().size() << " of Vesk's windows show";
    EXPECT_TRUE(uncovered) << wrongPixels(shot, editorClient, editorColour, editorFrame, rootColour).text()
                           << " (gallery: x11-session-stopped.png)";
    EXPECT_FALSE(app->composition().stage().isActive());
    EXPECT_EQ(editorWindow()->bounds(), editorFrame);
    EXPECT_TRUE(desktop->windowCache().window(chatWindow)->hidden);
    EXPECT_EQ(chat.state(), QProcess::Running);
    ASSERT_TRUE(editorWindow()->pid);
    EXPECT_EQ(::kill(pid_t(*editorWindow()->pid), 0), 0) << "the editor was left open";
    if (hasSettings) {
        EXPECT_EQ(gsettingsValue(switchApplicationsKey), switchApplications);
    }
}

class X11SessionEndToEndTest : public X11DesktopScene { };

TEST_F(X11SessionEndToEndTest, RunsASessionOfTheApplicationOnTheTestServer)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), server.display());
    environment.insert(QString::fromLatin1(sessionRootVariable), folder.path());
    environment.insert(QStringLiteral("HOME"), folder.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), folder.filePath(QStringLiteral("system")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    // The desktop's settings go to a key file in the folder, with the system's schemas.
    environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    environment.insert(QStringLiteral("GSETTINGS_SCHEMA_DIR"), QStringLiteral("/usr/share/glib-2.0/schemas"));
    environment.insert(QStringLiteral("VESK_LOGS_DIR"), folder.filePath(QStringLiteral("logs")));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=X11SessionRun.*"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace
} // namespace vesk::platform::testing
