#pragma once

#include <QString>

#include <optional>

namespace vesk {

// The per-user runtime folder Qt and Vesk keep private files in. A login
// that names none in XDG_RUNTIME_DIR (a container, a plain remote shell) gets
// a folder of its own under the temporary folder, "runtime-<user id>", made
// with mode 0700 and named in the environment before the application starts:
// the folder Qt would fall back to, without its warning at every lookup.
// Nothing changes when the variable is set. None when the runtime folder is
// in place; the reason when the fallback cannot be used (a folder of that
// name that is not this user's own or not private): the variable stays unset
// and Qt then warns as before.
std::optional<QString> provideRuntimeDirectory();

} // namespace vesk
