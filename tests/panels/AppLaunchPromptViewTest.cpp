#include "PanelsFixture.h"

#include "panels/AppLaunchPromptView.h"
#include "ui/FilledButton.h"
#include "ui/FittedText.h"
#include "ui/TextLabel.h"

namespace vesk::test {
namespace {

class AppLaunchPromptViewTest : public PanelsFixture {
protected:
    AppLaunchPromptView& makeView(const QString& name, const Localizer& localizer = Localizer())
    {
        view = std::make_unique<AppLaunchPromptView>(
            session, AppLaunchPrompt{QUuid::createUuid(), QStringLiteral("com.example.game"), name}, localizer);
        view->resize(320, 132);
        view->show();
        return *view;
    }

    std::unique_ptr<AppLaunchPromptView> view;
};

TEST_F(AppLaunchPromptViewTest, AsksWithTheNameAndLogsTheIdentifier)
{
    AppLaunchPromptView& prompt = makeView(QStringLiteral("Game"));
    EXPECT_EQ(prompt.question()->text(), "Game in den Vesk holen?");
    EXPECT_EQ(prompt.addButton()->text(), "Hinzufügen");
    EXPECT_EQ(prompt.blockButton()->text(), "Blockieren");
    EXPECT_EQ(prompt.addButton()->width(), prompt.blockButton()->width()) << "the buttons share the row";

    click(prompt.addButton());
    click(prompt.blockButton());
    EXPECT_EQ(session.calls, QStringList({"confirmAppLaunchPrompt(true)", "confirmAppLaunchPrompt(false)"}));
    EXPECT_EQ(log.messages("AppLaunchPromptView"), QStringList({"App-launch prompt — adding com.example.game to Vesk",
                                                                "App-launch prompt — blocking com.example.game"}));
}

TEST_F(AppLaunchPromptViewTest, ALongNameWrapsToTwoLinesAndShrinks)
{
    AppLaunchPromptView& prompt =
        makeView(QStringLiteral("Extremely Long Application Name Edition Professional Deluxe Ultimate"));
    TextLabel* question = prompt.question();
    const FittedText fitted = FittedText::fit(question->text(), question->style(), question->width());
    EXPECT_EQ(fitted.lines.size(), 2);
    EXPECT_LT(fitted.scale, 1.0);
    EXPECT_GE(fitted.scale, 0.82);
    EXPECT_EQ(question->width(), 320 - 2 * 18);
    render(prompt, "prompt-long-name");

    view.reset();
    render(makeView(QStringLiteral("Game")), "prompt-short-name");
}

TEST_F(AppLaunchPromptViewTest, AButtonTitleTooWideForItsHalfOfTheRowShrinksAndStaysWhole)
{
    AppLaunchPromptView& prompt = makeView(QStringLiteral("Game"));
    const std::vector<FilledButton*> buttons{prompt.addButton(), prompt.blockButton()};
    const auto naturalWidth = [](const FilledButton* button) {
        return FittedText::fit(button->text(), button->look().textStyle, 0).size.width();
    };
    const double widest = std::max(naturalWidth(buttons[0]), naturalWidth(buttons[1]));
    // Each half of the row holds 90 % of the wider title.
    prompt.resize(int(2 * widest * 0.9) + 10 + 2 * 18, 132);

    for (const FilledButton* button : buttons) {
        SCOPED_TRACE(button->text().toStdString());
        const FittedText fitted = FittedText::fit(button->text(), button->look().textStyle, button->width());
        EXPECT_EQ(fitted.lines, QStringList{button->text()});
        EXPECT_FALSE(fitted.truncated);
        EXPECT_GE(fitted.scale, 0.82);
        if (naturalWidth(button) == widest) {
            EXPECT_LT(button->width(), widest);
            EXPECT_LT(fitted.scale, 1.0);
        }
    }
}

TEST_F(AppLaunchPromptViewTest, RendersInEveryLanguage)
{
    for (const char* code : {"en", "it", "fr", "es"}) {
        AppLaunchPromptView& prompt =
            makeView(QStringLiteral("Text Editor"), Localizer(QLocale(QString::fromLatin1(code))));
        EXPECT_FALSE(prompt.question()->text().contains("holen")) << code;
        render(prompt, QStringLiteral("prompt-%1").arg(code));
    }
}

} // namespace
} // namespace vesk::test
