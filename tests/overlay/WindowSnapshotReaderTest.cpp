#include "overlay/WindowSnapshotReader.h"
#include "TestPrinters.h"

#include <gtest/gtest.h>

#include <map>

using namespace vesk;
namespace p = vesk::platform;

namespace {

class FakeWindowList final : public p::WindowListProviding {
public:
    QList<QVariantMap> windows;
    mutable std::vector<int> requestedOptions;

    QList<QVariantMap> copyWindowInfo(int options) const override
    {
        requestedOptions.push_back(options);
        return windows;
    }
};

QVariantMap bounds(QVariant x, QVariant y, QVariant width, QVariant height)
{
    return {{"X", x}, {"Y", y}, {"Width", width}, {"Height", height}};
}

QVariantMap window(QVariant pid, QVariant number, QVariantMap windowBounds = bounds(10, 20, 300, 200))
{
    return {{p::kWindowOwnerPID, pid}, {p::kWindowNumber, number},
            {p::kWindowLayer, 0},      {p::kWindowBounds, windowBounds},
            {p::kWindowAlpha, 1.0},    {p::kWindowOwnerName, QStringLiteral("Owner")}};
}

class WindowSnapshotReaderTest : public ::testing::Test {
protected:
    FakeWindowList windowList;
    std::map<qint32, QString> bundleIDs{{100, "com.example.editor"}, {200, "com.example.browser"}, {300, ""}};
    WindowSnapshotReader reader{windowList, [this](qint32 pid) -> std::optional<QString> {
                                    const auto found = bundleIDs.find(pid);
                                    if (found == bundleIDs.end())
                                        return std::nullopt;
                                    return found->second;
                                }};
};

} // namespace

TEST_F(WindowSnapshotReaderTest, ReadsEveryFieldOfAWindow)
{
    windowList.windows = {window(100, 42, bounds(10.5, -20, 300, 200))};
    windowList.windows[0][p::kWindowLayer] = 3;
    windowList.windows[0][p::kWindowAlpha] = 0.5;

    const auto snapshots = reader.copyOnScreenWindowSnapshots();
    const AllowedWindowSnapshot expected{"com.example.editor", 3, Rect{10.5, -20, 300, 200}, 42u, 0.5,
                                         QString("Owner")};
    EXPECT_EQ(snapshots, std::vector<AllowedWindowSnapshot>{expected});
    EXPECT_EQ(windowList.requestedOptions, std::vector<int>{17});
    reader.copyAllWindowSnapshots();
    EXPECT_EQ(windowList.requestedOptions.back(), 16);
}

TEST_F(WindowSnapshotReaderTest, EmptyListGivesNoSnapshots)
{
    EXPECT_TRUE(reader.copyOnScreenWindowSnapshots().empty());
}

TEST_F(WindowSnapshotReaderTest, DropsWindowsWithoutUsableOwnerAndKeepsTheOrderOfTheRest)
{
    windowList.windows = {
        window(100, 1),
        window(999, 2), // process exited since the list was copied
        window(300, 3), // no bundle identifier
        window(200, 4),
    };
    const auto snapshots = reader.copyOnScreenWindowSnapshots();
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(snapshots[0].windowID, 1u);
    EXPECT_EQ(snapshots[1].windowID, 4u);
    EXPECT_EQ(snapshots[1].bundleID, "com.example.browser");
}

struct RequiredFieldCase {
    const char* name;
    QString key;
    QVariant value; // invalid QVariant: the key is removed
};

TEST_F(WindowSnapshotReaderTest, RequiredFieldsMissingOrMalformedDropTheWindow)
{
    const RequiredFieldCase cases[] = {
        {"no owner", p::kWindowOwnerPID, {}},
        {"owner as text", p::kWindowOwnerPID, QString("100")},
        {"owner beyond 32 bits", p::kWindowOwnerPID, qlonglong(1) << 40},
        {"no bounds", p::kWindowBounds, {}},
        {"bounds not a map", p::kWindowBounds, QString("{{0, 0}, {1, 1}}")},
        {"bounds without Height", p::kWindowBounds, QVariantMap{{"X", 0}, {"Y", 0}, {"Width", 10}}},
        {"bounds with text Width", p::kWindowBounds, bounds(0, 0, QString("10"), 10)},
        {"bounds with NaN", p::kWindowBounds, bounds(0, qQNaN(), 10, 10)},
        {"no layer", p::kWindowLayer, {}},
        {"fractional layer", p::kWindowLayer, 2.5},
    };
    for (const auto& c : cases) {
        QVariantMap info = window(100, 1);
        if (c.value.isValid())
            info[c.key] = c.value;
        else
            info.remove(c.key);
        EXPECT_FALSE(reader.parseWindowInfo(info)) << c.name;
    }
}

TEST_F(WindowSnapshotReaderTest, OptionalFieldsFallBack)
{
    QVariantMap bare = window(100, 1);
    bare.remove(p::kWindowNumber);
    bare.remove(p::kWindowAlpha);
    bare.remove(p::kWindowOwnerName);
    const auto snapshot = reader.parseWindowInfo(bare);
    ASSERT_TRUE(snapshot);
    EXPECT_FALSE(snapshot->windowID);
    EXPECT_EQ(snapshot->alpha, 1.0);
    EXPECT_FALSE(snapshot->ownerName);

    // Whole numbers of any integer or floating type, and bounds given as integers.
    EXPECT_EQ(reader.parseWindowInfo(window(100.0, 7u))->windowID, 7u);
    EXPECT_EQ(reader.parseWindowInfo(window(qlonglong(100), 4294967295.0))->windowID, 4294967295u);
    // Window numbers the 32-bit type cannot hold are treated as missing.
    EXPECT_FALSE(reader.parseWindowInfo(window(100, qlonglong(1) << 32))->windowID);
    EXPECT_FALSE(reader.parseWindowInfo(window(100, -1))->windowID);
    EXPECT_FALSE(reader.parseWindowInfo(window(100, QString("7")))->windowID);

    QVariantMap odd = window(100, 1);
    odd[p::kWindowAlpha] = QString("0.5");
    odd[p::kWindowOwnerName] = 12;
    EXPECT_EQ(reader.parseWindowInfo(odd)->alpha, 1.0);
    EXPECT_FALSE(reader.parseWindowInfo(odd)->ownerName);
}

TEST_F(WindowSnapshotReaderTest, KeepsInvisibleAndZeroSizedWindows)
{
    QVariantMap transparent = window(100, 1);
    transparent[p::kWindowAlpha] = 0;
    windowList.windows = {transparent, window(200, 2, bounds(0, 0, 0, 0))};
    const auto snapshots = reader.copyOnScreenWindowSnapshots();
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(snapshots[0].alpha, 0.0);
    EXPECT_EQ(snapshots[1].bounds, (Rect{0, 0, 0, 0}));
}

TEST_F(WindowSnapshotReaderTest, PerFrameReadParsesAListOnlyWhenItChanges)
{
    int lookups = 0;
    WindowSnapshotReader counting(windowList, [&lookups](qint32) -> std::optional<QString> {
        ++lookups;
        return QStringLiteral("com.example.editor");
    });
    windowList.windows = {window(100, 1), window(100, 2)};

    EXPECT_EQ(counting.onScreenWindowSnapshots().size(), 2u);
    EXPECT_EQ(counting.onScreenWindowSnapshots().size(), 2u);
    EXPECT_EQ(lookups, 2) << "the same list handed out again is not parsed again";
    EXPECT_EQ(windowList.requestedOptions, (std::vector<int>{17, 17}));

    // A list with the same entries that is not the same copy is parsed afresh.
    windowList.windows = {window(100, 1), window(100, 3, bounds(5, 6, 70, 80))};
    const auto& snapshots = counting.onScreenWindowSnapshots();
    EXPECT_EQ(lookups, 4);
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(snapshots[1].windowID, 3u);
    EXPECT_EQ(snapshots[1].bounds, (Rect{5, 6, 70, 80}));
    EXPECT_EQ(snapshots, counting.copyOnScreenWindowSnapshots());

    windowList.windows.clear();
    EXPECT_TRUE(counting.onScreenWindowSnapshots().empty());
}
