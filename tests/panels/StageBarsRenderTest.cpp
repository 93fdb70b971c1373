#include "StageBarsScene.h"

#include "panels/StageVeskBottomControlView.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskControlPanel.h"
#include "panels/StageVeskPanel.h"
#include "panels/StageVeskSettingsControlView.h"
#include "panels/StageVeskSidebarControlView.h"
#include "panels/StageVeskTopControlView.h"
#include "ui/FilledButton.h"

#include <QDir>
#include <QImage>
#include <QLayout>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vesk;
using test::StageBarsScene;

namespace {

constexpr StageVeskScreenID first{1};

// Renders every bar in every mode at twice the point size over a dark
// desktop colour, into the build folder, and samples a few pixels of each.
class StageBarsRenderTest : public ::testing::Test {
protected:
    static constexpr double scale = 2;
    static inline const QColor backdrop{48, 56, 72};

    StageBarsScene scene;
    Localizer german;

    StageBarsRenderTest()
    {
        scene.stage.visible = {{"com.a", {300, 300, 500, 400}}, {"com.b", {700, 200, 500, 400}}};
        scene.stage.service->activate({"com.a", "com.b", "com.c", "com.d"}, {{"com.c", "Chat"}, {"com.d", "Docs"}},
                                      first);
        scene.stage.service->setPhase(StageVeskPhase::split, first);
    }

    QImage render(QWidget& view, QSize size, const QString& name)
    {
        view.resize(size);
        view.show();
        view.layout()->activate();
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(backdrop);
        QPainter painter(&image);
        view.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.end();
        QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
        EXPECT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/stage-bar-%1.png").arg(name)));
        return image;
    }

    static QColor pixel(const QImage& image, double x, double y)
    {
        return image.pixelColor(int(x * scale), int(y * scale));
    }

    static bool isBackdrop(const QColor& color) { return color == backdrop; }
    static FilledButton* button(QWidget& view, const QString& text)
    {
        for (auto* candidate : view.findChildren<FilledButton*>()) {
            if (candidate->text() == text)
                return candidate;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(StageBarsRenderTest, TopBar)
{
    StageVeskTopControlView bar(scene.session, *scene.stage.service, first, german);
    QImage image = render(bar, {620, 42}, "top-no-goal");
    EXPECT_FALSE(isBackdrop(pixel(image, 6, 21))) << "the card reaches the bar's left end";
    EXPECT_TRUE(isBackdrop(pixel(image, 300, 2))) << "the card is as high as its row";

    scene.session.setGoal("Kapitel 3 der Masterarbeit überarbeiten und die Quellen prüfen");
    image = render(bar, {596, 42}, "top-goal-split");
    const QRect split = bar.modeButton(StageVeskPhase::split)->geometry();
    const QPoint splitCentre = bar.modeButton(StageVeskPhase::split)->mapTo(&bar, QPoint(2, split.height() / 2));
    const QColor selected = pixel(image, splitCentre.x(), splitCentre.y());
    EXPECT_GT(selected.red(), selected.blue() + 20) << "the selected mode sits on orange";
}

TEST_F(StageBarsRenderTest, ControlBar)
{
    StageVeskBottomControlView bar(scene.session, *scene.stage.service, first, {}, scene.stage.scheduler,
                                   scene.stage.scheduler, german);
    QImage image = render(bar, {380, 42}, "control-normal");
    EXPECT_TRUE(isBackdrop(pixel(image, 2, 21))) << "the card hugs its row in the middle";
    EXPECT_FALSE(isBackdrop(pixel(image, 190, 21)));

    button(bar, "Verlassen")->click();
    render(bar, {380, 42}, "control-confirmation");

    button(bar, "Abbrechen")->click();
    scene.session.setHardcore(true);
    render(bar, {380, 42}, "control-hardcore");
}

TEST_F(StageBarsRenderTest, SettingsPanel)
{
    scene.stage.screens.list[1].name = "Studio Display";
    VeskDefaultsStore defaults(scene.defaults, [] { return QStringList{"de-DE"}; });
    StageVeskSettingsControlView view(scene.session, *scene.stage.service, defaults, scene.stage.screens, {}, {},
                                      german);
    QImage image = render(view, {360, 420}, "settings-normal");
    EXPECT_FALSE(isBackdrop(pixel(image, 180, 210)));
    EXPECT_TRUE(isBackdrop(pixel(image, 0.2, 0.2))) << "rounded corners";

    scene.session.setHardcore(true);
    render(view, {360, 420}, "settings-hardcore");
}

TEST_F(StageBarsRenderTest, AppsBar)
{
    VeskDefaultsStore defaults(scene.defaults, [] { return QStringList{"de-DE"}; });
    defaults.setStageVeskAgingMinutes(1);
    scene.stage.scheduler.advance(30);
    scene.stage.scheduler.advance(40);
    StageVeskSidebarControlView collapsed(*scene.stage.service, defaults, first, true, {}, {}, scene.stage.scheduler,
                                          german);
    QImage image = render(collapsed, {46, 500}, "apps-collapsed");
    EXPECT_EQ(collapsed.width(), 46);
    EXPECT_GT(pixel(image, 45.5, 250).red(), pixel(image, 40, 250).red() + 10)
        << "the trailing line is lighter than the bar";

    StageVeskSidebarControlView expanded(*scene.stage.service, defaults, first, false, {}, {}, scene.stage.scheduler,
                                         german);
    render(expanded, {172, 500}, "apps-expanded");
}

// The bar windows as the display shows them: with compositing, see-through
// around the card with a shadow beneath it; without, cut to the card.
TEST_F(StageBarsRenderTest, BarWindowsWithAndWithoutCompositing)
{
    for (const bool composites : {false, true}) {
        SCOPED_TRACE(composites ? "compositing" : "no compositing");
        scene.composites = composites;
        StageVeskPanel& panel = scene.show();
        panel.toggleSettingsPanel();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const struct {
            const char* name;
            StageVeskControlPanel* window;
            StageVeskCard* card;
        } windows[] = {
            {"top", panel.topPanels().at(first),
             qobject_cast<StageVeskTopControlView*>(panel.topPanels().at(first)->content())->card()},
            {"control", panel.bottomPanels().at(first),
             qobject_cast<StageVeskBottomControlView*>(panel.bottomPanels().at(first)->content())->card()},
            {"settings", panel.settingsPanel(),
             qobject_cast<StageVeskSettingsControlView*>(panel.settingsPanel()->content())->card()},
        };
        for (const auto& [name, window, card] : windows) {
            const QString file = QStringLiteral("window-%1-%2").arg(name, composites ? "composited" : "opaque");
            // The desktop around the window, as far as any shadow reaches.
            const QPoint offset(40, 40);
            QImage image((window->size() + QSize(80, 80)) * scale, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(scale);
            image.fill(backdrop);
            QPainter painter(&image);
            // Without compositing only the window's shape reaches the display.
            window->render(&painter, offset, window->mask().isEmpty() ? QRegion() : window->mask());
            painter.end();
            EXPECT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/stage-bar-%1.png").arg(file)));

            const QRect cardRect(card->mapTo(window, offset), card->size());
            const QColor belowCard = pixel(image, cardRect.center().x(), cardRect.bottom() + 5);
            const QColor farCorner = pixel(image, 0, 0);
            EXPECT_TRUE(isBackdrop(farCorner)) << name;
            if (composites) {
                EXPECT_LT(belowCard.red(), backdrop.red() - 8) << name << ": the shadow darkens the desktop";
            } else {
                EXPECT_TRUE(isBackdrop(belowCard)) << name << ": nothing around the card";
            }
        }
    }
}
