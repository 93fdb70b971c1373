#include "screens/SessionReflectionView.h"
#include "SessionRecords.h"
#include "screens/ReflectionChip.h"
#include "ui/TextLabel.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

class SessionReflectionViewTest : public ::testing::Test {
protected:
    // The card over a host window painted in the setup screen's dark colour.
    SessionReflectionView* make(SessionEndReason reason, int planned, qint64 ranSeconds, std::optional<QString> goal,
                                const Localizer& localizer = Localizer())
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
        auto* view = new SessionReflectionView(std::move(model), localizer, host.get());
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
    static void click(QWidget* widget)
    {
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    void render(SessionReflectionView&, const QString& name)
    {
        host->grab().save(QStringLiteral(VESK_SCREENS_RENDER_DIR "/reflection-card-%1.png").arg(name));
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

} // namespace
} // namespace vesk::test
