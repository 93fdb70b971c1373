#pragma once

#include "screens/SessionReflectionView.h"
#include "ui/Localizer.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace vesk {

class Clock;
class SessionManager;

// Lays the reflection card over a surface of the main window (the setup
// screen) while the session manager holds a pending reflection prompt: a new
// card with nothing chosen for each prompt, gone when the prompt is cleared.
// "Speichern" saves the answers with the current date; "Später", Escape and a
// click beside the card dismiss. A save the store refuses leaves the prompt
// pending, so the card stays with its answers.
class SessionReflectionHost final : public QObject {
    Q_OBJECT

public:
    SessionReflectionHost(QWidget& surface, SessionManager& sessionManager, const Clock& clock, Localizer localizer,
                          QObject* parent = nullptr);
    ~SessionReflectionHost() override;

    // The language of the cards shown from now on.
    void setLocalizer(Localizer localizer) { localizer_ = std::move(localizer); }

    // The card shown now; null while no reflection is pending.
    SessionReflectionView* card() const { return card_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QWidget& surface_;
    SessionManager& sessionManager_;
    const Clock& clock_;
    Localizer localizer_;
    QPointer<SessionReflectionView> card_;
};

} // namespace vesk
