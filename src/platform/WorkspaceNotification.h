#pragma once

namespace vesk::platform {

// The workspace notifications Vesk observes.
enum class WorkspaceNotification {
    // An application has started; carries the application.
    didLaunchApplication,
    // An application has come to the front; carries the application.
    didActivateApplication,
    // The active Space of a display has changed; carries no application.
    activeSpaceDidChange,
};

} // namespace vesk::platform
