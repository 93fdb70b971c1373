#include "platform/DesktopReduceMotionProvider.h"

#include "platform/SimulatedDesktop.h"

#include <QObject>

namespace vesk::platform {

DesktopReduceMotionProvider::~DesktopReduceMotionProvider()
{
    QObject::disconnect(connection_);
}

bool DesktopReduceMotionProvider::shouldReduceMotion() const
{
    return desktop_.shouldReduceMotion();
}

void DesktopReduceMotionProvider::setReduceMotionChangedHandler(std::function<void()> handler)
{
    QObject::disconnect(connection_);
    if (handler)
        connection_ = QObject::connect(&desktop_, &SimulatedDesktop::reduceMotionChanged, &desktop_, std::move(handler));
}

} // namespace vesk::platform
