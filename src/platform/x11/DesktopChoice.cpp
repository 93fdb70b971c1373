#include "platform/x11/DesktopChoice.h"

namespace vesk::platform {

namespace {

DesktopChoice simulated(const QString& reason, const QString& notice = {})
{
    return {DesktopChoice::Kind::simulated, reason, notice};
}

bool isWaylandSession(const DesktopChoiceInputs& inputs)
{
    return inputs.platformName == QLatin1String("wayland") || !inputs.waylandDisplay.isEmpty()
           || inputs.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
}

} // namespace

DesktopChoice DesktopChoice::choose(const DesktopChoiceInputs& inputs)
{
    if (inputs.scenarioGiven)
        return simulated(QStringLiteral("a desktop scenario was given"));
    if (inputs.simulatedAsked)
        return simulated(QStringLiteral("--simulated was given"));
    if (isWaylandSession(inputs))
        return simulated(QStringLiteral("Wayland session"),
                         QStringLiteral("This is a Wayland session: Vesk can neither see nor control its windows, "
                                        "so it runs on the simulated desktop (--simulated chooses it without this "
                                        "notice)."));
    if (inputs.platformName != QLatin1String("xcb"))
        return simulated(QStringLiteral("no X display (platform %1)").arg(inputs.platformName));
    if (!inputs.ewmhWindowManagerRuns || !inputs.ewmhWindowManagerRuns())
        return simulated(QStringLiteral("no window manager that speaks EWMH on the display"));
    return {Kind::x11, QStringLiteral("an EWMH window manager runs on the display"), QString()};
}

} // namespace vesk::platform
