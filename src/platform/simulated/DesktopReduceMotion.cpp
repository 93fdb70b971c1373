#include "platform/simulated/DesktopReduceMotion.h"

namespace vesk::platform {

QMetaObject::Connection DesktopReduceMotion::observeReduceMotion(QObject* receiver, std::function<void()> handler) const
{
    return connect(this, &DesktopReduceMotion::reduceMotionChanged, receiver, std::move(handler));
}

void DesktopReduceMotion::setReduceMotion(bool reduce)
{
    if (reduceMotion_ == reduce)
        return;
    reduceMotion_ = reduce;
    emit reduceMotionChanged();
}

} // namespace vesk::platform
