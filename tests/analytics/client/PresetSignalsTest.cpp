#include "analytics/client/PresetSignals.h"
#include "RunningClientScene.h"
#include "analytics/client/AnyIdentifiableError.h"
#include "analytics/client/DefaultSignalPayload.h"
#include "analytics/client/SessionStatistics.h"

#include <gtest/gtest.h>

using namespace vesk::telemetry;

namespace {

class PresetSignalsTest : public vesk::telemetry::testing::RunningClientScene {
protected:
    void SetUp() override
    {
        RunningClientScene::SetUp();
        startWithoutSessionSignals();
        PresetSignals::resetNavigationPath();
    }

    // The one cached signal: its type and the payload entries that the default payload lacks or differs in.
    std::pair<QString, SignalParameters> onlySignal()
    {
        const std::vector<SignalPostBody> bodies = cached();
        EXPECT_EQ(bodies.size(), 1u);
        if (bodies.empty())
            return {};
        const SignalParameters defaults =
            DefaultSignalPayload::parameters(facts.currentFacts(), scheduler.now(),
                                             TelemetryManager::shared()->sessionStatistics().payloadEntries());
        SignalParameters own;
        for (const auto& [key, value] : bodies.front().payload)
            if (!defaults.contains(key) || defaults.at(key) != value)
                own[key] = value;
        return {bodies.front().type, own};
    }

    void clear() { TelemetryManager::shared()->signalManager().signalCache().takeBatch(); }
};

TEST_F(PresetSignalsTest, CallerParametersWinOverTheOperationsOwnKeys)
{
    PresetSignals::userAcquired("newsletter", {{"Telemetry.Acquisition.channel", "friend"}, {"campaign", "x"}});
    const auto [type, own] = onlySignal();
    EXPECT_EQ(type, "Telemetry.Acquisition.userAcquired");
    EXPECT_EQ(own.at("Telemetry.Acquisition.channel"), "friend");
    EXPECT_EQ(own.at("campaign"), "x");
}

struct PresetCase {
    std::function<void()> send;
    QString type;
    SignalParameters keys;
};

class PresetSignalTable : public PresetSignalsTest, public ::testing::WithParamInterface<PresetCase> { };

TEST_P(PresetSignalTable, SendsItsNameAndKeys)
{
    GetParam().send();
    const auto [type, own] = onlySignal();
    EXPECT_EQ(type, GetParam().type);
    EXPECT_EQ(own, GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, PresetSignalTable,
    ::testing::Values(
        PresetCase{[] { PresetSignals::leadStarted("L1"); },
                   "Telemetry.Acquisition.leadStarted",
                   {{"Telemetry.Acquisition.leadID", "L1"}}},
        PresetCase{[] { PresetSignals::leadConverted("L1"); },
                   "Telemetry.Acquisition.leadConverted",
                   {{"Telemetry.Acquisition.leadID", "L1"}}},
        PresetCase{[] { PresetSignals::onboardingCompleted(); }, "Telemetry.Activation.onboardingCompleted", {}},
        PresetCase{[] { PresetSignals::coreFeatureUsed("focus"); },
                   "Telemetry.Activation.coreFeatureUsed",
                   {{"Telemetry.Activation.featureName", "focus"}}},
        PresetCase{[] { PresetSignals::referralSent(3); },
                   "Telemetry.Referral.sent",
                   {{"Telemetry.Referral.receiversCount", "3"}}},
        PresetCase{[] { PresetSignals::referralSent(2, QString("mail")); },
                   "Telemetry.Referral.sent",
                   {{"Telemetry.Referral.receiversCount", "2"}, {"Telemetry.Referral.kind", "mail"}}},
        PresetCase{[] { PresetSignals::userRatingSubmitted(0); },
                   "Telemetry.Referral.userRatingSubmitted",
                   {{"Telemetry.Referral.ratingValue", "0"}}},
        PresetCase{[] { PresetSignals::userRatingSubmitted(10, QString("great")); },
                   "Telemetry.Referral.userRatingSubmitted",
                   {{"Telemetry.Referral.ratingValue", "10"}, {"Telemetry.Referral.ratingComment", "great"}}},
        PresetCase{[] { PresetSignals::paywallShown("limit"); },
                   "Telemetry.Revenue.paywallShown",
                   {{"Telemetry.Revenue.paywallShowReason", "limit"}}},
        PresetCase{[] { PresetSignals::errorOccurred("E1", ErrorCategory::userInput); },
                   "Telemetry.Error.occurred",
                   {{"Telemetry.Error.id", "E1"}, {"Telemetry.Error.category", "user-input"}}},
        PresetCase{[] { PresetSignals::errorOccurred("E2"); },
                   "Telemetry.Error.occurred",
                   {{"Telemetry.Error.id", "E2"}}},
        PresetCase{[] {
                       PresetSignals::errorOccurred(AnyIdentifiableError::withIdentifier("E3", "disk full"),
                                                    ErrorCategory::appState);
                   },
                   "Telemetry.Error.occurred",
                   {{"Telemetry.Error.id", "E3"},
                    {"Telemetry.Error.category", "app-state"},
                    {"Telemetry.Error.message", "disk full"}}},
        PresetCase{[] {
                       PresetSignals::errorOccurred(AnyIdentifiableError("E4", "disk full"),
                                                    ErrorCategory::thrownException, std::nullopt);
                   },
                   "Telemetry.Error.occurred",
                   {{"Telemetry.Error.id", "E4"}, {"Telemetry.Error.category", "thrown-exception"}}}));

TEST_F(PresetSignalsTest, RatingsOutsideZeroToTenAreRefusedWithALogLine)
{
    PresetSignals::userRatingSubmitted(-1);
    PresetSignals::userRatingSubmitted(11);
    EXPECT_TRUE(cached().empty());
    EXPECT_EQ(logLines,
              (QStringList{"[ERROR] Rating must be between 0 and 10", "[ERROR] Rating must be between 0 and 10"}));
}

TEST_F(PresetSignalsTest, NavigationStartsFromTheLastDestination)
{
    PresetSignals::navigationPathChanged("home");
    EXPECT_EQ(onlySignal().second, (SignalParameters{{"Telemetry.Navigation.schemaVersion", "1"},
                                                     {"Telemetry.Navigation.identifier", " -> home"},
                                                     {"Telemetry.Navigation.sourcePath", ""},
                                                     {"Telemetry.Navigation.destinationPath", "home"}}));
    clear();
    PresetSignals::navigationPathChanged("settings");
    EXPECT_EQ(onlySignal().second.at("Telemetry.Navigation.identifier"), "home -> settings");
    EXPECT_EQ(onlySignal().second.at("Telemetry.Navigation.sourcePath"), "home");
}

TEST(ErrorCategoryTest, ReadsOnlyTheExactRawTexts)
{
    EXPECT_EQ(vesk::fromRaw<ErrorCategory>("user-input"), ErrorCategory::userInput);
    EXPECT_EQ(vesk::fromRaw<ErrorCategory>("User-Input"), std::nullopt);
    EXPECT_EQ(vesk::fromRaw<ErrorCategory>("thrownException"), std::nullopt);
}

} // namespace
