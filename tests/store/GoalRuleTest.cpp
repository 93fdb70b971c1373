#include "store/GoalRule.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(GoalRule, TrimsAndDropsEmptyGoals)
{
    EXPECT_EQ(goalRule(std::nullopt), std::nullopt);
    EXPECT_EQ(goalRule(QString()), std::nullopt);
    EXPECT_EQ(goalRule(QString("  \n\t \r\n ")), std::nullopt);
    EXPECT_EQ(goalRule(QString("  Write  ")), QString("Write"));
    EXPECT_EQ(goalRule(QString("\nRead the paper\n")), QString("Read the paper"));
}

TEST(GoalRule, KeepsAtMostEightyCharacters)
{
    const QString eighty(80, 'a');
    EXPECT_EQ(goalRule(eighty), eighty);
    EXPECT_EQ(goalRule(eighty + "b"), eighty);
    EXPECT_EQ(goalRule("  " + eighty + "b  "), eighty);
}

TEST(GoalRule, CountsWhatTheUserSeesAsOneCharacter)
{
    const QString family = QString::fromUtf8(
        "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"); // man ZWJ woman ZWJ girl
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");      // DE flag
    const QString eWithAccent = QString::fromUtf8("e\xCC\x81");                      // e + combining acute

    // 79 letters and an emoji sequence are 80 characters: all kept.
    EXPECT_EQ(goalRule(QString(79, 'a') + family), QString(79, 'a') + family);
    // An emoji sequence as the 81st character is dropped whole, never cut.
    EXPECT_EQ(goalRule(QString(80, 'a') + family), QString(80, 'a'));
    EXPECT_EQ(goalRule(QString(79, 'a') + flag + "x"), QString(79, 'a') + flag);
    EXPECT_EQ(goalRule(QString(79, 'a') + eWithAccent + "x"), QString(79, 'a') + eWithAccent);

    QString eightyFamilies;
    for (int i = 0; i < 81; ++i)
        eightyFamilies += family;
    EXPECT_EQ(goalRule(eightyFamilies), eightyFamilies.left(80 * family.size()));
}

TEST(GoalRule, NoteKeepsAtMostTwoHundredEightyCharacters)
{
    EXPECT_EQ(noteRule(QString(300, 'n')), QString(280, 'n'));
    EXPECT_EQ(noteRule(QString(" ")), std::nullopt);
}

TEST(GoalRule, DropsSurrogatesThatEncodeNoCharacter)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    const QString smiley = QString(high) + low;
    EXPECT_EQ(goalRule("a" + QString(high) + "b"), QString("ab"));
    EXPECT_EQ(goalRule(QString(low) + "a" + smiley + QString(high)), "a" + smiley);
    EXPECT_EQ(goalRule(QString(high)), std::nullopt);
    EXPECT_EQ(noteRule(" " + QString(low) + " "), std::nullopt);
}

TEST(GoalRule, CountsUserCharactersAsTheCutDoes)
{
    const QString family =
        QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
    const QString eWithAccent = QString::fromUtf8("e\xCC\x81");
    EXPECT_EQ(userCharacterCount(QString()), 0);
    EXPECT_EQ(userCharacterCount("abc"), 3);
    EXPECT_EQ(userCharacterCount(family + eWithAccent + "x"), 3);
    EXPECT_EQ(userCharacterCount(prefixOfUserCharacters(QString(90, 'a') + family, 80)), 80);
}
