#pragma once

namespace vesk::platform {

// The answer to the updater's question whether it may check on its own.
struct UpdatePermissionResponse {
    bool automaticUpdateChecks = false;
    bool sendSystemProfile = false;
};

} // namespace vesk::platform
