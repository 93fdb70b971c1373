#pragma once

#include <QUrl>

#include <functional>

namespace vesk {

class AudioPlayerFactory;
class Clock;
class ModelContext;
class ReducedMotion;
class Scheduler;
class SessionStarting;
class VeskDefaultsStore;

namespace platform {
class ApplicationActivity;
class ApplicationBundleReading;
class EventTapping;
class FileBrowsing;
class OwnApplicationControlling;
class PermissionsProviding;
class SystemInfoProviding;
class Workspace;
} // namespace platform

// What the setup screen's model works with, handed in by the composition.
struct SessionSetupServices {
    Scheduler& scheduler;
    const Clock& clock;
    ModelContext& modelContext;
    VeskDefaultsStore& settings;
    const ReducedMotion& reducedMotion;
    SessionStarting& sessions;
    AudioPlayerFactory& audioPlayers;
    // The installed-application scan reads the application folders and their bundles.
    const platform::FileBrowsing& files;
    const platform::ApplicationBundleReading& bundles;
    platform::PermissionsProviding& permissions;
    // For the Input Monitoring probe, asked when the preflight check says no.
    platform::EventTapping& eventTaps;
    platform::Workspace& workspace;
    platform::OwnApplicationControlling& ownApplication;
    platform::ApplicationActivity& applicationActivity;
    // The appearance, for the system style preference.
    const platform::SystemInfoProviding& systemInfo;
    // Our own application bundle, opened as a new instance by the relaunch.
    QUrl ownBundleURL;
    // The application's commands the screen offers: the settings window and a
    // user-initiated update check. None: the buttons do nothing.
    std::function<void()> openSettings = {};
    std::function<void()> checkForUpdates = {};
};

} // namespace vesk
