#pragma once

#include "logging/VeskLogger.h"
#include "panels/AppLaunchPrompt.h"
#include "ui/Localizer.h"

#include <QWidget>

namespace vesk {

class FilledButton;
class SessionControlling;
class TextLabel;

// The question for an application launched during a session that is not
// allowed: "<name> in den Vesk holen?" with "Hinzufügen" and "Blockieren".
// The answer goes to the session, which answers its own pending prompt and
// closes the panel.
class AppLaunchPromptView final : public QWidget {
    Q_OBJECT

public:
    AppLaunchPromptView(SessionControlling& session, AppLaunchPrompt prompt, const Localizer& localizer = Localizer(),
                        QWidget* parent = nullptr);

    const AppLaunchPrompt& prompt() const { return prompt_; }
    TextLabel* question() const { return question_; }
    FilledButton* addButton() const { return add_; }
    FilledButton* blockButton() const { return block_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void answer(bool allow);

    SessionControlling& session_;
    AppLaunchPrompt prompt_;
    VeskLogger logger_{QStringLiteral("AppLaunchPromptView")};
    TextLabel* question_;
    FilledButton* add_;
    FilledButton* block_;
};

} // namespace vesk
