#pragma once

#include "platform/FrameworkUpdater.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vesk::test {

// What the update service asked of a RecordingUpdater. It outlives the
// updater, which the service owns.
struct UpdaterCalls {
    int built = 0;
    int checks = 0;
    std::vector<QString> preferences;
    bool canCheck = true;
    std::function<void(bool)> canCheckChanged;
};

// An updater that only records: checks, the two automatic settings
// ("check=true", "download=false") and the observer of its check flag.
class RecordingUpdater final : public platform::FrameworkUpdater {
public:
    explicit RecordingUpdater(UpdaterCalls& calls) : calls_(calls) { ++calls_.built; }
    std::optional<QString> startUpdater() override { return std::nullopt; }
    std::optional<QUrl> feedURL() const override { return std::nullopt; }
    bool canCheckForUpdates() const override { return calls_.canCheck; }
    void observeCanCheckForUpdates(std::function<void(bool)> observer) override
    {
        calls_.canCheckChanged = std::move(observer);
        if (calls_.canCheckChanged)
            calls_.canCheckChanged(calls_.canCheck);
    }
    bool automaticallyChecksForUpdates() const override { return false; }
    void setAutomaticallyChecksForUpdates(bool checks) override
    {
        calls_.preferences.push_back(QStringLiteral("check=") + (checks ? "true" : "false"));
    }
    bool automaticallyDownloadsUpdates() const override { return false; }
    void setAutomaticallyDownloadsUpdates(bool downloads) override
    {
        calls_.preferences.push_back(QStringLiteral("download=") + (downloads ? "true" : "false"));
    }
    void checkForUpdates() override { ++calls_.checks; }

private:
    UpdaterCalls& calls_;
};

} // namespace vesk::test
