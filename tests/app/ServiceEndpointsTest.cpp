#include "app/ServiceEndpoints.h"

#include <QJsonValue>

#include <gtest/gtest.h>

#include <vector>

using namespace vesk;

namespace {

const std::vector<const char*> kVariables{"VESK_ANALYTICS_BASE_URL", "VESK_BUG_REPORT_ENDPOINT",
                                          "VESK_UPDATE_FEED_URL"};

// The three variables, as a test sets them; they come back afterwards.
class ServiceEndpointsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* variable : kVariables) {
            saved_.push_back(qgetenv(variable));
            qunsetenv(variable);
        }
    }

    void TearDown() override
    {
        for (std::size_t i = 0; i < kVariables.size(); ++i)
            qputenv(kVariables[i], saved_[i]);
    }

    std::vector<QByteArray> saved_;
};

TEST_F(ServiceEndpointsTest, AUsersLaunchReachesTheBuiltInServicesUnlessTheEnvironmentNamesOthers)
{
    EXPECT_EQ(ServiceEndpoints::configured(),
              (ServiceEndpoints{QUrl("https://analytics.vesk.app/"), QUrl("https://reports.vesk.app"),
                                QUrl("https://updates.vesk.app/feed.json")}));
    qputenv("VESK_ANALYTICS_BASE_URL", "http://127.0.0.1:8001/");
    qputenv("VESK_BUG_REPORT_ENDPOINT", "");
    EXPECT_EQ(ServiceEndpoints::configured(), (ServiceEndpoints{QUrl("http://127.0.0.1:8001/"), std::nullopt,
                                                                QUrl("https://updates.vesk.app/feed.json")}))
        << "an empty report endpoint leaves reports unconfigured";
}

TEST_F(ServiceEndpointsTest, OnlyWhatTheEnvironmentNamesIsNamedByIt)
{
    EXPECT_EQ(ServiceEndpoints::namedByEnvironment(), ServiceEndpoints{});
    qputenv("VESK_BUG_REPORT_ENDPOINT", "");
    qputenv("VESK_UPDATE_FEED_URL", "http://127.0.0.1:8002/feed.json");
    const ServiceEndpoints named = ServiceEndpoints::namedByEnvironment();
    EXPECT_EQ(named, (ServiceEndpoints{std::nullopt, std::nullopt, QUrl("http://127.0.0.1:8002/feed.json")}));
    EXPECT_EQ(named.toJson(), (QJsonObject{{"analytics", QJsonValue()},
                                           {"reports", QJsonValue()},
                                           {"updates", "http://127.0.0.1:8002/feed.json"}}));
}

} // namespace
