#include "enforcement/SpaceBlockerPolicy.h"

#include "platform/InputEvent.h"
#include "platform/VirtualKeyCodes.h"

namespace vesk {

namespace {

using platform::EventFlag::command;
using platform::EventFlag::control;
using platform::EventFlag::option;
using platform::EventFlag::shift;

namespace KeyCode = platform::KeyCode;

bool isArrowKey(std::int64_t keyCode)
{
    return keyCode >= KeyCode::leftArrow && keyCode <= KeyCode::upArrow;
}

bool isScreenshotDigit(std::int64_t keyCode)
{
    return keyCode == KeyCode::digit3 || keyCode == KeyCode::digit4 || keyCode == KeyCode::digit5;
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
    if (keyCode == KeyCode::escape && hasExactly(flags, command | shift))
        return blockIf(hardcore);
    if (isScreenshotShortcut(keyCode, flags))
        return Action::pass;
    if (keyCode == KeyCode::escape && hardcore && hasExactly(flags, command | option))
        return Action::block;
    if (keyCode == KeyCode::space)
        return blockIf(hasExactly(flags, command) || hasExactly(flags, command | option));
    if (isArrowKey(keyCode))
        return blockIf(hasExactly(flags, control));
    if (keyCode == KeyCode::f3)
        return blockIf((flags & (command | option | control | shift)) == 0);
    if (keyCode == KeyCode::grave)
        return blockIf(hasExactly(flags, command));
    if (keyCode == KeyCode::tab)
        return blockIf(hasExactly(flags, command) || hasExactly(flags, command | shift));
    return Action::pass;
}

QString toRaw(SpaceBlockerPolicy::Action action)
{
    return action == SpaceBlockerPolicy::Action::block ? QStringLiteral("block") : QStringLiteral("pass");
}

} // namespace vesk
