#include "SetupFixture.h"

#include "setup/WormveskAnimator.h"
#include "setup/WormveskStyleResolution.h"

#include <QStringList>

namespace vesk::test {
namespace {

using Phase = WormveskAnimator::Phase;

class WormveskAnimatorTest : public SetupFixture {
protected:
    // The phase changes with their virtual times, and the completion's time.
    struct Timeline {
        std::vector<std::pair<Phase, double>> phases;
        std::vector<double> completions;
    };

    void record()
    {
        QObject::connect(&animator, &WormveskAnimator::changed, [this] {
            if (timeline.phases.empty() || timeline.phases.back().first != animator.phase()) {
                timeline.phases.emplace_back(animator.phase(), scheduler.uptime());
            }
        });
    }
    std::function<void()> completion()
    {
        return [this] { timeline.completions.push_back(scheduler.uptime()); };
    }

    WormveskAnimator animator{scheduler, scheduler, reducedMotion};
    Timeline timeline;
};

TEST_F(WormveskAnimatorTest, PhasesArriveWhenTheLastFlightHasLandedThenChargeAndWarp)
{
    struct Case {
        std::vector<QString> apps;
        double charging;
        double warping;
        double done;
    };
    const std::vector<Case> cases{
        {{"com.a", "com.b", "com.c"}, 1.39, 1.71, 2.76},
        {{}, 0.03, 0.35, 1.40},
        {{"com.a"}, 1.13, 1.45, 2.50},
    };
    for (const Case& c : cases) {
        animator.reset();
        timeline = {};
        const double start = scheduler.uptime();
        record();
        animator.start(c.apps, completion());
        scheduler.advance(4);
        QObject::disconnect(&animator, &WormveskAnimator::changed, nullptr, nullptr);
        ASSERT_EQ(timeline.phases.size(), 3u) << c.apps.size();
        EXPECT_EQ(timeline.phases[0].first, Phase::flyers);
        EXPECT_NEAR(timeline.phases[0].second - start, 0.0, 1e-9);
        EXPECT_EQ(timeline.phases[1].first, Phase::charging);
        EXPECT_NEAR(timeline.phases[1].second - start, c.charging, 1e-9);
        EXPECT_EQ(timeline.phases[2].first, Phase::warping);
        EXPECT_NEAR(timeline.phases[2].second - start, c.warping, 1e-9);
        ASSERT_EQ(timeline.completions.size(), 1u);
        EXPECT_NEAR(timeline.completions[0] - start, c.done, 1e-9);
        EXPECT_EQ(animator.phase(), Phase::warping) << "stays warping until a reset";
    }
}

TEST_F(WormveskAnimatorTest, FlightsStartStaggeredAndFollowTheirCurve)
{
    animator.start({"com.a", "com.b", "com.c"}, {});
    scheduler.runPending();
    EXPECT_DOUBLE_EQ(animator.flyerProgress().at("com.a").target(), 1.0);
    EXPECT_DOUBLE_EQ(animator.flyerProgress().at("com.b").target(), 0.0) << "starts 0.08 s later";

    scheduler.advance(0.16);
    const QDateTime start = scheduler.now().addMSecs(-160);
    EXPECT_DOUBLE_EQ(animator.flyerProgress().at("com.c").target(), 1.0);
    const CubicBezierCurve flight{0.45, 0.05, 0.55, 1.0};
    // Flight b: from 0.08 s over 1.15 s; flight c: from 0.16 s over 1.2 s.
    EXPECT_NEAR(animator.flyerProgressAt(start.addMSecs(680)).at("com.b"), flight.valueAt(0.6 / 1.15), 1e-6);
    EXPECT_NEAR(animator.flyerProgressAt(start.addMSecs(1360)).at("com.c"), 1.0, 1e-9);
    EXPECT_LT(animator.flyerProgressAt(start.addMSecs(1350)).at("com.c"), 1.0);
}

TEST_F(WormveskAnimatorTest, ChargingAndWarpingMoveTheSymbol)
{
    animator.start({"com.a"}, {});
    advanceTo(1.1301);
    ASSERT_EQ(animator.phase(), Phase::charging);
    EXPECT_DOUBLE_EQ(animator.symbolBrightness().target(), 1.45);
    EXPECT_DOUBLE_EQ(animator.symbolScale().target(), 1.08);
    const QDateTime chargeStart = scheduler.now();
    const CubicBezierCurve charge{0.3, 0, 0.2, 1};
    EXPECT_NEAR(animator.symbolScale().valueAt(chargeStart.addMSecs(160)), 1.0 + 0.08 * charge.valueAt(0.5), 1e-3);

    advanceTo(1.4501);
    ASSERT_EQ(animator.phase(), Phase::warping);
    EXPECT_DOUBLE_EQ(animator.symbolScale().target(), 8.0);
    EXPECT_DOUBLE_EQ(animator.symbolOpacity().target(), 0.0);
    EXPECT_DOUBLE_EQ(animator.chromeProgress().target(), 1.0);
    EXPECT_NEAR(animator.symbolScale().valueAt(scheduler.now()), 1.08, 1e-3) << "the warp starts where charging ended";
}

TEST_F(WormveskAnimatorTest, AStartWhileRunningIsLoggedAndNeverCompletes)
{
    int firstDone = 0;
    int secondDone = 0;
    animator.start({"com.a", "com.b", "com.c"}, [&] { ++firstDone; });
    advanceTo(1.5);
    ASSERT_EQ(animator.phase(), Phase::charging);
    animator.start({"com.a"}, [&] { ++secondDone; });
    EXPECT_TRUE(log.contains("[WormveskAnimator] start ignored — phase=charging"));
    scheduler.advance(5);
    EXPECT_EQ(firstDone, 1);
    EXPECT_EQ(secondDone, 0);

    animator.start({"com.a"}, [&] { ++secondDone; });
    scheduler.advance(5);
    EXPECT_TRUE(log.contains("[WormveskAnimator] start ignored — phase=warping"));
    EXPECT_EQ(secondDone, 0);
}

TEST_F(WormveskAnimatorTest, AResetStopsTheSequenceAndItsFlights)
{
    int done = 0;
    animator.start({"com.a", "com.b", "com.c"}, [&] { ++done; });
    scheduler.advance(0.05);
    animator.reset();
    EXPECT_EQ(animator.phase(), Phase::idle);
    EXPECT_TRUE(animator.flyerProgress().empty());
    scheduler.advance(5);
    EXPECT_EQ(animator.phase(), Phase::idle) << "no charging after a reset";
    EXPECT_TRUE(animator.flyerProgress().empty()) << "flights not yet begun stay away";
    EXPECT_EQ(done, 0);
}

TEST_F(WormveskAnimatorTest, AQuickResetAndRestartReceivesNoFlightsOfTheOldRun)
{
    animator.start({"com.a", "com.b", "com.c"}, {});
    scheduler.advance(0.05);
    animator.reset();
    animator.start({"com.x", "com.b"}, {});
    scheduler.advance(0.2);
    // The old run's flights of com.b (due at 0.08 s) and com.c (0.16 s) fall
    // into the new run; only the new run's own flight of com.b (0.13 s) may move it.
    const auto& progress = animator.flyerProgress();
    EXPECT_EQ(progress.count("com.c"), 0u);
    const QDateTime newFlightStart = scheduler.now().addMSecs(-120);
    EXPECT_DOUBLE_EQ(progress.at("com.b").valueAt(newFlightStart), 0.0) << "the flight starts from its tile";
    EXPECT_DOUBLE_EQ(progress.at("com.b").valueAt(newFlightStart.addMSecs(1150)), 1.0);
}

TEST_F(WormveskAnimatorTest, ReducedMotionOnlyFadesTheSymbol)
{
    desktop.setReduceMotion(true);
    ASSERT_TRUE(reducedMotion.isOn());
    record();
    animator.start({"com.a", "com.b"}, completion());
    EXPECT_EQ(animator.phase(), Phase::warping);
    scheduler.advance(1);
    ASSERT_EQ(timeline.completions.size(), 1u);
    EXPECT_NEAR(timeline.completions[0], 0.42, 1e-9);
    EXPECT_TRUE(animator.flyerProgress().empty());
    EXPECT_DOUBLE_EQ(animator.symbolScale().target(), 1.0);
    EXPECT_DOUBLE_EQ(animator.symbolBrightness().target(), 1.0);
    EXPECT_DOUBLE_EQ(animator.symbolOpacity().target(), 0.0);
    EXPECT_DOUBLE_EQ(animator.chromeProgress().target(), 1.0);
    EXPECT_TRUE(log.contains("[WormveskAnimator] reduced-motion done → onComplete"));
}

TEST_F(WormveskAnimatorTest, TheSystemPreferenceFollowsTheAppearance)
{
    using Preference = VeskDefaultsStore::WormveskStylePreference;
    EXPECT_EQ(resolvedWormveskStyle(Preference::system, false), WormveskStyle::cosmic);
    EXPECT_EQ(resolvedWormveskStyle(Preference::system, true), WormveskStyle::solar);
    EXPECT_EQ(resolvedWormveskStyle(Preference::cosmic, true), WormveskStyle::cosmic);
    EXPECT_EQ(resolvedWormveskStyle(Preference::solar, false), WormveskStyle::solar);
}

} // namespace
} // namespace vesk::test
