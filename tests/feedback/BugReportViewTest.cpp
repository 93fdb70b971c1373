#include "FeedbackTestScene.h"

#include "feedback/BugReportCategorySwitch.h"
#include "feedback/BugReportView.h"
#include "ui/TextLabel.h"
#include "ui/ToggleSwitch.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>

namespace vesk::test {
namespace {

class BugReportViewTest : public FeedbackTestScene {
protected:
    std::unique_ptr<BugReportView> makeView(BugReportService::Folders folders)
    {
        auto service =
            std::make_unique<BugReportService>(sender(), logStore(), desktop.workspace(), std::move(folders));
        auto model = std::make_unique<BugReportFormModel>(std::move(service), [] { return report().metadata; });
        auto view = std::make_unique<BugReportView>(std::move(model), [this] { ++closeCount; });
        view->show();
        return view;
    }
    std::unique_ptr<BugReportView> makeView() { return makeView({downloads(), temporary()}); }

    template <typename T>
    static T* find(
        const BugReportView& view, const std::function<bool(T*)>& matches = [](T*) { return true; })
    {
        for (T* child : view.findChildren<T*>()) {
            if (matches(child))
                return child;
        }
        return nullptr;
    }
    static QPushButton* button(const BugReportView& view, const QString& text)
    {
        return find<QPushButton>(view, [&](QPushButton* b) { return b->text() == text && b->isVisibleTo(&view); });
    }
    static bool showsText(const BugReportView& view, const QString& text)
    {
        return find<TextLabel>(view, [&](TextLabel* l) { return l->text() == text && l->isVisibleTo(&view); })
               != nullptr;
    }

    void fill(BugReportView& view, const QString& title, const QString& details)
    {
        QLineEdit* titleField = find<QLineEdit>(view, [](QLineEdit* e) { return e->placeholderText() == "Titel"; });
        titleField->setFocus();
        titleField->selectAll();
        QTest::keyClicks(titleField, title);
        find<QPlainTextEdit>(view)->setPlainText(details);
    }

    void sendAndWaitForResult(BugReportView& view)
    {
        const int ended = capture.count("submit: sent to worker") + capture.count("submit: export");
        QTest::mouseClick(button(view, "Senden"), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] {
            scheduler.runPending();
            return capture.count("submit: sent to worker") + capture.count("submit: export") > ended;
        }));
    }

    void render(BugReportView& view, const QString& name)
    {
        view.grab().save(QStringLiteral(VESK_FEEDBACK_RENDER_DIR "/bug-report-form-%1.png").arg(name));
    }

    int closeCount = 0;
};

TEST_F(BugReportViewTest, FreshFormStartsWithBugAndLogsOnAndCannotSend)
{
    auto view = makeView();
    EXPECT_EQ(find<BugReportCategorySwitch>(*view)->selected(), BugReportCategory::bug);
    EXPECT_EQ(find<QPlainTextEdit>(*view)->placeholderText(), "Was ist passiert? Was hast du erwartet?");
    EXPECT_TRUE(find<ToggleSwitch>(*view)->isChecked());
    EXPECT_FALSE(showsText(*view, "Senden fehlgeschlagen. Bitte versuche es erneut."));
    EXPECT_FALSE(button(*view, "Senden")->isEnabled());
    EXPECT_EQ(view->width(), 460);
    render(*view, "1-no-result");
}

TEST_F(BugReportViewTest, SendFollowsEveryKeystrokeAndCategoryKeepsTheText)
{
    auto view = makeView();
    fill(*view, "   ", "Beschreibung");
    EXPECT_FALSE(button(*view, "Senden")->isEnabled());
    fill(*view, " x ", " \n ");
    EXPECT_FALSE(button(*view, "Senden")->isEnabled());
    fill(*view, " x ", " y ");
    EXPECT_TRUE(button(*view, "Senden")->isEnabled());

    auto* categories = find<BugReportCategorySwitch>(*view);
    QTest::mouseClick(categories, Qt::LeftButton, {},
                      categories->segmentRect(BugReportCategory::idea).center().toPoint());
    EXPECT_EQ(view->model().category(), BugReportCategory::idea);
    EXPECT_EQ(find<QPlainTextEdit>(*view)->placeholderText(), "Beschreibe deine Idee …");
    EXPECT_EQ(find<QPlainTextEdit>(*view)->toPlainText(), " y ");
}

TEST_F(BugReportViewTest, ContactIsSentAsTypedAndEmptyMeansNone)
{
    auto view = makeView();
    EXPECT_EQ(view->model().makeReport().contactEmail, std::nullopt);
    QLineEdit* contact = find<QLineEdit>(*view, [](QLineEdit* e) { return e->placeholderText().startsWith("E-Mail"); });
    QTest::keyClicks(contact, " a@b.de ");
    EXPECT_EQ(view->model().makeReport().contactEmail, " a@b.de ");
}

// The form opens with the keyboard in the title; a click into another field
// takes the keyboard there, and what is typed next lands in that field.
TEST_F(BugReportViewTest, AClickIntoAFieldTakesTheKeyboardThere)
{
    auto view = makeView();
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QLineEdit* title = find<QLineEdit>(*view, [](QLineEdit* e) { return e->placeholderText() == "Titel"; });
    QLineEdit* contact = find<QLineEdit>(*view, [](QLineEdit* e) { return e->placeholderText().startsWith("E-Mail"); });
    auto* details = find<QPlainTextEdit>(*view);
    title->setFocus();

    QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, details->viewport()->rect().center());
    QTest::keyClicks(QApplication::focusWidget(), "Beschreibung");
    QTest::mouseClick(contact, Qt::LeftButton, {}, contact->rect().center());
    QTest::keyClicks(QApplication::focusWidget(), "a@b.de");

    EXPECT_EQ(title->text(), "");
    EXPECT_EQ(details->toPlainText(), "Beschreibung");
    EXPECT_EQ(contact->text(), "a@b.de");
}

TEST_F(BugReportViewTest, EscapeAndTheCloseButtonsCallTheHostsCloseAction)
{
    auto view = makeView();
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QTest::keyClick(find<QLineEdit>(*view), Qt::Key_Escape);
    EXPECT_EQ(closeCount, 1);
    QTest::mouseClick(button(*view, "Abbrechen"), Qt::LeftButton);
    EXPECT_EQ(closeCount, 2);
}

TEST_F(BugReportViewTest, ReturnSendsOnlyAValidReport)
{
    auto view = makeView();
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    fill(*view, "Titel", " ");
    QLineEdit* title = find<QLineEdit>(*view);
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_FALSE(capture.contains("submit: "));

    find<QPlainTextEdit>(*view)->setPlainText("Text");
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_TRUE(capture.contains("submit: category=Bug includeLogs=true"));
}

TEST_F(BugReportViewTest, ResultLineShowsExportedAndFailedAndKeepsTheFields)
{
    server.enqueueStatus(500);
    auto view = makeView();
    fill(*view, "Absturz", "Beim Start stürzt VESK ab.");
    sendAndWaitForResult(*view);
    EXPECT_TRUE(showsText(*view, "Versand nicht möglich — der Bericht wurde im Finder gespeichert."));
    EXPECT_EQ(find<QPlainTextEdit>(*view)->toPlainText(), "Beim Start stürzt VESK ab.");
    render(*view, "2-exported");

    QFile blocker(root.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    auto failing = makeView({blocker.fileName() + "/Downloads", temporary()});
    server.enqueueStatus(500);
    fill(*failing, "Absturz", "Beim Start stürzt VESK ab.");
    sendAndWaitForResult(*failing);
    EXPECT_TRUE(showsText(*failing, "Senden fehlgeschlagen. Bitte versuche es erneut."));
    EXPECT_FALSE(showsText(*failing, "Versand nicht möglich — der Bericht wurde im Finder gespeichert."));
    EXPECT_TRUE(button(*failing, "Senden")->isEnabled());
    render(*failing, "3-failed");
}

TEST_F(BugReportViewTest, SuccessShowsTheThankYouFaceWhoseButtonsClose)
{
    auto view = makeView();
    fill(*view, "Idee", "Ein dunkles Symbol wäre schön.");
    sendAndWaitForResult(*view);
    EXPECT_TRUE(showsText(*view, "Danke! Dein Bericht wurde gesendet."));
    EXPECT_EQ(button(*view, "Senden"), nullptr);
    render(*view, "4-success");

    QTest::mouseClick(button(*view, "Schließen"), Qt::LeftButton);
    EXPECT_EQ(closeCount, 1);
}

} // namespace
} // namespace vesk::test
