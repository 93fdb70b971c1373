#include "platform/VirtualKeyCodes.h"

#include <Qt>

#include <algorithm>
#include <iterator>

namespace vesk::platform {

namespace {

struct VirtualKey {
    int qtKey;
    // Follows the key's place on the platform's keyboard, not its letter.
    std::int64_t code;
    // Empty for keys a script does not name.
    const char* scriptName;
};

// Tab before Backtab: a code's Qt key is the first one listed for it.
constexpr VirtualKey keys[] = {
    {Qt::Key_A, 0, "a"},
    {Qt::Key_S, 1, "s"},
    {Qt::Key_D, 2, "d"},
    {Qt::Key_F, 3, "f"},
    {Qt::Key_H, 4, "h"},
    {Qt::Key_G, 5, "g"},
    {Qt::Key_Z, 6, "z"},
    {Qt::Key_X, 7, "x"},
    {Qt::Key_C, 8, "c"},
    {Qt::Key_V, 9, "v"},
    {Qt::Key_B, 11, "b"},
    {Qt::Key_Q, 12, "q"},
    {Qt::Key_W, 13, "w"},
    {Qt::Key_E, 14, "e"},
    {Qt::Key_R, 15, "r"},
    {Qt::Key_Y, 16, "y"},
    {Qt::Key_T, 17, "t"},
    {Qt::Key_1, 18, "1"},
    {Qt::Key_2, 19, "2"},
    {Qt::Key_3, KeyCode::digit3, "3"},
    {Qt::Key_4, KeyCode::digit4, "4"},
    {Qt::Key_6, 22, "6"},
    {Qt::Key_5, KeyCode::digit5, "5"},
    {Qt::Key_Equal, 24, ""},
    {Qt::Key_9, 25, "9"},
    {Qt::Key_7, 26, "7"},
    {Qt::Key_Minus, 27, ""},
    {Qt::Key_8, 28, "8"},
    {Qt::Key_0, 29, "0"},
    {Qt::Key_BracketRight, 30, ""},
    {Qt::Key_O, 31, "o"},
    {Qt::Key_U, 32, "u"},
    {Qt::Key_BracketLeft, 33, ""},
    {Qt::Key_I, 34, "i"},
    {Qt::Key_P, 35, "p"},
    {Qt::Key_Return, 36, "return"},
    {Qt::Key_L, 37, "l"},
    {Qt::Key_J, 38, "j"},
    {Qt::Key_Apostrophe, 39, ""},
    {Qt::Key_K, 40, "k"},
    {Qt::Key_Semicolon, 41, ""},
    {Qt::Key_Backslash, 42, ""},
    {Qt::Key_Comma, 43, ""},
    {Qt::Key_Slash, 44, ""},
    {Qt::Key_N, 45, "n"},
    {Qt::Key_M, 46, "m"},
    {Qt::Key_Period, 47, ""},
    {Qt::Key_Tab, KeyCode::tab, "tab"},
    {Qt::Key_Backtab, KeyCode::tab, ""},
    {Qt::Key_Space, KeyCode::space, "space"},
    {Qt::Key_QuoteLeft, KeyCode::grave, ""},
    {Qt::Key_Backspace, 51, "delete"},
    {Qt::Key_Escape, KeyCode::escape, "escape"},
    {Qt::Key_Enter, 76, ""},
    {Qt::Key_F5, 96, ""},
    {Qt::Key_F6, 97, ""},
    {Qt::Key_F7, 98, ""},
    {Qt::Key_F3, KeyCode::f3, ""},
    {Qt::Key_F8, 100, ""},
    {Qt::Key_F9, 101, ""},
    {Qt::Key_F11, 103, ""},
    {Qt::Key_F10, 109, ""},
    {Qt::Key_F12, 111, ""},
    {Qt::Key_Home, 115, ""},
    {Qt::Key_PageUp, 116, ""},
    {Qt::Key_Delete, 117, ""},
    {Qt::Key_F4, 118, ""},
    {Qt::Key_End, 119, ""},
    {Qt::Key_F2, 120, ""},
    {Qt::Key_PageDown, 121, ""},
    {Qt::Key_F1, 122, ""},
    {Qt::Key_Left, KeyCode::leftArrow, "left"},
    {Qt::Key_Right, KeyCode::rightArrow, "right"},
    {Qt::Key_Down, KeyCode::downArrow, "down"},
    {Qt::Key_Up, KeyCode::upArrow, "up"},
};

template <typename Matches>
const VirtualKey* findKey(Matches matches)
{
    const auto found = std::find_if(std::begin(keys), std::end(keys), matches);
    return found == std::end(keys) ? nullptr : found;
}

} // namespace

std::optional<std::int64_t> virtualKeyCode(int qtKey)
{
    if (const VirtualKey* key = findKey([qtKey](const VirtualKey& entry) { return entry.qtKey == qtKey; }))
        return key->code;
    return std::nullopt;
}

std::optional<int> qtKeyForVirtualKeyCode(std::int64_t keyCode)
{
    if (const VirtualKey* key = findKey([keyCode](const VirtualKey& entry) { return entry.code == keyCode; }))
        return key->qtKey;
    return std::nullopt;
}

std::optional<std::int64_t> virtualKeyCodeNamed(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    if (const VirtualKey* key =
            findKey([&name](const VirtualKey& entry) { return name == QLatin1String(entry.scriptName); }))
        return key->code;
    return std::nullopt;
}

} // namespace vesk::platform
