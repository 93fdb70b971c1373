// The look the toolkit's own windows take in Vesk: menus, picker lists and
// tooltips, rendered into build/gallery/look.

#include "ui/AppliedApplicationLook.h"
#include "ui/VeskFont.h"
#include "ui/VeskTheme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace vesk {
namespace {

double brightness(const QColor& color)
{
    return (color.red() + color.green() + color.blue()) / (3.0 * 255);
}

void save(const QImage& image, const QString& name)
{
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR "/look"));
    EXPECT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/look/") + name)) << name.toStdString();
}

// The share of the image's pixels that are about `color`.
double shareOf(const QImage& image, const QColor& color)
{
    qsizetype count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green())
                    + std::abs(pixel.blue() - color.blue())
                < 12)
                ++count;
        }
    return static_cast<double>(count) / (image.width() * image.height());
}

class ApplicationLookTest : public ::testing::Test {
protected:
    test::AppliedApplicationLook look;
    const VeskTheme& theme = VeskTheme::shared();
};

TEST_F(ApplicationLookTest, MenusAreDarkWithLightTextAndTheSandSelection)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Über VESK"));
    QAction* selected = menu.addAction(QStringLiteral("Nach Updates suchen…"));
    menu.addAction(QStringLiteral("Einstellungen…"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    menu.addSeparator();
    menu.addAction(QStringLiteral("VESK beenden"))->setEnabled(false);
    menu.popup(QPoint(40, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.setActiveAction(selected);
    const QImage image = menu.grab().toImage();
    save(image, QStringLiteral("menu.png"));

    EXPECT_EQ(image.pixelColor(image.width() / 2, 2), theme.panelTop);
    EXPECT_GT(shareOf(image, theme.panelTop), 0.5);
    const QRect selection = menu.actionGeometry(selected);
    EXPECT_EQ(image.pixelColor(selection.right() - 3, selection.center().y()), theme.accent);
    // The items' text is drawn in the light text colour.
    EXPECT_GT(shareOf(image, theme.textPrimary), 0.001);
    EXPECT_EQ(menu.font().family(), VeskFont::interfaceFamily);
}

TEST_F(ApplicationLookTest, APickersOpenListIsDarkToItsEdges)
{
    QComboBox picker;
    picker.addItems({QStringLiteral("System (Standard)"), QStringLiteral("Deutsch"), QStringLiteral("English")});
    picker.setCurrentIndex(1);
    // Its closed face has a style sheet of its own, as the settings' pickers do.
    picker.setStyleSheet(QStringLiteral("QComboBox { color: white; background: black; border-radius: 6px; }"));
    picker.resize(180, 26);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    picker.showPopup();
    QWidget* list = picker.view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    const QImage image = list->grab().toImage();
    save(image, QStringLiteral("picker-list.png"));

    for (const QPoint corner : {QPoint(1, 1), QPoint(image.width() - 2, image.height() - 2)})
        EXPECT_LT(brightness(image.pixelColor(corner)), 0.2) << corner.x() << "," << corner.y();
    EXPECT_GT(shareOf(image, theme.panelTop), 0.3);
    // The current row carries the sand selection.
    const QRect current = picker.view()->visualRect(picker.view()->currentIndex());
    const int currentY = picker.view()->viewport()->mapTo(list, current.center()).y();
    EXPECT_EQ(image.pixelColor(image.width() - 8, currentY), theme.accent);
    picker.hidePopup();
}

TEST_F(ApplicationLookTest, TooltipsAreDarkWithLightText)
{
    QWidget anchor;
    anchor.show();
    QToolTip::showText(QPoint(60, 60), QStringLiteral("Bug melden"), &anchor);
    QWidget* tip = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible())
            tip = widget;
    }
    ASSERT_NE(tip, nullptr);
    const QImage image = tip->grab().toImage();
    save(image, QStringLiteral("tooltip.png"));
    QToolTip::hideText();

    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() / 2), theme.panelTop);
    EXPECT_GT(shareOf(image, theme.textPrimary), 0.001);
    EXPECT_EQ(tip->font().family(), VeskFont::interfaceFamily);
}

TEST_F(ApplicationLookTest, TheToolkitsPaletteIsVesksDarkOne)
{
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(palette.color(QPalette::Window), theme.panelTop);
    EXPECT_EQ(palette.color(QPalette::Highlight), theme.accent);
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::ToolTipBase})
        EXPECT_LT(brightness(palette.color(role)), 0.15) << role;
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        EXPECT_GT(brightness(palette.color(role)), 0.85) << role;
}

} // namespace
} // namespace vesk
