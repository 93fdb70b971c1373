#pragma once

#include "screens/SessionReflectionView.h"
#include "ui/Localizer.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QWidget;

namespace vesk {

class SessionManager;

// Lays the reflection card over a surface of the main window (the setup
// screen) while the session manager holds a pending reflection prompt: a new
// card with nothing chosen for each prompt, which enters as it comes and
// leaves when the prompt is cleared or replaced. A leaving card stays on the
// surface, taking no input, until its leave has run; a new prompt meanwhile
// gets its own card above it. "Speichern" saves the answers with the current
// date; "Später", Escape and a click beside the card dismiss. A save the
// store refuses leaves the prompt pending, so the card stays with its answers.
class SessionReflectionHost final : public QObject {
    Q_OBJECT

public:
    SessionReflectionHost(QWidget& surface, SessionManager& sessionManager, const SessionReflectionView::Motion& motion,
                          Localizer localizer, QObject* parent = nullptr);
    ~SessionReflectionHost() override;

    // The language of the cards shown from now on.
    void setLocalizer(Localizer localizer) { localizer_ = std::move(localizer); }

    // The card of the pending prompt; null while no reflection is pending.
    SessionReflectionView* card() const { return card_; }
    // Cards whose prompt has gone, still on the surface while they leave.
    std::vector<SessionReflectionView*> leavingCards() const;
    // Whether any card is on the surface, pending or leaving.
    bool isShowingCard() const { return card_ || !leaving_.empty(); }

signals:
    // A card came onto the surface or went from it.
    void cardsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void leave(SessionReflectionView& card);
    void remove(SessionReflectionView* card);
    void showCard(const SessionReflectionPrompt& prompt);

    QWidget& surface_;
    SessionManager& sessionManager_;
    SessionReflectionView::Motion motion_;
    Localizer localizer_;
    QPointer<SessionReflectionView> card_;
    std::vector<QPointer<SessionReflectionView>> leaving_;
};

} // namespace vesk
