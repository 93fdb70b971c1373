#pragma once

namespace vesk::platform {
class EventTapping;
class PermissionsProviding;
class Workspace;
} // namespace vesk::platform

namespace vesk {

// The Input Monitoring probe: creates a listen-only key-down tap and drops it
// at once, never attaching it; the system creates one only with the
// permission. Asked when the preflight check says no, since the preflight
// answer can lag behind a permission the user has just granted.
bool isInputMonitoringGranted(platform::EventTapping& eventTaps);

// The check the event-tap services make before they install a tap: the
// preflight answer, else the probe.
bool isInputMonitoringAvailable(const platform::PermissionsProviding& permissions, platform::EventTapping& eventTaps);

// Opens the Input Monitoring pane of the privacy settings.
void openInputMonitoringSettings(platform::Workspace& workspace);

} // namespace vesk
