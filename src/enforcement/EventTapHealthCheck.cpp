#include "enforcement/EventTapHealthCheck.h"

#include "core/TextFormat.h"

namespace vesk {

EventTapHealthCheck::EventTapHealthCheck(Scheduler& scheduler, VeskLogger logger, std::optional<QString> subject,
                                         std::function<void()> check)
    : timer_(scheduler, interval, std::move(check))
    , logger_(std::move(logger))
    , subject_(std::move(subject))
{
}

void EventTapHealthCheck::start()
{
    if (timer_.isRunning())
        return;
    timer_.start();
    if (subject_)
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("%1 health check started (every %2s)").arg(*subject_, doubleText(interval)));
}

void EventTapHealthCheck::stop()
{
    timer_.stop();
}

} // namespace vesk
