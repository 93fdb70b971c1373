#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace vesk::platform {

// The updater: it reads the update feed, downloads and installs releases and
// reports each step to its UpdateUserDriver.
class FrameworkUpdater {
public:
    virtual ~FrameworkUpdater() = default;

    // Starts the updater once; the error's description on failure.
    virtual std::optional<QString> startUpdater() = 0;
    virtual std::optional<QUrl> feedURL() const = 0;

    // False while a check or an update flow is running, or before the start.
    virtual bool canCheckForUpdates() const = 0;
    // Called with the current value at once and with each change after; an
    // empty function clears it.
    virtual void observeCanCheckForUpdates(std::function<void(bool)> observer) = 0;

    virtual bool automaticallyChecksForUpdates() const = 0;
    virtual void setAutomaticallyChecksForUpdates(bool checks) = 0;
    virtual bool automaticallyDownloadsUpdates() const = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool downloads) = 0;

    // A check the user asked for; ignored while canCheckForUpdates is false.
    virtual void checkForUpdates() = 0;
};

} // namespace vesk::platform
