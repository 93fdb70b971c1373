#include "overlay/DisplayLayoutSignature.h"
#include "FakeScreens.h"
#include "TestPrinters.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

using namespace vesk;
using Entry = DisplayLayoutSignature::Entry;

namespace {

// Switches the process's number formatting to a locale that writes decimal
// commas, for as long as it exists: the one the build made, else one installed.
class DecimalCommaLocale {
public:
    DecimalCommaLocale()
    {
#ifdef VESK_TEST_LOCALES
        qputenv("LOCPATH", VESK_TEST_LOCALES);
#endif
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "it_IT.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) && writesDecimalComma())
                return;
        }
        std::setlocale(LC_NUMERIC, previousLocale_.c_str());
    }
    ~DecimalCommaLocale()
    {
        std::setlocale(LC_NUMERIC, previousLocale_.c_str());
        if (hadLocalePath_)
            qputenv("LOCPATH", previousLocalePath_);
        else
            qunsetenv("LOCPATH");
    }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    static bool writesDecimalComma()
    {
        char text[8];
        std::snprintf(text, sizeof text, "%.1f", 0.5);
        return std::strcmp(text, "0,5") == 0;
    }

private:
    std::string previousLocale_ = std::setlocale(LC_NUMERIC, nullptr);
    bool hadLocalePath_ = qEnvironmentVariableIsSet("LOCPATH");
    QByteArray previousLocalePath_ = qgetenv("LOCPATH");
};

} // namespace

TEST(DisplayLayoutSignature, SortKey)
{
    const Entry entry{1, Rect{0, 0, 800, 600}, Rect{0, 0, 800, 600}};
    EXPECT_EQ(entry.sortKey(), "1|0.000|0.000|800.000|600.000|0.000|0.000|800.000|600.000");
    const Entry other{std::nullopt, Rect{-1280.25, 0, 1280, 800}, Rect{-1280.25, 100.0004, 1280, 800}};
    EXPECT_EQ(other.sortKey(), "none|-1280.250|0.000|1280.000|800.000|-1280.250|100.000|1280.000|800.000");
}

TEST(DisplayLayoutSignature, SortKeyKeepsTheDecimalPointInEveryLocale)
{
    const DecimalCommaLocale comma;
    if (!DecimalCommaLocale::writesDecimalComma())
        GTEST_SKIP() << "no locale with a decimal comma is available";
    const Entry entry{2, Rect{-1280.25, 0, 1280, 800}, Rect{-1280.25, 100, 1280, 800}};
    EXPECT_EQ(entry.sortKey(), "2|-1280.250|0.000|1280.000|800.000|-1280.250|100.000|1280.000|800.000");
}

TEST(DisplayLayoutSignature, EntriesSortByKeyAsText)
{
    const Entry ten{10, Rect{0, 0, 800, 600}, Rect{0, 0, 800, 600}};
    const Entry one{1, Rect{0, 0, 800, 600}, Rect{0, 0, 800, 600}};
    const Entry anonymous{std::nullopt, Rect{0, 0, 800, 600}, Rect{0, 0, 800, 600}};
    const Entry twoLeft{2, Rect{-800, 0, 800, 600}, Rect{-800, 0, 800, 600}};
    const Entry twoRight{2, Rect{800, 0, 800, 600}, Rect{800, 0, 800, 600}};

    EXPECT_TRUE(DisplayLayoutSignature::precedes(ten, one)) << "'0' precedes '|'";
    EXPECT_TRUE(DisplayLayoutSignature::precedes(twoLeft, twoRight)) << "'-' precedes digits";
    EXPECT_FALSE(DisplayLayoutSignature::precedes(one, one));

    const DisplayLayoutSignature signature({anonymous, twoRight, one, twoLeft, ten});
    EXPECT_EQ(signature.entries(), (std::vector<Entry>{ten, one, twoLeft, twoRight, anonymous}));
}

TEST(DisplayLayoutSignature, CurrentSortsAndKeepsIdentifierWithFlippedFrame)
{
    FakeScreens screens;
    EXPECT_TRUE(DisplayLayoutSignature::current(screens).empty());

    screens.add(7, QRectF(0, 0, 1440, 900), "Built-in");
    screens.add(12, QRectF(1440, 0, 1920, 1080), "External"); // bounds unavailable
    screens.add(std::nullopt, QRectF(-800, 0, 800, 600), "Projector");
    screens.add(9, QRectF(0, 0, 0, 0));
    screens.bounds[7] = QRectF(0, 180, 1440, 900);

    const auto descriptors = DisplayLayoutSignature::current(screens);
    ASSERT_EQ(descriptors.size(), 3u);
    EXPECT_EQ(descriptors[0].entry, (Entry{12, Rect{1440, 0, 1920, 1080}, Rect{1440, 0, 1920, 1080}}));
    EXPECT_EQ(descriptors[0].screen.name, "External");
    EXPECT_EQ(descriptors[1].entry, (Entry{7, Rect{0, 0, 1440, 900}, Rect{0, 180, 1440, 900}}));
    EXPECT_EQ(descriptors[2].entry, (Entry{std::nullopt, Rect{-800, 0, 800, 600}, Rect{-800, 480, 800, 600}}));
    EXPECT_EQ(descriptors[2].screen.name, "Projector");
}

TEST(DisplayLayoutSignature, Diff)
{
    const Entry a{1, Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}};
    const Entry b{2, Rect{1440, 0, 1920, 1080}, Rect{1440, -180, 1920, 1080}};
    const Entry bMoved{2, Rect{1441, 0, 1920, 1080}, Rect{1441, -180, 1920, 1080}};
    const Entry c{std::nullopt, Rect{-800, 0, 800, 600}, Rect{-800, 300, 800, 600}};

    const auto unchanged = DisplayLayoutSignature::diff({a, b}, {a, b});
    EXPECT_EQ(unchanged.keep, (std::vector<Entry>{a, b}));
    EXPECT_TRUE(unchanged.isUnchanged());

    const auto moved = DisplayLayoutSignature::diff({a, b, c}, {c, bMoved, a});
    EXPECT_EQ(moved.keep, (std::vector<Entry>{c, a}));
    EXPECT_EQ(moved.create, (std::vector<Entry>{bMoved}));
    EXPECT_EQ(moved.dismiss, (std::vector<Entry>{b}));

    // Same frames, the identifier appeared: another entry.
    Entry aWithoutID = a;
    aWithoutID.displayID.reset();
    const auto identified = DisplayLayoutSignature::diff({aWithoutID}, {a});
    EXPECT_EQ(identified.create, (std::vector<Entry>{a}));
    EXPECT_EQ(identified.dismiss, (std::vector<Entry>{aWithoutID}));
}

TEST(DisplayLayoutSignature, Description)
{
    const DisplayLayoutSignature signature({{1, Rect{0, 0, 800, 600}, Rect{0, 0, 800, 600}},
                                            {std::nullopt, Rect{800, 0, 1024, 768}, Rect{800, -168, 1024, 768}}});
    EXPECT_EQ(signature.description(),
              "displayID=1, cocoa={{0, 0}, {800, 600}}, quartz={{0, 0}, {800, 600}}; "
              "displayID=none, cocoa={{800, 0}, {1024, 768}}, quartz={{800, -168}, {1024, 768}}");
}
