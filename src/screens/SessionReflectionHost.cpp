#include "screens/SessionReflectionHost.h"

#include "core/Clock.h"
#include "session/SessionManager.h"

#include <QEvent>

#include <algorithm>

namespace vesk {

SessionReflectionHost::SessionReflectionHost(QWidget& surface, SessionManager& sessionManager,
                                             const SessionReflectionView::Motion& motion, Localizer localizer,
                                             QObject* parent)
    : QObject(parent)
    , surface_(surface)
    , sessionManager_(sessionManager)
    , motion_(motion)
    , localizer_(std::move(localizer))
{
    surface_.installEventFilter(this);
    connect(&sessionManager_, &SessionManager::pendingReflectionChanged, this, &SessionReflectionHost::follow);
    follow();
}

SessionReflectionHost::~SessionReflectionHost()
{
    // The cards' actions call into this host.
    delete card_.data();
    for (const auto& card : leaving_)
        delete card.data();
}

std::vector<SessionReflectionView*> SessionReflectionHost::leavingCards() const
{
    std::vector<SessionReflectionView*> cards;
    for (const auto& card : leaving_) {
        if (card)
            cards.push_back(card);
    }
    return cards;
}

void SessionReflectionHost::follow()
{
    const auto& prompt = sessionManager_.pendingReflection();
    if (card_ && (!prompt || card_->model().prompt().id != prompt->id)) {
        SessionReflectionView& going = *card_;
        card_ = nullptr;
        leave(going);
    }
    if (prompt && !card_)
        showCard(*prompt);
}

void SessionReflectionHost::leave(SessionReflectionView& card)
{
    leaving_.push_back(&card);
    connect(&card, &SessionReflectionView::left, this, [this, going = &card] { remove(going); });
    // Under reduced motion the card has left when this returns.
    card.leave();
    emit cardsChanged();
}

void SessionReflectionHost::remove(SessionReflectionView* card)
{
    std::erase(leaving_, card);
    // The card may be inside its own click handler or frame.
    card->hide();
    card->deleteLater();
    emit cardsChanged();
}

void SessionReflectionHost::showCard(const SessionReflectionPrompt& prompt)
{
    auto model = std::make_unique<SessionReflectionModel>(
        prompt,
        [this](std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful, std::optional<QString> note,
               std::optional<ReflectionReasonCategory> reason) {
            sessionManager_.saveReflection(goalStatus, helpful, note, reason, motion_.clock.now());
        },
        [this] { sessionManager_.dismissReflection(); });
    card_ = new SessionReflectionView(std::move(model), motion_, localizer_, &surface_);
    card_->setGeometry(surface_.rect());
    card_->show();
    card_->raise();
    emit cardsChanged();
}

bool SessionReflectionHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &surface_ && event->type() == QEvent::Resize) {
        for (QWidget* card : leavingCards())
            card->setGeometry(surface_.rect());
        if (card_)
            card_->setGeometry(surface_.rect());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vesk
