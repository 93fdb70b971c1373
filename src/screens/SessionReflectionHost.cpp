#include "screens/SessionReflectionHost.h"

#include "core/Clock.h"
#include "screens/SessionReflectionView.h"
#include "session/SessionManager.h"

#include <QEvent>

namespace vesk {

SessionReflectionHost::SessionReflectionHost(QWidget& surface, SessionManager& sessionManager, const Clock& clock,
                                             Localizer localizer, QObject* parent)
    : QObject(parent)
    , surface_(surface)
    , sessionManager_(sessionManager)
    , clock_(clock)
    , localizer_(std::move(localizer))
{
    surface_.installEventFilter(this);
    connect(&sessionManager_, &SessionManager::pendingReflectionChanged, this, &SessionReflectionHost::follow);
    follow();
}

SessionReflectionHost::~SessionReflectionHost()
{
    delete card_.data();
}

void SessionReflectionHost::follow()
{
    const auto& prompt = sessionManager_.pendingReflection();
    if (card_ && (!prompt || card_->model().prompt().id != prompt->id)) {
        card_->hide();
        card_->deleteLater();
        card_ = nullptr;
    }
    if (!prompt || card_)
        return;
    auto model = std::make_unique<SessionReflectionModel>(
        *prompt,
        [this](std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful, std::optional<QString> note,
               std::optional<ReflectionReasonCategory> reason) {
            sessionManager_.saveReflection(goalStatus, helpful, note, reason, clock_.now());
        },
        [this] { sessionManager_.dismissReflection(); });
    card_ = new SessionReflectionView(std::move(model), localizer_, &surface_);
    card_->setGeometry(surface_.rect());
    card_->show();
    card_->raise();
}

bool SessionReflectionHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &surface_ && event->type() == QEvent::Resize && card_)
        card_->setGeometry(surface_.rect());
    return QObject::eventFilter(watched, event);
}

} // namespace vesk
