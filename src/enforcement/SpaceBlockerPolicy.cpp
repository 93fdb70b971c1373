#include "enforcement/SpaceBlockerPolicy.h"

#include "platform/InputEvent.h"

namespace vesk {

namespace {

using platform::EventFlag::command;
using platform::EventFlag::control;
using platform::EventFlag::option;
using platform::EventFlag::shift;

constexpr std::int64_t spaceKeyCode = 49;
constexpr std::int64_t tabKeyCode = 48;
constexpr std::int64_t graveKeyCode = 50;
constexpr std::int64_t f3KeyCode = 99;

bool isArrowKey(std::int64_t keyCode)
{
    return keyCode >= 123 && keyCode <= 126;
}

bool isScreenshotDigit(std::int64_t keyCode)
{
    return keyCode == 20 || keyCode == 21 || keyCode == 23;
}

} // namespace

bool SpaceBlockerPolicy::hasExactly(std::uint64_t flags, std::uint64_t modifiers)
{
    return (flags & modifierMask) == modifiers;
}

bool SpaceBlockerPolicy::isScreenshotShortcut(std::int64_t keyCode, std::uint64_t flags)
{
    return isScreenshotDigit(keyCode) && hasExactly(flags, command | shift);
}

SpaceBlockerPolicy::Action SpaceBlockerPolicy::shouldBlock(std::int64_t keyCode, std::uint64_t flags, bool hardcore)
{
    const auto blockIf = [](bool condition) { return condition ? Action::block : Action::pass; };
    if (keyCode == escapeKeyCode && hasExactly(flags, command | shift))
        return blockIf(hardcore);
    if (isScreenshotShortcut(keyCode, flags))
        return Action::pass;
    if (keyCode == escapeKeyCode && hardcore && hasExactly(flags, command | option))
        return Action::block;
    if (keyCode == spaceKeyCode)
        return blockIf(hasExactly(flags, command) || hasExactly(flags, command | option));
    if (isArrowKey(keyCode))
        return blockIf(hasExactly(flags, control));
    if (keyCode == f3KeyCode)
        return blockIf((flags & (command | option | control | shift)) == 0);
    if (keyCode == graveKeyCode)
        return blockIf(hasExactly(flags, command));
    if (keyCode == tabKeyCode)
        return blockIf(hasExactly(flags, command) || hasExactly(flags, command | shift));
    return Action::pass;
}

QString toRaw(SpaceBlockerPolicy::Action action)
{
    return action == SpaceBlockerPolicy::Action::block ? QStringLiteral("block") : QStringLiteral("pass");
}

} // namespace vesk
