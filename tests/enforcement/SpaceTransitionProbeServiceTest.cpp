#include "enforcement/SpaceTransitionProbeService.h"
#include "DesktopSpecs.h"
#include "LogCapture.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

using namespace vesk;

namespace {

const QString editorID = QStringLiteral("com.example.editor");
const QString chatID = QStringLiteral("com.example.chat");

// The probe with its default providers over the simulated desktop, in virtual time.
class SpaceTransitionProbeServiceTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopTestScene::SetUp();
        reader.emplace(desktop->interfaces().windowList, test::bundleIdentifierLookup(*desktop));
        probe.emplace(scheduler, SpaceTransitionProbeService::defaultInterval,
                      SpaceTransitionProbeService::defaultProviders(*reader, desktop->interfaces().screens,
                                                                    desktop->workspace(), scheduler));
    }

    QStringList samples() const
    {
        QStringList lines;
        for (const QString& line : logs.messages("SpaceTransitionProbeService")) {
            if (line.startsWith("[SpaceTransitionProbeService] sample — "))
                lines.append(line);
        }
        return lines;
    }

    std::optional<WindowSnapshotReader> reader;
    std::optional<SpaceTransitionProbeService> probe;
    test::LogCapture logs;
};

TEST_F(SpaceTransitionProbeServiceTest, ATenSecondBurstSamplesAtOnceAndEveryHalfSecondUntilItsEnd)
{
    const platform::WindowNumber notes = firstWindowOf(editorID);
    const platform::WindowNumber draft =
        desktop->addWindow(pidOf(editorID), window("draft.txt", QRectF(700, 300, 500, 400)));
    probe->activate({editorID, chatID});
    probe->startBurst("reveal:com.example.editor", 10.0);

    EXPECT_TRUE(logs.contains("[SpaceTransitionProbeService] burst started — reason=reveal:com.example.editor, "
                              "duration=10.0s, allowed=[\"com.example.chat\", \"com.example.editor\"]"));
    ASSERT_EQ(samples().size(), 1);
    EXPECT_EQ(samples()[0], QStringLiteral("[SpaceTransitionProbeService] sample — reason=reveal:com.example.editor, "
                                           "sample=1, frontmost=com.example.browser, "
                                           "allowedOnScreen=[com.example.chat{count=0,ids=[]}; "
                                           "com.example.editor{count=2,ids=[%1,%2]}]")
                                .arg(notes)
                                .arg(draft));

    scheduler.advance(10.0);
    EXPECT_EQ(samples().size(), 21);
    EXPECT_TRUE(samples().back().contains("sample=21"));
    EXPECT_FALSE(logs.contains("burst ended"));
    scheduler.advance(0.5);
    EXPECT_TRUE(logs.contains("[SpaceTransitionProbeService] burst ended — reason=reveal:com.example.editor, "
                              "samples=21"));
    EXPECT_FALSE(probe->isBursting());
    scheduler.advance(5);
    EXPECT_EQ(samples().size(), 21);
}

TEST_F(SpaceTransitionProbeServiceTest, ANegativeDurationSamplesOnceAndEndsAtTheFirstTick)
{
    probe->activate({editorID});
    probe->startBurst("reveal:x", -3);
    EXPECT_TRUE(logs.contains("duration=-3.0s"));
    EXPECT_EQ(samples().size(), 1);
    scheduler.advance(0.5);
    EXPECT_TRUE(logs.contains("[SpaceTransitionProbeService] burst ended — reason=reveal:x, samples=1"));
    EXPECT_EQ(samples().size(), 1);
}

TEST_F(SpaceTransitionProbeServiceTest, ANewBurstStartsOverOnTheRunningTimer)
{
    probe->activate({editorID});
    probe->startBurst("first", 10);
    scheduler.advance(1.2);
    probe->startBurst("second", 1.0);
    EXPECT_TRUE(samples().back().contains("reason=second, sample=1,"));
    // The timer keeps its beat: ticks at 1.5 and 2.0 sample, the one at 2.5 ends the burst.
    scheduler.advance(1.3);
    EXPECT_TRUE(logs.contains("[SpaceTransitionProbeService] burst ended — reason=second, samples=3"));
}

TEST_F(SpaceTransitionProbeServiceTest, OnlyAnActiveProbeSamplesOrTakesNewIdentifiers)
{
    probe->startBurst("reveal:x", 10);
    probe->updateAllowedBundleIDs({editorID});
    EXPECT_EQ(logs.messages("SpaceTransitionProbeService"),
              QStringList{"[SpaceTransitionProbeService] burst ignored while inactive — reason=reveal:x"});

    probe->activate({chatID});
    probe->activate({editorID});
    EXPECT_TRUE(logs.contains("[SpaceTransitionProbeService] activate called while already active"));
    probe->startBurst("reveal:y", 10);
    EXPECT_TRUE(samples().back().endsWith("allowedOnScreen=[com.example.editor{count=1,ids=["
                                          + QString::number(firstWindowOf(editorID)) + "]}]"));

    probe->deactivate();
    EXPECT_FALSE(probe->isActive());
    EXPECT_FALSE(probe->isBursting());
    EXPECT_TRUE(logs.contains("[SpaceTransitionProbeService] deactivated"));
    scheduler.advance(2);
    EXPECT_EQ(samples().size(), 1);
}

} // namespace
