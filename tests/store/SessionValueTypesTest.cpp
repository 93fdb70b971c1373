#include "settings/VeskLanguage.h"
#include "settings/VeskScreenFunction.h"
#include "store/GoalStatus.h"
#include "store/SessionEndReason.h"
#include "store/VeskHelpful.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vesk;

namespace {

template <typename E>
void expectEveryRawValueRoundTrips(const QStringList& expectedRawValues)
{
    QStringList raws;
    for (E value : allCases<E>()) {
        raws.append(toRaw(value));
        EXPECT_EQ(fromRaw<E>(toRaw(value)), value) << toRaw(value).toStdString();
        EXPECT_EQ(qHash(value, 7), qHash(toRaw(value), 7));
    }
    EXPECT_EQ(raws, expectedRawValues);
}

} // namespace

TEST(SessionValueTypes, RawValuesInDeclarationOrderRoundTrip)
{
    expectEveryRawValueRoundTrips<SessionEndReason>(
        {"timerExpired", "manualStop", "emergencyExit", "noAllowedWindows", "appTerminate", "crash"});
    expectEveryRawValueRoundTrips<GoalStatus>({"done", "partial", "failed"});
    expectEveryRawValueRoundTrips<VeskHelpful>({"yes", "somewhat", "no"});
    expectEveryRawValueRoundTrips<VeskLanguage>({"system", "de", "en", "it", "fr", "es"});
    expectEveryRawValueRoundTrips<VeskScreenFunction>({"appsBar", "targetMode", "controlBar"});
}

TEST(SessionValueTypes, ConstructionFromTextIsExactAndCaseSensitive)
{
    EXPECT_EQ(fromRaw<SessionEndReason>("timerExpired"), SessionEndReason::timerExpired);
    for (const char* text : {"TimerExpired", "emergencyHotkey", "deinit", "", " crash"})
        EXPECT_FALSE(fromRaw<SessionEndReason>(text).has_value()) << text;
    EXPECT_FALSE(fromRaw<GoalStatus>("maybe").has_value());
    EXPECT_FALSE(fromRaw<VeskLanguage>("ru").has_value());
    EXPECT_FALSE(fromRaw<VeskLanguage>("german").has_value());
    EXPECT_FALSE(fromRaw<VeskScreenFunction>("AppsBar").has_value());
}

TEST(SessionValueTypes, IdentifiersAreRawValues)
{
    EXPECT_EQ(identifier(VeskLanguage::french), "fr");
    EXPECT_EQ(identifier(VeskScreenFunction::controlBar), "controlBar");
    EXPECT_EQ(supportedLanguageCodes(), (QSet<QString>{"de", "en", "it", "fr", "es"}));
}

TEST(VeskLanguage, ResolvedLocale)
{
    struct Case {
        VeskLanguage setting;
        QStringList preferred;
        QString expected;
    };
    const std::vector<Case> cases{
        {VeskLanguage::system, {"de-CH", "en-US"}, "de"},
        {VeskLanguage::system, {"pt-BR", "fr-FR"}, "fr"},
        {VeskLanguage::system, {"zh-Hans-CN"}, "en"},
        {VeskLanguage::system, {}, "en"},
        {VeskLanguage::system, {"not a language", "es-MX"}, "es"},
        {VeskLanguage::system, {"it_IT"}, "it"},
        {VeskLanguage::italian, {"de-DE", "fr-FR"}, "it"},
        {VeskLanguage::german, {}, "de"},
        {VeskLanguage::english, {"de-DE"}, "en"},
        {VeskLanguage::spanish, {"en"}, "es"},
        {VeskLanguage::french, {"de"}, "fr"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolvedLocale(c.setting, c.preferred).bcp47Name(), c.expected)
            << toRaw(c.setting).toStdString() << " " << c.preferred.join(',').toStdString();
    }
}
