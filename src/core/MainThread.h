#pragma once

namespace vesk {

// True on the thread that runs the application's event loop (the thread that
// created the application object, or the first caller when there is none yet).
bool isMainThread();

} // namespace vesk
