#pragma once

#include <QString>

#include <optional>

namespace vesk {

// A Vesk installed into a folder of its own that the user can write (say
// ~/.local/opt/vesk), each version in the layout `cmake --install` makes:
//
//     <root>/current -> versions/<version>     a relative link
//     <root>/versions/<version>/bin/vesk       and the rest of the install
//
// An update is unpacked next to the running version, checked, and switched in
// by replacing the link `current` with a rename, which is atomic: until then
// nothing the running version uses has changed, and any failure removes what
// the update unpacked. The version that was running stays until the new one
// has started once (removeOtherVersions).
class OwnFolderInstallation {
public:
    // Where Vesk's program file is: in such a folder of its own, in the
    // package manager's files (under /usr, but not /usr/local), or elsewhere
    // (a build tree, an install by hand).
    enum class Origin { ownFolder, packageManager, elsewhere };
    static Origin originOf(const QString& executablePath);

    // The installation that `executablePath` (with links resolved, as
    // QCoreApplication::applicationFilePath gives it) belongs to; none when
    // it is not in that layout.
    static std::optional<OwnFolderInstallation> of(const QString& executablePath);

    const QString& root() const { return root_; }
    const QString& runningVersion() const { return runningVersion_; }
    // The program file of an installed version.
    QString executableOf(const QString& version) const;
    // The version that `current` names; empty when the link is missing or odd.
    QString currentVersion() const;

    // Unpacks the archive (a .tar.gz of an install prefix's contents: bin/,
    // share/ …) as the given version and makes it current. None when done,
    // else why not; then everything is as it was before.
    std::optional<QString> install(const QString& archivePath, const QString& version) const;

    // Once the running version is the current one: removes every other
    // version and what unfinished installs left.
    void removeOtherVersions() const;

    // How long unpacking may take before it counts as failed.
    static constexpr int unpackTimeoutMs = 120'000;

private:
    OwnFolderInstallation(QString root, QString runningVersion, QString executableName);

    QString versionsFolder() const;
    std::optional<QString> unpack(const QString& archivePath, const QString& folder) const;
    std::optional<QString> checkUnpacked(const QString& folder) const;
    std::optional<QString> switchCurrentTo(const QString& version) const;

    QString root_;
    QString runningVersion_;
    QString executableName_;
};

} // namespace vesk
