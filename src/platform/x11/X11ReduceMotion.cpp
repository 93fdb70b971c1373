#include "platform/x11/X11ReduceMotion.h"

#include "platform/x11/GSettingsTool.h"

namespace vesk::platform {

X11ReduceMotion::X11ReduceMotion(GSettingsTool& tool) : tool_(tool)
{
}

bool X11ReduceMotion::shouldReduceMotion() const
{
    if (!reduce_)
        reduce_ = read();
    return *reduce_;
}

QMetaObject::Connection X11ReduceMotion::observeReduceMotion(QObject* receiver, std::function<void()> handler) const
{
    return connect(this, &X11ReduceMotion::changed, receiver, std::move(handler));
}

void X11ReduceMotion::refresh()
{
    const bool reduce = read();
    const bool differs = reduce_ && reduce != *reduce_;
    reduce_ = reduce;
    if (!differs)
        return;
    emit changed();
}

bool X11ReduceMotion::read() const
{
    const GSettingsTool::Result animations =
        tool_.get({QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations")});
    return animations.ok && animations.output == QLatin1String("false");
}

} // namespace vesk::platform
