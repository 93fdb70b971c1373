#pragma once

#include "analytics/ReflectionReasonCategory.h"
#include "session/SessionReflectionPrompt.h"
#include "store/GoalStatus.h"
#include "store/VeskHelpful.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace vesk {

// The answers of the reflection card after a session, until they are saved or
// dismissed; the card draws them and hands every click here. One model per
// prompt: a new prompt starts with nothing chosen and the note closed.
class SessionReflectionModel final : public QObject {
    Q_OBJECT

public:
    static constexpr int noteLimit = 280;

    using SaveAction = std::function<void(std::optional<GoalStatus>, std::optional<VeskHelpful>,
                                          std::optional<QString> note, std::optional<ReflectionReasonCategory>)>;

    SessionReflectionModel(SessionReflectionPrompt prompt, SaveAction onSave, std::function<void()> onLater,
                           QObject* parent = nullptr);

    const SessionReflectionPrompt& prompt() const { return prompt_; }
    std::optional<GoalStatus> selectedGoalStatus() const { return selectedGoalStatus_; }
    std::optional<VeskHelpful> selectedVeskHelpful() const { return selectedVeskHelpful_; }
    std::optional<ReflectionReasonCategory> selectedReason() const { return selectedReason_; }
    bool isNoteExpanded() const { return isNoteExpanded_; }
    const QString& noteText() const { return noteText_; }
    // Characters of the note as a user counts them.
    int noteCharacterCount() const;

    // Whether the card asks for the goal: only when the session had one.
    bool showsGoalQuestion() const { return prompt_.goalText.has_value(); }
    // Asked when the session helped only somewhat or not at all.
    bool showsReasonQuestion() const;
    // A goal status or a helpfulness answer is needed; a reason or a note alone is not enough.
    bool canSave() const { return selectedGoalStatus_ || selectedVeskHelpful_; }

    // The header's title (German, to be looked up) and its times: how the
    // session ended, the time it ran (the plan for an expired timer) and the plan.
    const char* headerTitle() const;
    QString headerTimes() const;
    bool endedByEmergencyExit() const { return prompt_.endReason == SessionEndReason::emergencyExit; }

    // The note trimmed; none when blank; at most 280 characters.
    std::optional<QString> trimmedNote() const;

    // Choosing the chosen answer again clears it.
    void toggleGoalStatus(GoalStatus status);
    void toggleHelpful(VeskHelpful helpful);
    void toggleReason(ReflectionReasonCategory reason);
    void expandNote();
    // Keeps the first 280 characters of what was typed or pasted.
    void setNoteText(const QString& text);

    // Hands the answers to the host; the reason only while it is asked for.
    void save();
    void later();

signals:
    void changed();

private:
    template <typename T>
    void toggle(std::optional<T>& selection, T value);

    SessionReflectionPrompt prompt_;
    SaveAction onSave_;
    std::function<void()> onLater_;
    std::optional<GoalStatus> selectedGoalStatus_;
    std::optional<VeskHelpful> selectedVeskHelpful_;
    std::optional<ReflectionReasonCategory> selectedReason_;
    bool isNoteExpanded_ = false;
    QString noteText_;
};

} // namespace vesk
