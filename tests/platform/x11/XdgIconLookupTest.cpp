#include "XdgTestFolders.h"

#include "platform/x11/XdgIconLookup.h"

using namespace vesk::platform;
using vesk::platform::testing::XdgTestFolders;

namespace {

const QByteArray blueSquare = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                              "<rect width='16' height='16' fill='#0000ff'/></svg>";

class XdgIconLookupTest : public ::testing::Test {
protected:
    QString found(const QString& icon, int side = 64) const
    {
        const QString file = XdgIconLookup(environment).iconFile(icon, side);
        return file.isEmpty() ? QStringLiteral("(none)") : QDir(folders.root.path()).relativeFilePath(file);
    }

    XdgTestFolders folders;
    XdgEnvironment environment = folders.environment();
};

} // namespace

TEST_F(XdgIconLookupTest, TakesALargeEnoughPngThenAnSvgThenTheLargestImage)
{
    folders.png("system/icons/hicolor/16x16/apps/big.png", 16);
    folders.png("system/icons/hicolor/128x128/apps/big.png", 128);
    folders.png("system/icons/hicolor/256x256/apps/big.png", 256);
    folders.write("system/icons/hicolor/scalable/apps/big.svg", blueSquare);
    folders.png("system/icons/hicolor/32x32/apps/small.png", 32);
    folders.write("system/icons/hicolor/scalable/apps/small.svg", blueSquare);
    folders.png("system/icons/hicolor/16x16/apps/tiny.png", 16);
    folders.png("system/icons/hicolor/48x48/apps/tiny.png", 48);

    EXPECT_EQ(found("big"), "system/icons/hicolor/256x256/apps/big.png");
    EXPECT_EQ(found("small"), "system/icons/hicolor/scalable/apps/small.svg");
    EXPECT_EQ(found("tiny"), "system/icons/hicolor/48x48/apps/tiny.png");
    EXPECT_EQ(found("tiny.png"), "system/icons/hicolor/48x48/apps/tiny.png");
    EXPECT_EQ(found("missing"), "(none)");
}

TEST_F(XdgIconLookupTest, SearchesTheCurrentThemeAndWhatItInheritsBeforeHicolorThenPixmaps)
{
    folders.write("system/icons/Current/index.theme", "[Icon Theme]\nName=Current\nInherits=Parent,hicolor\n");
    folders.write("system/icons/Parent/index.theme", "[Icon Theme]\nName=Parent\nInherits=Current\n");
    folders.write("system/icons/Current/scalable/apps/themed.svg", blueSquare);
    folders.png("system/icons/hicolor/256x256/apps/themed.png", 256);
    folders.png("home/icons/Parent/48/apps/inherited.png", 48);
    folders.png("system/icons/hicolor/48x48/apps/inherited.png", 48);
    folders.png("user/.icons/hicolor/48x48/apps/personal.png", 48);
    folders.png("system/icons/hicolor/48x48/apps/personal.png", 48);
    folders.png("local/pixmaps/old.png", 32);
    folders.write("system/icons/Other/scalable/apps/elsewhere.svg", blueSquare);
    environment.iconTheme = "Current";

    EXPECT_EQ(found("themed"), "system/icons/Current/scalable/apps/themed.svg");
    EXPECT_EQ(found("inherited"), "home/icons/Parent/48/apps/inherited.png");
    EXPECT_EQ(found("personal"), "user/.icons/hicolor/48x48/apps/personal.png");
    EXPECT_EQ(found("old"), "local/pixmaps/old.png");
    EXPECT_EQ(found("elsewhere"), "(none)");
}

TEST_F(XdgIconLookupTest, AnAbsolutePathIsTheFileItself)
{
    const QString file = folders.png("anywhere/logo.png", 20);
    EXPECT_EQ(found(file), "anywhere/logo.png");
    EXPECT_EQ(found(folders.path("anywhere/missing.png")), "(none)");
    EXPECT_EQ(found("anywhere/logo.png"), "(none)");
    EXPECT_EQ(found(""), "(none)");
}

TEST_F(XdgIconLookupTest, DrawsPngAndSvgIconsIntoTheSquareInProportion)
{
    folders.write("system/icons/hicolor/scalable/apps/vector.svg", blueSquare);
    QImage wide(40, 20, QImage::Format_ARGB32);
    wide.fill(Qt::red);
    ASSERT_TRUE(QDir().mkpath(folders.path("system/pixmaps")));
    ASSERT_TRUE(wide.save(folders.path("system/pixmaps/wide.png")));
    folders.write("system/pixmaps/garbage.png", "not an image");

    const XdgIconLookup lookup(environment);
    const QImage vector = lookup.image("vector", 64);
    ASSERT_EQ(vector.size(), QSize(64, 64));
    EXPECT_EQ(vector.pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(vector.pixelColor(62, 62), QColor(Qt::blue));

    const QImage raster = lookup.image("wide", 64);
    ASSERT_EQ(raster.size(), QSize(64, 64));
    EXPECT_EQ(raster.pixelColor(32, 32), QColor(Qt::red));
    EXPECT_EQ(raster.pixelColor(32, 4).alpha(), 0);

    EXPECT_TRUE(lookup.image("garbage", 64).isNull());
    EXPECT_TRUE(XdgIconLookup::render("/dev/zero", 64).isNull());
}
