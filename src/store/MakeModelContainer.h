#pragma once

#include "store/ModelContainer.h"

#include <functional>
#include <memory>

namespace vesk {

// Ends the process with the given status: exitProcess in the application, a
// recorder in tests.
using ProcessExit = std::function<void(int status)>;

// Writes out the queued log rows, then ends the process through std::exit.
void exitProcess(int status);

// Opens the store at start-up. Without a store the application cannot run:
// the failure is logged ("VeskApp"), "Could not create ModelContainer: " and
// the reason go to standard error, and `exit` is called with status 1. When an
// injected `exit` returns, the result is null.
std::unique_ptr<ModelContainer> makeModelContainer(const QString& path, const ProcessExit& exit);

} // namespace vesk
