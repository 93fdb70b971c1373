#include "analytics/client/SignalPostBody.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vesk::telemetry::SignalPostBody;
using Form = SignalPostBody::DateForm;

namespace {

SignalPostBody exampleBody(std::optional<double> floatValue = std::nullopt)
{
    return {QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC),
            "APP",
            "c6c289e49e9c05b2145860387b73bcb18df43fb09a1e4a4a9713c76c88bb541b",
            "0F8C3B9A-1C2D-4E5F-8A9B-0C1D2E3F4A5B",
            "session.started",
            floatValue,
            {{"hardcore", "true"}, {"stageMode", "focus"}},
            "false"};
}

QStringList keysOf(const QJsonObject& object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

TEST(SignalPostBody, JsonHoldsExactlyTheFieldKeysAndLeavesOutAnAbsentFloatValue)
{
    const QJsonObject without = exampleBody().toJson(Form::wire);
    EXPECT_EQ(keysOf(without),
              (QStringList{"appID", "clientUser", "isTestMode", "payload", "receivedAt", "sessionID", "type"}));
    EXPECT_EQ(without["receivedAt"], "2024-03-05T14:07:09+0000");
    EXPECT_EQ(without["isTestMode"], "false");
    EXPECT_EQ(without["payload"], (QJsonObject{{"hardcore", "true"}, {"stageMode", "focus"}}));

    const QJsonObject with = exampleBody(4.99).toJson(Form::secondsSinceReferenceDate);
    EXPECT_EQ(keysOf(with), (QStringList{"appID", "clientUser", "floatValue", "isTestMode", "payload", "receivedAt",
                                         "sessionID", "type"}));
    EXPECT_EQ(with["floatValue"], 4.99);
    EXPECT_EQ(with["receivedAt"], 731340429.0);
}

TEST(SignalPostBody, ArraysRoundTripInBothDateForms)
{
    const std::vector<SignalPostBody> bodies{exampleBody(), exampleBody(0.25)};
    for (Form form : {Form::wire, Form::secondsSinceReferenceDate}) {
        const std::optional<QByteArray> data = SignalPostBody::encodeArray(bodies, form);
        ASSERT_TRUE(data);
        const auto decoded = SignalPostBody::decodeArray(*data, form);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, bodies);
        EXPECT_EQ((*decoded)[0].floatValue, std::nullopt);
    }
}

TEST(SignalPostBody, DecodingRefusesAnyBodyWithAMissingOrMistypedKey)
{
    const QJsonObject good = exampleBody(1).toJson(Form::secondsSinceReferenceDate);
    std::vector<std::pair<const char*, QJsonObject>> cases;
    for (const char* key : {"receivedAt", "appID", "clientUser", "sessionID", "type", "payload", "isTestMode"}) {
        QJsonObject missing = good;
        missing.remove(key);
        cases.emplace_back(key, missing);
    }
    QJsonObject textDate = good;
    textDate["receivedAt"] = "2024-03-05T14:07:09+0000";
    cases.emplace_back("text date in the cache form", textDate);
    QJsonObject numberInPayload = good;
    numberInPayload["payload"] = QJsonObject{{"count", 3}};
    cases.emplace_back("number in the payload", numberInPayload);
    QJsonObject textFloat = good;
    textFloat["floatValue"] = "1.5";
    cases.emplace_back("text float value", textFloat);

    for (const auto& [name, object] : cases) {
        EXPECT_EQ(SignalPostBody::fromJson(object, Form::secondsSinceReferenceDate), std::nullopt) << name;
        const QByteArray array = QJsonDocument(QJsonArray{good, object}).toJson();
        EXPECT_EQ(SignalPostBody::decodeArray(array, Form::secondsSinceReferenceDate), std::nullopt) << name;
    }
    EXPECT_EQ(SignalPostBody::decodeArray("{\"not\": \"an array\"}", Form::wire), std::nullopt);
    EXPECT_EQ(SignalPostBody::decodeArray("[{", Form::wire), std::nullopt);
}

TEST(SignalPostBody, AFloatValueJsonCannotCarryFailsTheWholeArray)
{
    for (double value : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        QString error;
        EXPECT_EQ(SignalPostBody::encodeArray({exampleBody(), exampleBody(value)}, Form::wire, &error), std::nullopt);
        EXPECT_TRUE(error.contains("session.started")) << error.toStdString();
    }
}

} // namespace
