#include "PanelsFixture.h"

#include "panels/AllowedAppAppearance.h"
#include "panels/QuickAccessAppDisplay.h"

namespace vesk::test {
namespace {

using Visibility = AllowedAppVisibility;

class QuickAccessAppDisplayTest : public PanelsFixture {
protected:
    static QStringList names(const std::vector<QuickAccessAppDisplay>& displays)
    {
        QStringList result;
        for (const QuickAccessAppDisplay& display : displays)
            result << display.name;
        return result;
    }
};

TEST_F(QuickAccessAppDisplayTest, ListsOriginalAndAddedAppsWithTheirStateAndFallbackName)
{
    const DynamicAllowlistState allowlist({"com.example.notes", "org.example.editor"}, {"com.example.mail"});
    const std::vector<QuickAccessAppDisplay> displays =
        QuickAccessAppDisplay::list(allowlist, {{"com.example.mail", Visibility::onOtherSpace}}, installedApps());

    EXPECT_EQ(names(displays), QStringList({"editor", "Mail", "Notes"}));
    EXPECT_EQ(displays[0].id, "org.example.editor");
    EXPECT_EQ(displays[0].visibility, Visibility::notRunning) << "no snapshot: not running";
    EXPECT_EQ(displays[0].icon.size(), QSize(88, 88)) << "the generic icon at 44 points";
    EXPECT_EQ(displays[1].visibility, Visibility::onOtherSpace);
    EXPECT_EQ(displays[2].icon, installedApps()[2].icon);
}

TEST_F(QuickAccessAppDisplayTest, SortsByNameIgnoringCaseAndKeepsTheOrderOfEqualNames)
{
    // Identifiers sort "com.1" before "com.2" in the allowlist's order.
    const std::vector<InstalledApp> apps = {app("com.2", "alpha", Qt::red), app("com.1", "Alpha", Qt::blue),
                                            app("com.0", "Beta", Qt::green), app("com.3", "alpha", Qt::gray)};
    const std::vector<QuickAccessAppDisplay> displays =
        QuickAccessAppDisplay::list(DynamicAllowlistState({"com.0", "com.1", "com.2", "com.3"}, {}), {}, apps);
    std::vector<QString> ids;
    for (const QuickAccessAppDisplay& display : displays)
        ids.push_back(display.id);
    EXPECT_EQ(ids, (std::vector<QString>{"com.1", "com.2", "com.3", "com.0"}));
}

TEST_F(QuickAccessAppDisplayTest, FallbackNameIsTheLastNonEmptyComponent)
{
    EXPECT_EQ(AllowedAppAppearance::fallbackName("com.example.editor"), "editor");
    EXPECT_EQ(AllowedAppAppearance::fallbackName("com.example.editor."), "editor");
    EXPECT_EQ(AllowedAppAppearance::fallbackName("editor"), "editor");
    EXPECT_EQ(AllowedAppAppearance::fallbackName("..."), "...");
    EXPECT_TRUE(QuickAccessAppDisplay::list({}, {}, installedApps()).empty());
}

} // namespace
} // namespace vesk::test
