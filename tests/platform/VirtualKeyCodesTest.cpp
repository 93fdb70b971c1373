#include "platform/VirtualKeyCodes.h"

#include <Qt>

#include <set>

#include <gtest/gtest.h>

using namespace vesk::platform;

namespace {

struct NamedKey {
    const char* name;
    std::int64_t code;
    int qtKey;
};

class VirtualKeyCodesTest : public ::testing::TestWithParam<NamedKey> { };

} // namespace

// What a script names, what the real keyboard sends and what a scripted key
// hands to Vesk's widgets meet in one key.
TEST_P(VirtualKeyCodesTest, AScriptNameTheQtKeyAndTheCodeAgree)
{
    const NamedKey key = GetParam();
    EXPECT_EQ(virtualKeyCodeNamed(QString::fromLatin1(key.name)), key.code);
    EXPECT_EQ(virtualKeyCode(key.qtKey), key.code);
    EXPECT_EQ(qtKeyForVirtualKeyCode(key.code), key.qtKey);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyCodesTest,
    ::testing::Values(NamedKey{"a", 0, Qt::Key_A}, NamedKey{"z", 6, Qt::Key_Z}, NamedKey{"b", 11, Qt::Key_B},
                      NamedKey{"q", 12, Qt::Key_Q}, NamedKey{"5", 23, Qt::Key_5}, NamedKey{"0", 29, Qt::Key_0},
                      NamedKey{"return", 36, Qt::Key_Return}, NamedKey{"tab", 48, Qt::Key_Tab},
                      NamedKey{"space", 49, Qt::Key_Space}, NamedKey{"delete", 51, Qt::Key_Backspace},
                      NamedKey{"escape", 53, Qt::Key_Escape}, NamedKey{"left", 123, Qt::Key_Left},
                      NamedKey{"up", 126, Qt::Key_Up}),
    [](const ::testing::TestParamInfo<NamedKey>& testCase) { return std::string("key_") + testCase.param.name; });

TEST(VirtualKeyCodes, EveryLetterAndDigitHasItsOwnCodeThatLeadsBackToIt)
{
    std::set<std::int64_t> codes;
    const QString names = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    for (const QChar name : names) {
        SCOPED_TRACE(QString(name).toStdString());
        const std::optional<std::int64_t> code = virtualKeyCodeNamed(QString(name));
        ASSERT_TRUE(code);
        codes.insert(*code);
        const int qtKey = name.isDigit() ? Qt::Key_0 + name.digitValue() : Qt::Key_A + (name.unicode() - 'a');
        EXPECT_EQ(qtKeyForVirtualKeyCode(*code), qtKey);
        EXPECT_EQ(virtualKeyCode(qtKey), code);
    }
    EXPECT_EQ(codes.size(), 36u);
}

TEST(VirtualKeyCodes, KeysWithoutAScriptNameAndUnknownKeysAndNames)
{
    EXPECT_EQ(virtualKeyCode(Qt::Key_Backtab), 48) << "shift and tab is the tab key";
    EXPECT_EQ(virtualKeyCode(Qt::Key_Delete), 117) << "forward delete is a key of its own";
    EXPECT_EQ(virtualKeyCode(Qt::Key_Enter), 76);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F1), 122);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Shift), std::nullopt) << "a modifier alone has no code";
    EXPECT_EQ(virtualKeyCode(Qt::Key_Adiaeresis), std::nullopt);
    EXPECT_EQ(qtKeyForVirtualKeyCode(10), std::nullopt);
    EXPECT_EQ(qtKeyForVirtualKeyCode(-1), std::nullopt);

    for (const char* name : {"", "A", "Escape", "esc", "enter", "f1", "shift", "backtab", "hyper"})
        EXPECT_EQ(virtualKeyCodeNamed(QString::fromLatin1(name)), std::nullopt) << name;
}
