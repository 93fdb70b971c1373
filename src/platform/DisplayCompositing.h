#pragma once

namespace vesk::platform {

// Whether the display Qt draws Vesk's windows on composites them, so that a
// see-through part of a window shows what lies beneath it. On X that is when
// a compositing manager holds the selection `_NET_WM_CM_S0` (Vesk's displays
// are outputs of the one X screen); on any other platform, the offscreen one
// of tests and scripted runs among them, none is assumed.
bool displayComposites();

} // namespace vesk::platform
