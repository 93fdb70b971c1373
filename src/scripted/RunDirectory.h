#pragma once

#include <QString>

#include <optional>

namespace vesk {

// The folder a scripted run keeps its store, settings, bundles, screenshots
// and logs in. A run empties it at the start, so it must be a folder that a
// run made: new folders get the marker file ".vesk-run", and any other folder
// (a shared folder, a symbolic link, the application's own data and settings
// folders even before they exist) is refused.
// Emptying removes only what a run writes and never follows a link: a link
// planted in the folder is removed, not what it points to.
class RunDirectory {
public:
    static constexpr const char* markerFileName = ".vesk-run";

    // Makes the folder (with its marker) when it does not exist, or accepts
    // one that carries the marker; otherwise the reason it is refused.
    static std::optional<QString> claim(const QString& path);
    // Removes what an earlier run wrote into a claimed folder; the reason when
    // something cannot be removed.
    static std::optional<QString> clear(const QString& path);
};

} // namespace vesk
