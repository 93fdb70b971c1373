#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vesk {

// The folder a scripted run keeps its store, settings, bundles, screenshots
// and logs in. A run empties it at the start, so it must be a folder that a
// run made: new folders get the marker file ".vesk-run", and any other folder
// (a shared folder, a symbolic link, the application's own data and settings
// folders even before they exist) is refused.
// Emptying removes everything in the folder, whatever an earlier run or
// anyone else put there, but the marker, the lock of the run that holds it and
// the files this run reads; it never follows a link: a link planted in the
// folder is removed, not what it points to.
class RunDirectory {
public:
    static constexpr const char* markerFileName = ".vesk-run";

    // Makes the folder (with its marker) when it does not exist, or accepts
    // one that carries the marker; otherwise the reason it is refused.
    static std::optional<QString> claim(const QString& path);
    // Empties a claimed folder but for its marker, its lock and the `inputs`
    // (the script and the scenario, when they lie in it); the reason when
    // something cannot be removed.
    static std::optional<QString> clear(const QString& path, const QStringList& inputs = {});
};

} // namespace vesk
