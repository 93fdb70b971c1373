#pragma once

#include "settings/VeskDefaultsStore.h"
#include "ui/WormveskStyle.h"

namespace vesk {

// The style to draw in now: cosmic and solar as chosen; the system choice
// follows the appearance (light gives cosmic, dark gives solar).
inline WormveskStyle resolvedWormveskStyle(VeskDefaultsStore::WormveskStylePreference preference, bool isDarkAppearance)
{
    switch (preference) {
    case VeskDefaultsStore::WormveskStylePreference::cosmic:
        return WormveskStyle::cosmic;
    case VeskDefaultsStore::WormveskStylePreference::solar:
        return WormveskStyle::solar;
    case VeskDefaultsStore::WormveskStylePreference::system:
        break;
    }
    return isDarkAppearance ? WormveskStyle::solar : WormveskStyle::cosmic;
}

} // namespace vesk
