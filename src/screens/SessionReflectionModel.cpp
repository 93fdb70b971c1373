#include "screens/SessionReflectionModel.h"

#include "session/ClockText.h"
#include "store/GoalRule.h"

namespace vesk {

SessionReflectionModel::SessionReflectionModel(SessionReflectionPrompt prompt, SaveAction onSave,
                                               std::function<void()> onLater, QObject* parent)
    : QObject(parent)
    , prompt_(std::move(prompt))
    , onSave_(std::move(onSave))
    , onLater_(std::move(onLater))
{
}

int SessionReflectionModel::noteCharacterCount() const
{
    return userCharacterCount(noteText_);
}

bool SessionReflectionModel::showsReasonQuestion() const
{
    return selectedVeskHelpful_ == VeskHelpful::somewhat || selectedVeskHelpful_ == VeskHelpful::no;
}

const char* SessionReflectionModel::headerTitle() const
{
    switch (prompt_.endReason) {
    case SessionEndReason::timerExpired:
        return QT_TRANSLATE_NOOP("SessionReflectionView", "ZEIT ABGELAUFEN");
    case SessionEndReason::emergencyExit:
        return QT_TRANSLATE_NOOP("SessionReflectionView", "NOTAUSGANG");
    default:
        return QT_TRANSLATE_NOOP("SessionReflectionView", "SESSION VORBEI");
    }
}

QString SessionReflectionModel::headerTimes() const
{
    const QString planned = minutesSecondsText(prompt_.durationSeconds);
    const QString ran = prompt_.endReason == SessionEndReason::timerExpired
                            ? planned
                            : minutesSecondsText(elapsedWholeSeconds(prompt_.startedAt, prompt_.endedAt));
    return QStringLiteral(" · %1 / %2").arg(ran, planned);
}

std::optional<QString> SessionReflectionModel::trimmedNote() const
{
    return trimmedText(noteText_, noteLimit);
}

template <typename T>
void SessionReflectionModel::toggle(std::optional<T>& selection, T value)
{
    if (selection == value)
        selection.reset();
    else
        selection = value;
    emit changed();
}

void SessionReflectionModel::toggleGoalStatus(GoalStatus status)
{
    toggle(selectedGoalStatus_, status);
}

void SessionReflectionModel::toggleHelpful(VeskHelpful helpful)
{
    toggle(selectedVeskHelpful_, helpful);
}

void SessionReflectionModel::toggleReason(ReflectionReasonCategory reason)
{
    toggle(selectedReason_, reason);
}

void SessionReflectionModel::expandNote()
{
    if (isNoteExpanded_)
        return;
    isNoteExpanded_ = true;
    emit changed();
}

void SessionReflectionModel::setNoteText(const QString& text)
{
    const QString limited = prefixOfUserCharacters(text, noteLimit);
    if (limited == noteText_)
        return;
    noteText_ = limited;
    emit changed();
}

void SessionReflectionModel::save()
{
    if (!canSave())
        return;
    onSave_(selectedGoalStatus_, selectedVeskHelpful_, trimmedNote(),
            showsReasonQuestion() ? selectedReason_ : std::nullopt);
}

void SessionReflectionModel::later()
{
    onLater_();
}

} // namespace vesk
