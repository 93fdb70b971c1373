#pragma once

namespace vesk::platform {

class Accessibility;
class ApplicationActivity;
class ApplicationBundleReading;
class CommandRunning;
class DefaultsDomainsProviding;
class DiagnosticPayloadProviding;
class EventTapping;
class FileBrowsing;
class OwnApplicationControlling;
class OwnWindowRegistering;
class PermissionsProviding;
class PointerStateProviding;
class PresentationOptionsControlling;
class ReduceMotionProviding;
class ScreenCapturing;
class ScreenChangeObserving;
class ScreenProviding;
class StoreTransactionUpdates;
class SystemInfoProviding;
class WindowControlZoneProviding;
class WindowListProviding;
class Workspace;

// The platform as the application's composition hands it to the services:
// one reference per role. Whoever provides it keeps every part alive for as
// long as the application runs.
struct PlatformInterfaces {
    const WindowListProviding& windowList;
    const ScreenProviding& screens;
    const ScreenChangeObserving& screenChanges;
    Workspace& workspace;
    const FileBrowsing& files;
    const ApplicationBundleReading& bundles;
    Accessibility& accessibility;
    EventTapping& eventTaps;
    DefaultsDomainsProviding& defaultsDomains;
    CommandRunning& commandRunner;
    OwnWindowRegistering& ownWindows;
    PresentationOptionsControlling& presentationOptions;
    OwnApplicationControlling& ownApplication;
    const PointerStateProviding& pointer;
    PermissionsProviding& permissions;
    const ReduceMotionProviding& reduceMotion;
    const ScreenCapturing& screenCapture;
    DiagnosticPayloadProviding& diagnosticPayloads;
    const SystemInfoProviding& systemInfo;
    ApplicationActivity& applicationActivity;
    StoreTransactionUpdates& storeTransactions;
    // Where the desktop places a window's title-bar buttons; none: the top-left layout.
    const WindowControlZoneProviding* windowControlZones = nullptr;
};

} // namespace vesk::platform
