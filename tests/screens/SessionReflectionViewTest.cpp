#include "screens/SessionReflectionView.h"
#include "SessionRecords.h"
#include "screens/ReflectionChip.h"
#include "ui/ScaleFadeEffect.h"
#include "ui/TextLabel.h"
#include "ui/UiFixture.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

// One instant of a transition: how far in (seconds after its start), and the
// opacity and scale it should draw with there. The curve is ease out, so in
// the middle of its time a transition has come 68 % of its way.
struct TransitionInstant {
    const char* name;
    double after;
    double opacity;
    double scale;
};

class SessionReflectionViewTest : public UiFixture {
protected:
    // The card over a host window painted in the setup screen's dark colour,
    // entered and still.
    SessionReflectionView* make(SessionEndReason reason, int planned, qint64 ranSeconds, std::optional<QString> goal,
                                const Localizer& localizer = Localizer())
    {
        SessionReflectionView* view = makeEntering(reason, planned, ranSeconds, std::move(goal), localizer);
        scheduler.advance(1);
        return view;
    }
    // The card as it begins to enter.
    SessionReflectionView* makeEntering(SessionEndReason reason, int planned, qint64 ranSeconds,
                                        std::optional<QString> goal, const Localizer& localizer = Localizer())
    {
        const QDateTime start = utc(2026, 3, 5, 14, 0);
        auto model = std::make_unique<SessionReflectionModel>(
            SessionReflectionPrompt{QUuid::createUuid(), start, start.addSecs(ranSeconds), planned, reason,
                                    std::move(goal)},
            [this](std::optional<GoalStatus> g, std::optional<VeskHelpful> h, std::optional<QString> n,
                   std::optional<ReflectionReasonCategory> r) {
                ++saveCount;
                savedGoal = g;
                savedHelpful = h;
                savedNote = n;
                savedReason = r;
            },
            [this] { ++laterCount; });
        host = std::make_unique<QWidget>();
        host->resize(360, 440);
        QPalette palette = host->palette();
        palette.setColor(QPalette::Window, VeskTheme::shared().bgTop);
        host->setPalette(palette);
        host->setAutoFillBackground(true);
        auto* view =
            new SessionReflectionView(std::move(model), {scheduler, scheduler, reducedMotion}, localizer, host.get());
        view->setGeometry(host->rect());
        host->show();
        QApplication::setActiveWindow(host.get());
        return view;
    }

    static ReflectionChip* chip(const SessionReflectionView& view, const QString& text)
    {
        for (auto* candidate : view.findChildren<ReflectionChip*>()) {
            if (candidate->text() == text && candidate->isVisibleTo(&view))
                return candidate;
        }
        return nullptr;
    }
    static QPushButton* button(const SessionReflectionView& view, const QString& text)
    {
        for (auto* candidate : view.findChildren<QPushButton*>()) {
            if (candidate->text() == text && candidate->isVisibleTo(&view))
                return candidate;
        }
        return nullptr;
    }
    static TextLabel* textLabel(const SessionReflectionView& view, const QString& text)
    {
        for (auto* candidate : view.findChildren<TextLabel*>()) {
            if (candidate->text() == text && candidate->isVisibleTo(&view))
                return candidate;
        }
        return nullptr;
    }
    // A click at a person's pace: what it brings in has come when the next one follows.
    void click(QWidget* widget)
    {
        press(widget);
        scheduler.advance(0.5);
    }
    static void press(QWidget* widget)
    {
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    void render(SessionReflectionView&, const QString& name)
    {
        host->grab().save(QStringLiteral(VESK_SCREENS_RENDER_DIR "/reflection-card-%1.png").arg(name));
    }
    // Into the gallery, beside the setup screen's.
    void renderToGallery(const QString& name)
    {
        // The scroll bar hides itself through a queued call once the sections fit.
        QCoreApplication::processEvents();
        QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
        host->grab().save(QStringLiteral(VESK_GALLERY_DIR "/%1.png").arg(name));
    }

    // Runs a transition through its instants: at each, checks the opacity
    // and scale it draws with, renders the card into the gallery, and keeps
    // what `measure` reads.
    template <typename Measure>
    auto play(const TransitionInstant (&instants)[3], const ScaleFadeEffect& transition, Measure measure)
    {
        double elapsed = 0;
        std::vector<decltype(measure(instants[0]))> measured;
        for (const TransitionInstant& instant : instants) {
            SCOPED_TRACE(instant.name);
            scheduler.advance(instant.after - elapsed);
            elapsed = instant.after;
            EXPECT_NEAR(transition.opacity(), instant.opacity, 0.005);
            EXPECT_NEAR(transition.scale(), instant.scale, 0.0005);
            renderToGallery(instant.name);
            measured.push_back(measure(instant));
        }
        return measured;
    }

    std::unique_ptr<QWidget> host;
    int saveCount = 0;
    int laterCount = 0;
    std::optional<GoalStatus> savedGoal;
    std::optional<VeskHelpful> savedHelpful;
    std::optional<QString> savedNote;
    std::optional<ReflectionReasonCategory> savedReason;
};

TEST_F(SessionReflectionViewTest, AFreshCardAsksForTheGoalAndHelpfulnessAndCannotSaveYet)
{
    auto view = make(SessionEndReason::timerExpired, 1800, 1795, QStringLiteral("Kapitel 3 des Berichts schreiben"));
    render(*view, "fresh");
    EXPECT_NE(textLabel(*view, "ZEIT ABGELAUFEN · 30:00 / 30:00"), nullptr);
    EXPECT_NE(textLabel(*view, "Vesk beendet"), nullptr);
    EXPECT_NE(textLabel(*view, "ZIEL"), nullptr);
    EXPECT_NE(textLabel(*view, "Kapitel 3 des Berichts schreiben"), nullptr);
    EXPECT_EQ(textLabel(*view, "Woran lag es?"), nullptr);
    for (const char* text : {"Erledigt", "Teilweise", "Nicht geschafft", "Ja", "Etwas", "Nein"})
        EXPECT_NE(chip(*view, text), nullptr) << text;
    EXPECT_NE(button(*view, "Notiz hinzufügen"), nullptr);
    ASSERT_NE(button(*view, "Speichern"), nullptr);
    EXPECT_FALSE(button(*view, "Speichern")->isEnabled());
    EXPECT_EQ(view->card()->width(), SessionReflectionView::cardWidth);
    EXPECT_LE(view->card()->height(), SessionReflectionView::cardMaximumHeight);
    EXPECT_EQ(view->card()->geometry().center(), view->rect().center());
}

TEST_F(SessionReflectionViewTest, ChosenAnswersReasonAndNoteAreWhatSpeichernHandsOn)
{
    auto view = make(SessionEndReason::manualStop, 3600, 725, QStringLiteral("Inbox leeren"));
    EXPECT_NE(textLabel(*view, "SESSION VORBEI · 12:05 / 60:00"), nullptr);
    click(chip(*view, "Teilweise"));
    click(chip(*view, "Etwas"));
    ASSERT_NE(textLabel(*view, "Woran lag es?"), nullptr);
    click(chip(*view, "Ablenkung kam trotzdem durch"));
    click(button(*view, "Notiz hinzufügen"));
    auto* editor = view->findChild<QPlainTextEdit*>();
    ASSERT_TRUE(editor && editor->isVisibleTo(view));
    QTest::keyClicks(editor, QStringLiteral("Mails kamen durch"));
    EXPECT_NE(textLabel(*view, "17 / 280"), nullptr);
    EXPECT_TRUE(chip(*view, "Teilweise")->isSelected());
    render(*view, "answered");

    click(button(*view, "Speichern"));
    EXPECT_EQ(saveCount, 1);
    EXPECT_EQ(savedGoal, GoalStatus::partial);
    EXPECT_EQ(savedHelpful, VeskHelpful::somewhat);
    EXPECT_EQ(savedReason, ReflectionReasonCategory::distractionGotThrough);
    EXPECT_EQ(savedNote, QStringLiteral("Mails kamen durch"));
    EXPECT_EQ(laterCount, 0);
}

// Half the card is narrow for a whole reason: where one line would cut it,
// the reason takes a second one, in every language.
TEST_F(SessionReflectionViewTest, EveryReasonShowsWholeInEveryLanguage)
{
    for (const char* code : {"de", "en", "it", "fr", "es"}) {
        const Localizer localizer{QLocale(QString::fromLatin1(code))};
        auto view = make(SessionEndReason::manualStop, 1800, 600, std::nullopt, localizer);
        click(chip(*view, localizer.translate("SessionReflectionView", "Etwas")));
        scheduler.advance(1); // the reasons come in
        QApplication::processEvents();
        const auto reasons = view->findChildren<ReflectionChip*>();
        ASSERT_EQ(reasons.size(), 8u) << code;
        for (const ReflectionChip* reason : reasons)
            EXPECT_TRUE(reason->showsWholeText()) << code << ": " << reason->text().toStdString();
        render(*view, QStringLiteral("reasons-%1").arg(QString::fromLatin1(code)));
    }
}

TEST_F(SessionReflectionViewTest, WithoutAGoalOnlyHelpfulnessEnablesSavingAndTheReasonsComeAndGo)
{
    auto view = make(SessionEndReason::emergencyExit, 0, 5400, std::nullopt);
    EXPECT_NE(textLabel(*view, "NOTAUSGANG · 90:00 / 00:00"), nullptr);
    EXPECT_EQ(textLabel(*view, "NOTAUSGANG · 90:00 / 00:00")->color(), VeskTheme::shared().danger);
    EXPECT_EQ(chip(*view, "Erledigt"), nullptr);
    EXPECT_EQ(textLabel(*view, "ZIEL"), nullptr);
    click(chip(*view, "Nein"));
    EXPECT_TRUE(button(*view, "Speichern")->isEnabled());
    click(chip(*view, "Anderes"));
    render(*view, "emergency-reasons");
    click(chip(*view, "Ja"));
    EXPECT_EQ(chip(*view, "Anderes"), nullptr);
    click(chip(*view, "Ja"));
    EXPECT_FALSE(button(*view, "Speichern")->isEnabled());
}

TEST_F(SessionReflectionViewTest, APastedTextIsCutAtOnceAndTheCounterShowsTheLimit)
{
    auto view = make(SessionEndReason::manualStop, 1800, 60, std::nullopt);
    click(button(*view, "Notiz hinzufügen"));
    auto* editor = view->findChild<QPlainTextEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->insertPlainText(QString(300, QLatin1Char('x')));
    EXPECT_EQ(editor->toPlainText(), QString(280, QLatin1Char('x')));
    EXPECT_NE(textLabel(*view, "280 / 280"), nullptr);
    render(*view, "note-full");
}

TEST_F(SessionReflectionViewTest, AnOpenedNoteTakesWhatIsTypedNext)
{
    auto view = make(SessionEndReason::manualStop, 1800, 60, QStringLiteral("Ziel"));
    click(button(*view, "Notiz hinzufügen"));
    auto* editor = view->findChild<QPlainTextEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), "Guter Tag");
    EXPECT_EQ(editor->toPlainText(), "Guter Tag");
}

TEST_F(SessionReflectionViewTest, EscapeAndTheBackdropDismissButTheCardDoesNot)
{
    auto view = make(SessionEndReason::manualStop, 1800, 60, QStringLiteral("Ziel"));
    QTest::mouseClick(view->card(), Qt::LeftButton, {}, QPoint(150, 8));
    EXPECT_EQ(laterCount, 0);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(laterCount, 1);
    click(button(*view, "Notiz hinzufügen"));
    QTest::keyClick(view->findChild<QPlainTextEdit*>(), Qt::Key_Escape);
    EXPECT_EQ(laterCount, 2);
    click(button(*view, "Später"));
    EXPECT_EQ(laterCount, 3);
    EXPECT_EQ(saveCount, 0);
}

TEST_F(SessionReflectionViewTest, TheCardEntersAndLeavesFadingAndScalingFrom096AboutItsCentre)
{
    const TransitionInstant entering[] = {
        {"reflection-enter-0", 0, 0, 0.96},
        {"reflection-enter-mid", 0.12, 0.685, 0.9874},
        {"reflection-enter-end", 0.24, 1, 1},
    };
    const TransitionInstant leaving[] = {
        {"reflection-leave-0", 0, 1, 1},
        {"reflection-leave-mid", 0.12, 0.315, 0.9726},
        {"reflection-leave-end", 0.24, 0, 0.96},
    };
    auto* view = makeEntering(SessionEndReason::timerExpired, 1800, 1800, QStringLiteral("Bericht gliedern"));
    int leftCount = 0;
    QObject::connect(view, &SessionReflectionView::left, [&] { ++leftCount; });
    const auto backdropLightness = [this] { return host->grab().toImage().pixelColor(5, 5).lightness(); };
    const int windowLightness = VeskTheme::shared().bgTop.lightness();
    const auto shownAndBackdrop = [&](const TransitionInstant&) {
        EXPECT_TRUE(view->isVisible());
        return backdropLightness();
    };

    const std::vector<int> entered = play(entering, view->cardTransition(), shownAndBackdrop);
    EXPECT_EQ(entered[0], windowLightness) << "nothing of the card or its backdrop at the start";
    EXPECT_LT(entered[1], entered[0]);
    EXPECT_LT(entered[2], entered[1]) << "the backdrop darkens as the card comes";
    scheduler.advance(0.05);
    EXPECT_FALSE(view->card()->graphicsEffect()->isEnabled()) << "a card at rest is drawn as it is";

    view->leave();
    EXPECT_TRUE(view->isLeaving());
    const std::vector<int> left = play(leaving, view->cardTransition(), shownAndBackdrop);
    EXPECT_GT(left[1], left[0]);
    EXPECT_EQ(leftCount, 0) << "gone only after its last frame";
    QTest::mouseClick(host.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(host.get(), Qt::Key_Escape);
    EXPECT_EQ(laterCount, 0) << "a leaving card takes no input";
    scheduler.advance(0.05);
    EXPECT_EQ(leftCount, 1);
    EXPECT_EQ(backdropLightness(), windowLightness);
    scheduler.advance(1);
    EXPECT_EQ(leftCount, 1);
}

TEST_F(SessionReflectionViewTest, TheReasonSectionComesAndGoesFadingAndScalingFrom098WhileTheCardFollowsItsHeight)
{
    const TransitionInstant coming[] = {
        {"reflection-reason-enter-0", 0, 0, 0.98},
        {"reflection-reason-enter-mid", 0.1, 0.685, 0.9937},
        {"reflection-reason-enter-end", 0.2, 1, 1},
    };
    const TransitionInstant going[] = {
        {"reflection-reason-leave-0", 0, 1, 1},
        {"reflection-reason-leave-mid", 0.1, 0.315, 0.9863},
        {"reflection-reason-leave-end", 0.2, 0, 0.98},
    };
    auto* view = make(SessionEndReason::manualStop, 3600, 725, std::nullopt);
    QWidget* note = button(*view, "Notiz hinzufügen");
    ASSERT_NE(note, nullptr);
    const auto noteTop = [&] { return note->mapTo(view, QPoint()).y(); };
    const int cardHeightBefore = view->card()->height();
    const int noteTopBefore = noteTop();

    const auto cardHeightAndNoteTop = [&](const TransitionInstant& instant) {
        if (instant.opacity > 0 && instant.opacity < 1) {
            EXPECT_TRUE(view->reasonSection()->isVisibleTo(view)) << "on its way";
        }
        EXPECT_FALSE(view->findChild<QScrollArea*>()->verticalScrollBar()->isVisible())
            << "the card grows with its sections, which never need to scroll here";
        return std::pair(view->card()->height(), noteTop());
    };

    press(chip(*view, "Etwas"));
    EXPECT_TRUE(view->reasonSection()->isVisibleTo(view)) << "there at once, if not yet seen";
    const auto came = play(coming, view->reasonTransition(), cardHeightAndNoteTop);
    EXPECT_EQ(came[0], std::pair(cardHeightBefore, noteTopBefore));
    EXPECT_GT(came[1].first, cardHeightBefore);
    EXPECT_GT(came[2].first, came[1].first) << "the card grows with the section";
    EXPECT_GT(came[1].second, noteTopBefore);
    EXPECT_GT(came[2].second, came[1].second) << "the note moves down with it";
    EXPECT_TRUE(view->reasonSection()->isVisibleTo(view));
    scheduler.advance(0.05);
    EXPECT_FALSE(view->reasonSection()->graphicsEffect()->isEnabled());
    EXPECT_EQ(view->card()->geometry().center(), view->rect().center());

    press(chip(*view, "Ja"));
    const auto went = play(going, view->reasonTransition(), cardHeightAndNoteTop);
    EXPECT_EQ(went[0], came[2]);
    scheduler.advance(0.05);
    EXPECT_FALSE(view->reasonSection()->isVisibleTo(view));
    EXPECT_EQ(view->card()->height(), cardHeightBefore);
    EXPECT_EQ(noteTop(), noteTopBefore);
}

TEST_F(SessionReflectionViewTest, UnderReducedMotionTheCardAndTheReasonsComeAndGoAtOnce)
{
    settings.setReducedMotion(true);
    auto* view = makeEntering(SessionEndReason::manualStop, 3600, 725, std::nullopt);
    EXPECT_DOUBLE_EQ(view->cardTransition().opacity(), 1);
    EXPECT_DOUBLE_EQ(view->cardTransition().scale(), 1);
    EXPECT_FALSE(view->card()->graphicsEffect()->isEnabled());
    const int cardHeightBefore = view->card()->height();

    press(chip(*view, "Nein"));
    EXPECT_DOUBLE_EQ(view->reasonTransition().opacity(), 1);
    EXPECT_TRUE(view->reasonSection()->isVisibleTo(view));
    EXPECT_GT(view->card()->height(), cardHeightBefore);
    press(chip(*view, "Nein"));
    EXPECT_FALSE(view->reasonSection()->isVisibleTo(view));
    EXPECT_EQ(view->card()->height(), cardHeightBefore);

    int leftCount = 0;
    QObject::connect(view, &SessionReflectionView::left, [&] { ++leftCount; });
    view->leave();
    EXPECT_EQ(leftCount, 1);
    EXPECT_DOUBLE_EQ(view->cardTransition().opacity(), 0);
}

} // namespace
} // namespace vesk::test
