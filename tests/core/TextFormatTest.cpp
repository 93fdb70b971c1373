#include "core/TextFormat.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vesk;

TEST(TextFormat, UuidIsUppercaseWithoutBraces)
{
    const QUuid uuid = QUuid::fromString(QStringLiteral("{0f8c3b9a-12ab-4cde-9f00-abcdef012345}"));
    EXPECT_EQ(uuidText(uuid), QStringLiteral("0F8C3B9A-12AB-4CDE-9F00-ABCDEF012345"));
    EXPECT_EQ(uuidText(QUuid()), QStringLiteral("00000000-0000-0000-0000-000000000000"));
}

TEST(TextFormat, ArrayText)
{
    const struct {
        QStringList items;
        const char* expected;
    } cases[] = {
        {{}, "[]"},
        {{"com.example.a"}, R"(["com.example.a"])"},
        {{"a", "b", "c"}, R"(["a", "b", "c"])"},
        {{"say \"hi\""}, R"(["say \"hi\""])"},
        {{"back\\slash", "two\nlines\ttab\r"}, R"(["back\\slash", "two\nlines\ttab\r"])"},
        {{"", "ü"}, R"(["", "ü"])"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(arrayText(c.items), QString::fromUtf8(c.expected)) << c.expected;
}

TEST(TextFormat, DoubleTextIsShortestWithAFractionalDigit)
{
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {1.4, "1.4"},
        {4.0, "4.0"},
        {0.25, "0.25"},
        {0.1 + 0.2, "0.30000000000000004"},
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {-2.5, "-2.5"},
        {1.0 / 60.0, "0.016666666666666666"},
        {100.0, "100.0"},
        {1234.5678, "1234.5678"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {0.000015, "1.5e-05"},
        {9007199254740992.0, "9007199254740992.0"},
        {1e16, "1e+16"},
        {1.5e300, "1.5e+300"},
        {5e-324, "5e-324"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(doubleText(c.value), QString::fromLatin1(c.expected)) << c.expected;
}

TEST(TextFormat, BoolText)
{
    EXPECT_EQ(boolText(true), QStringLiteral("true"));
    EXPECT_EQ(boolText(false), QStringLiteral("false"));
}

TEST(TextFormat, RectTextListsOriginAndSize)
{
    EXPECT_EQ(rectText(QRectF(1100, 621, 320, 234)), QStringLiteral("(1100.0, 621.0, 320.0, 234.0)"));
    EXPECT_EQ(rectText(QRectF(560, 371.5, -0.25, 0)), QStringLiteral("(560.0, 371.5, -0.25, 0.0)"));
    EXPECT_EQ(rectListText({}), QStringLiteral("[]"));
    EXPECT_EQ(rectListText({QRectF(0, 0, 10, 10), QRectF(1, 2, 3, 4)}),
              QStringLiteral("[(0.0, 0.0, 10.0, 10.0), (1.0, 2.0, 3.0, 4.0)]"));
}
