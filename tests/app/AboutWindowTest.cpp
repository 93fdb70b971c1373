#include "app/AboutWindow.h"

#include "core/AppVersion.h"
#include "ui/VeskTheme.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

double brightness(const QColor& color)
{
    return (color.red() + color.green() + color.blue()) / (3.0 * 255);
}

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMainBundleInfoDictionary({{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("2.5.0")},
                                     {QStringLiteral("CFBundleVersion"), QStringLiteral("418")}});
        window_ = std::make_unique<AboutWindow>();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override { setMainBundleInfoDictionary({}); }

    QLabel* labelShowing(const QString& text) const
    {
        for (QLabel* label : window_->findChildren<QLabel*>()) {
            if (label->text() == text)
                return label;
        }
        ADD_FAILURE() << "no label shows " << text.toStdString();
        return nullptr;
    }

    std::unique_ptr<AboutWindow> window_;
};

TEST_F(AboutWindowTest, ShowsSymbolNameVersionAndCopyrightCentredOnTheDarkBackground)
{
    const QImage image = window_->grab().toImage();
    QDir().mkpath(VESK_GALLERY_DIR);
    EXPECT_TRUE(image.save(QDir(VESK_GALLERY_DIR).filePath("about-window.png")));

    for (const QPoint point : {QPoint(2, 2), QPoint(image.width() - 3, image.height() - 3), QPoint(20, 200)})
        EXPECT_LT(brightness(image.pixelColor(point)), 0.08) << point.x() << "," << point.y();
    // The symbol's bright rim shows in its square.
    const QRect symbol = window_->symbolRect().toAlignedRect();
    double brightest = 0;
    for (int y = symbol.top(); y <= symbol.bottom(); ++y)
        for (int x = symbol.left(); x <= symbol.right(); ++x)
            brightest = std::max(brightest, brightness(image.pixelColor(x, y)));
    EXPECT_GT(brightest, 0.6);

    int previousBottom = symbol.bottom();
    for (const char* text : {"VESK", "Version 2.5.0 (418)", "© 2026 VESK. Alle Rechte vorbehalten."}) {
        const QLabel* label = labelShowing(QString::fromUtf8(text));
        ASSERT_NE(label, nullptr);
        const QRect shown = label->geometry();
        EXPECT_NEAR(shown.center().x(), window_->width() / 2.0, 1.0) << text;
        EXPECT_TRUE(label->alignment().testFlag(Qt::AlignHCenter)) << text;
        EXPECT_GT(shown.top(), previousBottom) << text << " stands below what comes before it";
        EXPECT_LE(shown.bottom(), window_->height()) << text;
        EXPECT_GT(brightness(label->palette().color(QPalette::WindowText)), 0.4) << text;
        previousBottom = shown.bottom();
    }
}

TEST_F(AboutWindowTest, KeepsItsSizeAndSpeaksTheChosenLanguage)
{
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
    EXPECT_EQ(window_->size(), QSize(AboutWindow::windowWidth, AboutWindow::windowHeight));
    window_->retranslate(Localizer(QLocale(QLocale::English)));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("About VESK"));
    EXPECT_NE(labelShowing(QStringLiteral("© 2026 VESK. All rights reserved.")), nullptr);
    EXPECT_EQ(window_->size(), QSize(AboutWindow::windowWidth, AboutWindow::windowHeight));
}

TEST_F(AboutWindowTest, NamesTheDesktopItRunsOnInTheChosenLanguageOnlyWhenItIsHanded)
{
    auto shownLine = [](const AboutWindow& window) -> QString {
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (label->text().startsWith(QStringLiteral("Desktop")) && label->isVisible())
                return label->text();
        }
        return {};
    };
    EXPECT_EQ(shownLine(*window_), QString()) << "no desktop was handed in";
    EXPECT_EQ(window_->findChildren<QLabel*>().size(), 3) << "nothing but the name, the version and the copyright";

    AboutWindow named(QStringLiteral("Simulierter Desktop"));
    named.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&named));
    EXPECT_EQ(shownLine(named), QStringLiteral("Desktop: Simulierter Desktop"));
    named.retranslate(Localizer(QLocale(QLocale::English)));
    EXPECT_EQ(shownLine(named), QStringLiteral("Desktop: Simulated desktop"));
    EXPECT_EQ(named.size(), QSize(AboutWindow::windowWidth, AboutWindow::windowHeight));
    const QImage image = named.grab().toImage();
    EXPECT_TRUE(image.save(QDir(VESK_GALLERY_DIR).filePath("about-window-desktop.png")));
}

TEST_F(AboutWindowTest, EscapeAndControlWCloseIt)
{
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_W, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QTest::keyClick(window_.get(), key, modifiers);
        EXPECT_FALSE(window_->isVisible()) << key;
    }
}

} // namespace
