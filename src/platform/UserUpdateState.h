#pragma once

namespace vesk::platform {

// How far a found update has come when the updater offers it.
struct UserUpdateState {
    enum class Stage { notDownloaded = 0, downloaded = 1, installing = 2 };
    Stage stage = Stage::notDownloaded;
    bool userInitiated = true;
};

} // namespace vesk::platform
