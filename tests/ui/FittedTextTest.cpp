#include "ui/FittedText.h"
#include "ui/TextLabel.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(VeskFont, InterfaceAndMonospacedFamiliesAreInstalledAndUsed)
{
    ASSERT_TRUE(VeskFont::areInstalled()) << "scripts/deps.sh installs fonts-inter and fonts-dejavu-core";
    EXPECT_EQ(QFontInfo(VeskFont::interface(13)).family(), QStringLiteral("Inter"));
    EXPECT_EQ(QFontInfo(VeskFont::monospaced(48, QFont::Light)).family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(QFontInfo(VeskFont::interface(12, QFont::DemiBold)).weight(), QFont::DemiBold);
}

TEST(VeskFont, APointIsALogicalPixel)
{
    for (const double size : {8.0, 10.5, 13.0, 48.0}) {
        const QFont font = VeskFont::interface(size);
        EXPECT_NEAR(VeskFont::pointSize(font), size, 1e-9);
        // Drawn on an image at the screen's resolution, the em is `size` pixels.
        QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
        EXPECT_NEAR(QFontInfo(font).pixelSize(), size, 0.5);
        EXPECT_NEAR(QFontMetricsF(font, &image).height(), QFontMetricsF(font).height(), 1e-9);
    }
}

TEST(FittedText, AShortTextKeepsItsSizeOnOneLine)
{
    TextStyle style;
    style.font = VeskFont::interface(13, QFont::DemiBold);
    const FittedText fitted = FittedText::fit(QStringLiteral("Mail"), style, 200);
    EXPECT_EQ(fitted.lines, QStringList{"Mail"});
    EXPECT_EQ(fitted.scale, 1.0);
    EXPECT_FALSE(fitted.truncated);
    EXPECT_NEAR(fitted.size.width(), QFontMetricsF(style.font).horizontalAdvance("Mail"), 0.5);
}

TEST(FittedText, WrapsShrinksThenTruncates)
{
    TextStyle style;
    style.font = VeskFont::interface(13, QFont::DemiBold);
    style.lineLimit = 2;
    style.minimumScaleFactor = 0.82;
    const QString question = QStringLiteral("Ein sehr langer Anwendungsname in den Vesk holen?");
    const double natural = QFontMetricsF(style.font).horizontalAdvance(question);

    // Two lines are room enough at full size.
    const FittedText wrapped = FittedText::fit(question, style, natural * 0.7);
    EXPECT_EQ(wrapped.lines.size(), 2);
    EXPECT_EQ(wrapped.scale, 1.0);
    EXPECT_EQ(wrapped.lines.join(' '), question);

    // Too narrow for two lines at full size, wide enough at a smaller one.
    const FittedText shrunk = FittedText::fit(question, style, natural * 0.55);
    EXPECT_LT(shrunk.scale, 1.0);
    EXPECT_GE(shrunk.scale, 0.82);
    EXPECT_FALSE(shrunk.truncated);
    EXPECT_EQ(shrunk.lines.join(' '), question);
    EXPECT_LE(shrunk.lines.size(), 2);

    // Too narrow even at the minimum: two lines, the last ending in "…".
    const FittedText cut = FittedText::fit(question, style, natural * 0.3);
    EXPECT_EQ(cut.scale, 0.82);
    EXPECT_TRUE(cut.truncated);
    ASSERT_EQ(cut.lines.size(), 2);
    EXPECT_TRUE(cut.lines.back().endsWith(QChar(0x2026)));
    for (const QString& line : cut.lines)
        EXPECT_LE(QFontMetricsF(cut.font).horizontalAdvance(line), natural * 0.3 + 0.5) << line.toStdString();
}

TEST(FittedText, OneLineWithoutShrinkingTruncatesAtTheTail)
{
    TextStyle style;
    style.font = VeskFont::interface(10, QFont::DemiBold);
    const FittedText fitted = FittedText::fit(QStringLiteral("A very long application name"), style, 66);
    ASSERT_EQ(fitted.lines.size(), 1);
    EXPECT_TRUE(fitted.truncated);
    EXPECT_TRUE(fitted.lines[0].startsWith("A very"));
    EXPECT_TRUE(fitted.lines[0].endsWith(QChar(0x2026)));
    EXPECT_LE(fitted.size.width(), 66);
}

TEST(FittedText, UppercaseAndTrackingChangeTheSetText)
{
    TextStyle plain;
    plain.font = VeskFont::interface(11, QFont::DemiBold);
    TextStyle tracked = plain;
    tracked.uppercase = true;
    tracked.tracking = 1.32;
    const FittedText a = FittedText::fit(QStringLiteral("Enter Vesk"), plain, 0);
    const FittedText b = FittedText::fit(QStringLiteral("Enter Vesk"), tracked, 0);
    EXPECT_EQ(b.lines, QStringList{"ENTER VESK"});
    const double upperWidth = QFontMetricsF(plain.font).horizontalAdvance("ENTER VESK");
    EXPECT_NEAR(b.size.width(), upperWidth + 10 * 1.32, 1.5) << "1.32 points after each of 10 characters";
    EXPECT_LT(a.size.width(), b.size.width());
}

TEST(FittedText, LineBreaksAndLineSpacing)
{
    TextStyle style;
    style.lineLimit = 0;
    style.lineSpacing = 2;
    const FittedText fitted = FittedText::fit(QStringLiteral("Erste\nZweite"), style, 300);
    EXPECT_EQ(fitted.lines, (QStringList{"Erste", "Zweite"}));
    EXPECT_NEAR(fitted.size.height(), 2 * fitted.lineHeight + 2, 1e-9);
}

TEST(TextLabel, PaintsItsTextWithinItsWidth)
{
    TextStyle style;
    style.font = VeskFont::interface(12, QFont::DemiBold);
    TextLabel label(QStringLiteral("Sichtbar"), style, Qt::white);
    EXPECT_EQ(label.sizeHint().width(),
              static_cast<int>(std::ceil(FittedText::fit("Sichtbar", style, 0).size.width())));
    label.resize(label.sizeHint());
    QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    label.render(&image);
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += qRed(image.pixel(x, y)) > 128 ? 1 : 0;
    EXPECT_GT(lit, 20);
    EXPECT_EQ(label.accessibleName(), QStringLiteral("Sichtbar"));
}

} // namespace
} // namespace vesk
