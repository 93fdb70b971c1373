#include "enforcement/DesktopIsolationService.h"

#include "LogCapture.h"
#include "core/UserDefaults.h"
#include "enforcement/BlackDesktopPanel.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopTestScene.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace vesk;
using namespace vesk::platform;

namespace {

// Two displays (1440 × 900 and, to its right, 1920 × 1080), an editor and a
// browser on the first.
class DesktopIsolationServiceTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopTestScene::SetUp();
        ASSERT_TRUE(folder.isValid());
        defaults = std::make_unique<UserDefaults>(QStringLiteral("standard"), folder.path());
        const PlatformInterfaces platform = desktop->interfaces();
        isolation = std::make_unique<DesktopIsolationService>(scheduler, platform.screens, platform.screenChanges,
                                                              platform.ownWindows, *defaults);
    }

    QStringList isolationLog() const { return logs.messages(QStringLiteral("DesktopIsolationService")); }
    QStringList panelLog() const { return logs.messages(QStringLiteral("BlackDesktopPanel")); }
    // The level of the last "Emergency desktop isolation restore requested".
    std::optional<QtMsgType> restoreRequestLevel() const
    {
        std::optional<QtMsgType> level;
        for (const test::LogCapture::Entry& entry : logs.entries()) {
            if (entry.message == QStringLiteral("Emergency desktop isolation restore requested"))
                level = entry.type;
        }
        return level;
    }

    // The frames (bottom-left) of Vesk's black desktop panels in the window list, left to right.
    std::vector<QRectF> listedPanelFrames() const
    {
        std::vector<QRectF> frames;
        for (const OwnWindowInfo& window : desktop->ownWindows()) {
            if (window.level == BlackDesktopPanel::windowLevel() && window.visible)
                frames.push_back(window.frame);
        }
        std::sort(frames.begin(), frames.end(), [](const QRectF& a, const QRectF& b) { return a.x() < b.x(); });
        return frames;
    }

    void setLegacyBackup(const QByteArray& json)
    {
        defaults->setData(DesktopIsolationService::legacyWallpaperBackupKey, json);
    }

    QTemporaryDir folder;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<DesktopIsolationService> isolation;
    test::LogCapture logs;
};

TEST_F(DesktopIsolationServiceTest, EveryDesktopGetsABlackPanelBehindTheWindows)
{
    isolation->activate();
    ASSERT_EQ(isolation->panels().size(), 2u);
    EXPECT_EQ(listedPanelFrames(), (std::vector<QRectF>{desktop->displays()[0].frame, desktop->displays()[1].frame}));
    EXPECT_EQ(BlackDesktopPanel::windowLevel(), windowLevelForKey(WindowLevelKey::desktopIcon));
    EXPECT_EQ(isolationLog(),
              (QStringList{"Activating desktop isolation for 2 screen(s)", "Desktop isolation active — panels=2"}));
    EXPECT_EQ(panelLog(), (QStringList{"BlackDesktopPanel created for screen: Display 1",
                                       "Black desktop panel shown on screen: Display 1",
                                       "BlackDesktopPanel created for screen: Display 2",
                                       "Black desktop panel shown on screen: Display 2"}));

    // Windows stay in front; the desktop picture is hidden; clicks reach the desktop below.
    const QImage first = desktop->interfaces().screenCapture.capture(0);
    first.save(QDir(QCoreApplication::applicationDirPath()).filePath("desktop-isolation-display-1.png"));
    EXPECT_EQ(first.pixel(1400, 880), QColor(Qt::black).rgb());
    EXPECT_EQ(first.pixel(1200, 30), QColor(Qt::black).rgb());
    EXPECT_EQ(first.pixel(200, 300), DesktopScreenCapturer::windowColour("com.example.editor").rgb());
    const DesktopWindow* underPointer = desktop->windowAt(QPointF(1400, 880));
    ASSERT_TRUE(underPointer);
    EXPECT_EQ(desktop->application(underPointer->ownerPID)->bundleIdentifier, kFinderBundleIdentifier);

    isolation->activate();
    EXPECT_EQ(isolationLog().last(), "activate called while desktop isolation is already active");
    EXPECT_EQ(isolation->panels().size(), 2u);
}

TEST_F(DesktopIsolationServiceTest, TheBlackPanelsFollowADisplayThatIsUnplugged)
{
    isolation->activate();
    desktop->removeDisplay(1);
    scheduler.advance(0.29);
    EXPECT_EQ(isolation->panels().size(), 2u);
    EXPECT_TRUE(isolation->hasPendingScreenSync());
    scheduler.advance(0.01);
    EXPECT_EQ(isolation->panels().size(), 1u);
    EXPECT_EQ(listedPanelFrames(), std::vector<QRectF>{desktop->displays()[0].frame});
    EXPECT_EQ(isolationLog().last(), "screenParametersChanged: synced desktop panels — added=0, removed=1, total=1");
    EXPECT_EQ(panelLog().last(), "Black desktop panel dismissed");

    desktop->addDisplay(display(3, QRectF(-1280, 0, 1280, 800)));
    scheduler.advance(0.3);
    EXPECT_EQ(isolationLog().last(), "screenParametersChanged: synced desktop panels — added=1, removed=0, total=2");
    EXPECT_EQ(listedPanelFrames().size(), 2u);
}

TEST_F(DesktopIsolationServiceTest, ChangesInQuickSuccessionLeadToOneSync)
{
    isolation->activate();
    desktop->removeDisplay(1);
    scheduler.advance(0.2);
    desktop->addDisplay(display(3, QRectF(1440, 0, 1280, 800)));
    scheduler.advance(0.2);
    desktop->updateDisplay(1, display(3, QRectF(1440, 0, 1600, 900)));
    scheduler.advance(0.29);
    EXPECT_EQ(isolationLog().filter("synced desktop panels").size(), 0);
    scheduler.advance(0.01);
    EXPECT_EQ(isolationLog().filter("synced desktop panels"),
              QStringList{"screenParametersChanged: synced desktop panels — added=1, removed=1, total=2"});
    EXPECT_EQ(isolationLog().count("Screen parameters changed — debouncing desktop panel sync"), 3);
}

TEST_F(DesktopIsolationServiceTest, ADisplayThatChangesResolutionKeepsItsPanelRefitted)
{
    isolation->activate();
    BlackDesktopPanel* panel = isolation->panels()[1];
    desktop->updateDisplay(1, display(2, QRectF(1440, 0, 2560, 1440)));
    scheduler.advance(0.3);
    ASSERT_EQ(isolation->panels().size(), 2u);
    EXPECT_EQ(isolation->panels()[1], panel);
    EXPECT_EQ(toQRectF(panel->frame()), desktop->displays()[1].frame);
    EXPECT_EQ(listedPanelFrames()[1], desktop->displays()[1].frame);
    const QImage second = desktop->interfaces().screenCapture.capture(1);
    EXPECT_EQ(second.pixel(2500, 1400), QColor(Qt::black).rgb());
    EXPECT_EQ(panel->geometry(), QRect(1440, 0, 2560, 1440));
    EXPECT_EQ(isolationLog().last(), "screenParametersChanged: synced desktop panels — added=0, removed=0, total=2");
}

TEST_F(DesktopIsolationServiceTest, DeactivationCancelsAPendingSyncBeforeTheTeardown)
{
    isolation->activate();
    desktop->removeDisplay(1);
    logs.clear();
    isolation->deactivate();
    scheduler.advance(1.0);
    EXPECT_TRUE(listedPanelFrames().empty());
    EXPECT_EQ(isolationLog(),
              (QStringList{"desktopIsolationDeactivateStart — reason=deactivate, isActive=true, panelCountBefore=2, "
                           "screens=[\"Display 1\", \"unknown\"], pendingScreenSync=true",
                           "deactivate: dismissed 2 black desktop panel(s)",
                           "desktopIsolationDeactivateFinished — reason=deactivate, panelCountAfter=0, "
                           "pendingScreenSyncCancelled=true"}));

    // Later screen changes reach nothing.
    desktop->addDisplay(display(4, QRectF(1440, 0, 800, 600)));
    scheduler.advance(1.0);
    EXPECT_TRUE(isolation->panels().empty());
    EXPECT_EQ(isolationLog().size(), 3);
}

TEST_F(DesktopIsolationServiceTest, WithoutDisplaysActivationIsRefused)
{
    desktop->removeDisplay(1);
    desktop->removeDisplay(0);
    isolation->activate();
    EXPECT_FALSE(isolation->isActive());
    EXPECT_EQ(isolationLog(), QStringList{"activate skipped — no NSScreens available"});
}

TEST_F(DesktopIsolationServiceTest, TheLegacyWallpaperBackupIsLoggedAndRemovedNeverRestored)
{
    setLegacyBackup(R"([{"displayID":1,"originalWallpaperPath":"/Library/Desktop Pictures/Hill.heic"},)"
                    R"({"displayID":2,"originalWallpaperPath":"/Users/me/Pictures/cat.png"}])");
    isolation->recoverIfNeeded();
    EXPECT_FALSE(defaults->objectExists(DesktopIsolationService::legacyWallpaperBackupKey));
    EXPECT_EQ(isolationLog(),
              (QStringList{"recoverIfNeeded: found legacy wallpaper backup for 2 display(s) — clearing without restore "
                           "because VESK must never write desktop wallpaper again; entries=[display=1, "
                           "path=/Library/Desktop Pictures/Hill.heic; display=2, path=/Users/me/Pictures/cat.png]",
                           "recoverIfNeeded: cleared legacy wallpaper backup key"}));
    EXPECT_TRUE(desktop->commandRunner().history().empty());

    logs.clear();
    isolation->recoverIfNeeded();
    EXPECT_EQ(isolationLog(), QStringList{"recoverIfNeeded: no legacy wallpaper backup found"});
}

TEST_F(DesktopIsolationServiceTest, AnUnreadableLegacyBackupStaysForNextTime)
{
    for (const QByteArray& unreadable : {QByteArray(R"([{"displayID":-1,"originalWallpaperPath":"/a"}])"),
                                         QByteArray(R"([{"displayID":1}])"), QByteArray("not json")}) {
        setLegacyBackup(unreadable);
        isolation->emergencyRestore();
        EXPECT_EQ(defaults->dataForKey(DesktopIsolationService::legacyWallpaperBackupKey), unreadable);
        EXPECT_EQ(isolationLog().last(), "emergencyRestore: no legacy wallpaper backup found");
    }
}

TEST_F(DesktopIsolationServiceTest, AnEmergencyRestoreAfterANormalStopFindsNothing)
{
    isolation->activate();
    isolation->deactivate();
    logs.clear();
    isolation->emergencyRestore();
    EXPECT_EQ(isolationLog(),
              (QStringList{"Emergency desktop isolation restore requested", "emergencyRestore: nothing to deactivate",
                           "emergencyRestore: no legacy wallpaper backup found"}));
    EXPECT_EQ(restoreRequestLevel(), QtInfoMsg) << "nothing was left to restore: no warning";
}

TEST_F(DesktopIsolationServiceTest, AnEmergencyRestoreTakesTheRunningIsolationDown)
{
    isolation->activate();
    isolation->emergencyRestore();
    EXPECT_FALSE(isolation->isActive());
    EXPECT_TRUE(listedPanelFrames().empty());
    EXPECT_TRUE(isolationLog().contains("emergencyRestore: dismissed 2 black desktop panel(s)"));
    EXPECT_EQ(restoreRequestLevel(), QtWarningMsg) << "panels were left up";
}

TEST_F(DesktopIsolationServiceTest, ACallFromAnotherThreadWaitsUntilTheMainThreadHasDoneIt)
{
    isolation->activate();
    const int queuedBefore = scheduler.pendingCount();
    std::atomic<bool> returned = false;
    bool activeWhenReturned = true;
    std::thread worker([&] {
        isolation->deactivate();
        activeWhenReturned = isolation->isActive();
        returned = true;
    });
    // The work waits on the main queue, and the caller with it.
    for (int i = 0; i < 5000 && scheduler.pendingCount() == queuedBefore; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GT(scheduler.pendingCount(), queuedBefore);
    EXPECT_FALSE(returned);
    EXPECT_TRUE(isolation->isActive());

    scheduler.runPending();
    worker.join();
    EXPECT_FALSE(activeWhenReturned);
    EXPECT_TRUE(listedPanelFrames().empty());
}

TEST_F(DesktopIsolationServiceTest, ADebounceThatOutlivesTheServiceDoesNothing)
{
    isolation->activate();
    desktop->removeDisplay(1);
    isolation.reset();
    scheduler.advance(1.0);
    EXPECT_TRUE(listedPanelFrames().empty());
}

} // namespace
