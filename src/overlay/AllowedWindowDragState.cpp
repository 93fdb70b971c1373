#include "overlay/AllowedWindowDragState.h"

namespace vesk {

const AllowedWindowDragState& AllowedWindowDragState::idle()
{
    static const AllowedWindowDragState value;
    return value;
}

} // namespace vesk
