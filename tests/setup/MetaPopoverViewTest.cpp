#include "SetupModelScene.h"

#include "setup/DurationPill.h"
#include "setup/MetaPopoverView.h"
#include "setup/MetaPopoverWindow.h"
#include "ui/TextLabel.h"
#include "ui/ToggleSwitch.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

namespace vesk::test {
namespace {

class MetaPopoverViewTest : public SetupModelScene {
protected:
    std::unique_ptr<MetaPopoverView> makeView(bool focusGoal = true, const Localizer& localizer = Localizer())
    {
        auto view = std::make_unique<MetaPopoverView>(
            *model, scheduler, focusGoal, [this] { ++dismissals; }, localizer);
        return view;
    }

    std::vector<QString> labels(const MetaPopoverView& view) const
    {
        std::vector<QString> texts;
        for (DurationPill* pill : view.pills())
            texts.push_back(pill->text());
        return texts;
    }

    std::vector<QString> selectedLabels(const MetaPopoverView& view) const
    {
        std::vector<QString> texts;
        for (DurationPill* pill : view.pills()) {
            if (pill->isSelected())
                texts.push_back(pill->text());
        }
        return texts;
    }

    int dismissals = 0;
};

TEST_F(MetaPopoverViewTest, OnePillPerDurationOptionSelectedBySecondsOnly)
{
    auto view = makeView();
    EXPECT_EQ(labels(*view), (std::vector<QString>{"15", "30", "60", "120", "∞"}));
    const std::vector<std::pair<qint64, std::vector<QString>>> cases{{0, {"∞"}},      {1800, {"30"}}, {900, {"15"}},
                                                                     {7200, {"120"}}, {2700, {}},     {-1, {}}};
    for (const auto& [seconds, selected] : cases) {
        model->setSessionDuration(seconds);
        EXPECT_EQ(selectedLabels(*view), selected) << seconds;
    }
    view->pills()[3]->click();
    EXPECT_EQ(model->sessionDuration(), 7200);
    view->pills()[4]->click();
    EXPECT_EQ(model->sessionDuration(), 0);
}

TEST_F(MetaPopoverViewTest, PillsShareTheRowEquallyAndShowTheirSelection)
{
    QWidget row;
    auto* layout = new QHBoxLayout(&row);
    layout->setSpacing(6);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* wide = new DurationPill("120", false);
    auto* narrow = new DurationPill("∞", true);
    int clicks = 0;
    QObject::connect(narrow, &QAbstractButton::clicked, [&] { ++clicks; });
    layout->addWidget(wide, 1);
    layout->addWidget(narrow, 1);
    row.resize(206, 30);
    row.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(wide->width(), 100);
    EXPECT_EQ(narrow->width(), 100);
    QTest::mouseClick(narrow, Qt::LeftButton, {}, QPoint(95, narrow->height() / 2));
    EXPECT_EQ(clicks, 1);

    const VeskTheme& theme = VeskTheme::shared();
    const QImage image = row.grab().toImage();
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) < 3 && std::abs(a.green() - b.green()) < 3
               && std::abs(a.blue() - b.blue()) < 3;
    };
    // The capsule's fill just inside its left end, clear of the label.
    EXPECT_TRUE(near(image.pixelColor(narrow->x() + 12, narrow->height() / 2), theme.accent));
    EXPECT_FALSE(near(image.pixelColor(wide->x() + 12, wide->height() / 2), theme.accent));
}

TEST_F(MetaPopoverViewTest, TheCounterTurnsAccentAtSixtyAndRedAtSeventySix)
{
    const VeskTheme& theme = VeskTheme::shared();
    const QColor red = QColor::fromRgbF(1.0F, 69.0F / 255, 58.0F / 255);
    const std::vector<std::pair<int, QColor>> cases{{0, theme.textSecondary},
                                                    {59, theme.textSecondary},
                                                    {60, theme.accent},
                                                    {75, theme.accent},
                                                    {76, red},
                                                    {80, red}};
    auto view = makeView();
    for (const auto& [count, color] : cases) {
        EXPECT_EQ(MetaPopoverView::counterColor(count), color) << count;
        model->setSessionGoalText(QString(count, 'g'));
        EXPECT_EQ(view->counter()->text(), QString("%1 / 80").arg(count));
        EXPECT_EQ(view->counter()->color(), color) << count;
    }
}

TEST_F(MetaPopoverViewTest, TheGoalStopsAtEightyCharactersTypedOrPasted)
{
    auto view = makeView();
    view->show();
    view->goalField()->setFocus();
    QTest::keyClicks(view->goalField(), QString(81, 'a'));
    EXPECT_EQ(model->sessionGoalText(), QString(80, 'a'));
    EXPECT_EQ(view->goalField()->toPlainText(), QString(80, 'a'));
    EXPECT_EQ(view->counter()->text(), "80 / 80");

    view->goalField()->clear();
    QString paste;
    for (int i = 0; i < 200; ++i)
        paste += QChar('a' + i % 26);
    view->goalField()->insertPlainText(paste);
    EXPECT_EQ(model->sessionGoalText(), paste.left(80));
    EXPECT_EQ(view->goalField()->toPlainText(), paste.left(80));
}

TEST_F(MetaPopoverViewTest, ReturnTrimsTheGoal)
{
    auto view = makeView();
    view->show();
    view->goalField()->setFocus();
    QTest::keyClicks(view->goalField(), "  \t ");
    EXPECT_EQ(model->sessionGoalText(), "  \t ");
    QTest::keyClick(view->goalField(), Qt::Key_Return);
    EXPECT_EQ(model->sessionGoalText(), "");
    EXPECT_EQ(view->goalField()->toPlainText(), "");

    QTest::keyClicks(view->goalField(), " Kapitel 3 ");
    QTest::keyClick(view->goalField(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(view->goalField(), Qt::Key_Return);
    EXPECT_EQ(model->sessionGoalText(), "Kapitel 3");
}

TEST_F(MetaPopoverViewTest, EscapeAndTheCloseButtonOnlyAskTheOwnerToClose)
{
    auto view = makeView();
    view->show();
    view->activateWindow();
    view->goalField()->setFocus();
    QTest::keyClick(view->goalField(), Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
    EXPECT_TRUE(view->isVisible());
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(dismissals, 2);
    QTest::keyClick(view.get(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(dismissals, 2);
}

TEST_F(MetaPopoverViewTest, TheGoalFieldTakesTheFocusOnAppearQueuedOnTheMainQueue)
{
    for (const bool focusGoal : {true, false}) {
        auto view = makeView(focusGoal);
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_FALSE(view->goalField()->hasFocus());
        scheduler.advance(0);
        EXPECT_EQ(view->goalField()->hasFocus(), focusGoal) << focusGoal;
    }
}

TEST_F(MetaPopoverViewTest, TheGoalFieldIsOneLineHighUntilTheGoalNeedsTwo)
{
    auto view = makeView();
    view->show();
    view->goalField()->setFocus();
    const int empty = view->goalField()->height();
    QTest::keyClicks(view->goalField(), "Lesen");
    EXPECT_EQ(view->goalField()->height(), empty) << "an empty field is as high as one line";
    QTest::keyClicks(view->goalField(), " und dann die Quellen im Anhang sauber ordnen, alle");
    const int twoLines = view->goalField()->height();
    EXPECT_GT(twoLines, empty);
    QTest::keyClicks(view->goalField(), " und noch mehr Text fuer eine dritte Zeile");
    EXPECT_EQ(view->goalField()->height(), twoLines) << "at most two lines";
}

TEST_F(MetaPopoverViewTest, TheSwitchSetsHardcore)
{
    auto view = makeView();
    EXPECT_FALSE(view->hardcoreSwitch()->isChecked());
    view->hardcoreSwitch()->click();
    EXPECT_TRUE(model->sessionHardcore());
    model->setSessionHardcore(false);
    EXPECT_FALSE(view->hardcoreSwitch()->isChecked());
}

TEST_F(MetaPopoverViewTest, RendersWithFortyFiveMinutesHardcoreAndARedCounter)
{
    model->setSessionDuration(2700);
    model->setSessionHardcore(true);
    model->setSessionGoalText(
        QString("Kapitel drei der Arbeit fertig schreiben und die Quellen im Anhang sauber ordnen").left(76));
    ASSERT_EQ(model->sessionGoalText().size(), 76);
    QWidget anchor;
    anchor.setGeometry(200, 300, 240, 18);
    anchor.show();
    MetaPopoverWindow window(makeView().release(), [] {});
    window.present(anchor);
    EXPECT_EQ(window.mapToGlobal(window.arrowTip().toPoint()), anchor.mapToGlobal(QPoint(120, 18)));
    EXPECT_TRUE(selectedLabels(*window.view()).empty());
    EXPECT_TRUE(window.view()->hardcoreSwitch()->isChecked());
    EXPECT_EQ(window.view()->counter()->text(), "76 / 80");
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    EXPECT_TRUE(window.grab().save(QStringLiteral(VESK_GALLERY_DIR "/meta-popover-2700-hardcore-76.png")));
}

// Under a control at the bottom of the screen there is no room: the popover
// is lifted to stay on the screen, also when a goal's second line makes it
// taller.
TEST_F(MetaPopoverViewTest, StaysOnTheScreenUnderAControlAtItsBottom)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget anchor;
    anchor.setGeometry(area.left() + 200, area.bottom() - 40, 240, 18);
    anchor.show();
    MetaPopoverWindow window(makeView().release(), [] {});
    window.present(anchor);
    EXPECT_EQ(window.mapToGlobal(window.arrowTip().toPoint()).x(), anchor.mapToGlobal(QPoint(120, 0)).x());
    EXPECT_EQ(window.frameGeometry().bottom(), area.bottom() - MetaPopoverWindow::screenMargin);
    const int oneLine = window.height();
    window.view()->goalField()->setFocus();
    QTest::keyClicks(window.view()->goalField(), "Die Quellen im Anhang sauber ordnen und das Kapitel fertig");
    QApplication::processEvents(); // the layout's new size
    EXPECT_GT(window.height(), oneLine) << "a second line of the goal";
    EXPECT_EQ(window.frameGeometry().bottom(), area.bottom() - MetaPopoverWindow::screenMargin) << "still on it";
}

TEST_F(MetaPopoverViewTest, RendersInEveryLanguage)
{
    model->setSessionDuration(900);
    QWidget anchor;
    anchor.setGeometry(200, 300, 240, 18);
    anchor.show();
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    for (const char* code : {"en", "it", "fr", "es"}) {
        MetaPopoverWindow window(makeView(false, Localizer(QLocale(QString::fromLatin1(code)))).release(), [] {});
        window.present(anchor);
        EXPECT_TRUE(window.grab().save(QStringLiteral(VESK_GALLERY_DIR "/meta-popover-%1.png").arg(code)));
    }
}

} // namespace
} // namespace vesk::test
