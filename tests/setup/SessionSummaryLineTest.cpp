#include "SetupModelScene.h"

#include "setup/MetaPopoverView.h"
#include "setup/MetaPopoverWindow.h"
#include "setup/SessionSummaryLine.h"
#include "ui/ToggleSwitch.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace vesk::test {
namespace {

TEST(SessionSummaryText, SumsUpAppsDurationHardcoreAndGoal)
{
    struct Case {
        int apps;
        qint64 seconds;
        bool hardcore;
        QString goal;
        QString expected;
    };
    const std::vector<Case> cases{
        {0, 0, false, "", "0 Apps · Unbegrenzt · Ziel setzen"},
        {1, 2700, false, "", "1 App · 45 Min · Ziel setzen"},
        {2, 1800, true, "", "2 Apps · 30 Min · Hardcore · Ziel setzen"},
        {3, 90, false, "   \n\t ", "3 Apps · 1 Min · Ziel setzen"},
        {5, 7200, false, "Kapitel drei fertig", "5 Apps · 120 Min · Ziel: Kapitel drei fert…"},
        {5, 900, false, "Kapitel drei ferti", "5 Apps · 15 Min · Ziel: Kapitel drei ferti"},
        {5, 900, false, "  Kapitel drei ferti \n", "5 Apps · 15 Min · Ziel: Kapitel drei ferti"},
        {4, 59, true, "Lesen", "4 Apps · 0 Min · Hardcore · Ziel: Lesen"},
    };
    for (const Case& testCase : cases) {
        const auto text = SessionSummaryLine::text(testCase.apps, testCase.seconds, testCase.hardcore, testCase.goal);
        EXPECT_EQ(text.whole(), testCase.expected);
        EXPECT_EQ(text.asksForGoal, testCase.goal.trimmed().isEmpty()) << testCase.expected.toStdString();
    }
}

TEST(SessionSummaryText, ShortensByUserCharactersAndShowsTheWholeGoalAsTooltip)
{
    const QString family =
        QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
    const QString eighteen = QString(17, 'x') + family;
    EXPECT_EQ(SessionSummaryLine::text(1, 900, false, eighteen).goal, " · Ziel: " + eighteen);
    const QString nineteen = QString(16, 'x') + family + "yz";
    EXPECT_EQ(SessionSummaryLine::text(1, 900, false, nineteen).goal, " · Ziel: " + QString(16, 'x') + family + "…");

    const QString long100 = QString(100, 'g');
    EXPECT_EQ(SessionSummaryLine::text(1, 900, false, "  " + long100).tooltip, QString(80, 'g'));
    EXPECT_EQ(SessionSummaryLine::text(1, 900, false, " ").tooltip, "Ziel setzen");
}

class SessionSummaryLineTest : public SetupModelScene {
protected:
    void SetUp() override
    {
        SetupModelScene::SetUp();
        host.resize(360, 60);
        host.setAttribute(Qt::WA_StyledBackground);
        host.setStyleSheet("background: rgb(10, 10, 12);");
        line = new SessionSummaryLine(*model, scheduler, scheduler, {}, &host);
        line->setGeometry(0, 20, 360, line->sizeHint().height());
        host.show();
        QCoreApplication::processEvents();
    }

    void closePending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QWidget host;
    SessionSummaryLine* line = nullptr;
};

TEST_F(SessionSummaryLineTest, FollowsTheModel)
{
    model->setSelectedBundleIDs({editor, browser});
    model->setSessionDuration(2700);
    model->setSessionGoalText("Kapitel drei fertig");
    EXPECT_EQ(line->currentText().whole(), "2 Apps · 45 Min · Ziel: Kapitel drei fert…");
    EXPECT_EQ(line->toolTip(), "Kapitel drei fertig");
}

TEST_F(SessionSummaryLineTest, PressingOpensThePopoverUnderTheLineAndEscapeClosesIt)
{
    QTest::mouseClick(line, Qt::LeftButton, {}, line->rect().center());
    EXPECT_TRUE(model->isMetaPopoverShown());
    MetaPopoverWindow* popover = line->popover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(popover->mapToGlobal(popover->arrowTip().toPoint()), line->mapToGlobal(QPoint(180, line->height())));
    scheduler.advance(0);
    EXPECT_TRUE(popover->view()->goalField()->hasFocus()) << "the goal field takes the focus";

    QTest::keyClick(popover->view(), Qt::Key_Escape);
    EXPECT_FALSE(model->isMetaPopoverShown());
    EXPECT_EQ(line->popover(), nullptr);
    EXPECT_FALSE(popover->isVisible());
    closePending();

    model->setMetaPopoverShown(true);
    ASSERT_NE(line->popover(), nullptr) << "it opens again at once";
    EXPECT_TRUE(line->popover()->isVisible());
}

// The popover follows the model without writing back into it: a switch that
// echoed the hardcore flag made the line build popovers within popovers.
TEST_F(SessionSummaryLineTest, OpensOnePopoverOverAHardcoreSessionAndLeavesTheModelAlone)
{
    model->setSessionHardcore(true);
    QSignalSpy changes(model.get(), &SessionSetupModel::changed);
    QTest::mouseClick(line, Qt::LeftButton, {}, line->rect().center());
    ASSERT_NE(line->popover(), nullptr);
    EXPECT_TRUE(line->popover()->view()->hardcoreSwitch()->isChecked());
    EXPECT_EQ(changes.count(), 1) << "only the popover's own flag changed";
    EXPECT_EQ(line->findChildren<MetaPopoverWindow*>().size(), 1);

    line->popover()->view()->hardcoreSwitch()->click();
    EXPECT_FALSE(model->sessionHardcore());
}

TEST_F(SessionSummaryLineTest, AClickOutsideClosesThePopoverThroughTheModel)
{
    model->setMetaPopoverShown(true);
    MetaPopoverWindow* popover = line->popover();
    ASSERT_NE(popover, nullptr);
    popover->close(); // what the window system does on a click outside a popup
    EXPECT_FALSE(model->isMetaPopoverShown());
    EXPECT_EQ(line->popover(), nullptr);
    closePending();
    model->setMetaPopoverShown(true);
    ASSERT_NE(line->popover(), nullptr);
}

TEST_F(SessionSummaryLineTest, HoveringUnderlinesAndBrightensTheLine)
{
    model->setSelectedBundleIDs({editor});
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    const QImage quiet = host.grab().toImage();
    EXPECT_TRUE(quiet.save(QStringLiteral(VESK_GALLERY_DIR "/summary-line.png")));
    line->setHovered(true);
    scheduler.advance(0.2);
    EXPECT_TRUE(line->isHovered());
    const QImage hovered = host.grab().toImage();
    EXPECT_TRUE(hovered.save(QStringLiteral(VESK_GALLERY_DIR "/summary-line-hovered.png")));
    // The leading pieces brighten from textSecondary towards textPrimary.
    const auto brightest = [](const QImage& image, int fromX, int toX) {
        int best = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = fromX; x < toX; ++x)
                best = std::max(best, qGray(image.pixel(x, y)));
        return best;
    };
    EXPECT_GT(brightest(hovered, 0, 150), brightest(quiet, 0, 150) + 40);
}

} // namespace
} // namespace vesk::test
