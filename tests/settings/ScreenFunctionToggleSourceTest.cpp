#include "settings/ScreenFunctionToggleSource.h"

#include "settings/VeskDefaultsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk;
using Screen = ScreenFunctionToggleSource::Screen;

namespace {

class ListedScreens final : public platform::ScreenProviding {
public:
    std::vector<platform::ScreenInfo> list;
    std::optional<platform::ScreenInfo> main;

    std::vector<platform::ScreenInfo> screens() const override { return list; }
    std::optional<platform::ScreenInfo> mainScreen() const override { return main; }
    std::optional<QRectF> displayBounds(quint32) const override { return std::nullopt; }
};

platform::ScreenInfo screen(std::optional<quint32> id, const QString& name, QRectF frame)
{
    platform::ScreenInfo info;
    info.displayID = id;
    info.name = name;
    info.frame = frame;
    info.visibleFrame = frame;
    return info;
}

class ScreenFunctionToggleSourceTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    UserDefaults defaults{UserDefaults::standardSuiteName, root.path()};
    VeskDefaultsStore store{defaults, [] { return QStringList{"de-DE"}; }};
};

} // namespace

TEST_F(ScreenFunctionToggleSourceTest, ListsEveryScreenInOrderAndMarksTheMainOneByItsNumber)
{
    ListedScreens screens;
    screens.list = {screen(7, "Built-in", {0, 0, 1440, 900}), screen(9, "Studio", {1440, 0, 2560, 1440}),
                    screen(std::nullopt, "Projector", {-800, 0, 800, 600})};
    screens.main = screens.list[1];

    EXPECT_EQ(ScreenFunctionToggleSource::listScreens(screens),
              (std::vector<Screen>{{7, false, "Built-in"}, {9, true, "Studio"}, {0, false, "Projector"}}));

    // The main screen is found by its number, not by the whole description.
    screens.main->frame = QRectF(1440, 0, 1280, 720);
    EXPECT_TRUE(ScreenFunctionToggleSource::listScreens(screens)[1].isMain);

    screens.main.reset();
    for (const Screen& listed : ScreenFunctionToggleSource::listScreens(screens))
        EXPECT_FALSE(listed.isMain) << listed.name.toStdString();

    screens.list.clear();
    EXPECT_TRUE(ScreenFunctionToggleSource::listScreens(screens).empty());
}

TEST_F(ScreenFunctionToggleSourceTest, ReadsAndWritesThroughTheStoreAndRunsOnChangeAfterTheWrite)
{
    std::vector<bool> storedWhenNotified;
    const Screen second{9, false, "Studio"};
    ScreenFunctionToggleSource source(store, [&] {
        storedWhenNotified.push_back(store.isScreenFunctionEnabled(VeskScreenFunction::controlBar, 9, false));
    });

    EXPECT_TRUE(source.isEnabled(VeskScreenFunction::appsBar, second));
    EXPECT_FALSE(source.isEnabled(VeskScreenFunction::controlBar, second));
    EXPECT_TRUE(source.isEnabled(VeskScreenFunction::controlBar, Screen{7, true, "Built-in"}));

    source.setEnabled(true, VeskScreenFunction::controlBar, second);
    EXPECT_TRUE(source.isEnabled(VeskScreenFunction::controlBar, second));
    EXPECT_EQ(defaults.stringArrayForKey("vesk.screenFunctionOverrides"), QStringList{"9:controlBar"});
    EXPECT_EQ(storedWhenNotified, std::vector<bool>{true});

    source.setEnabled(false, VeskScreenFunction::controlBar, second);
    EXPECT_FALSE(source.isEnabled(VeskScreenFunction::controlBar, second));
    EXPECT_EQ(storedWhenNotified, (std::vector<bool>{true, false}));

    // Without a change callback the write still happens.
    ScreenFunctionToggleSource(store, {}).setEnabled(false, VeskScreenFunction::appsBar, second);
    EXPECT_FALSE(source.isEnabled(VeskScreenFunction::appsBar, second));
}
