#pragma once

#include "platform/FileBrowsing.h"

namespace vesk::platform {

class SimulatedDesktop;

// The simulated desktop's file system: the folders under its root, which
// stands for the system's "/".
class DesktopFileBrowser final : public FileBrowsing {
public:
    explicit DesktopFileBrowser(const SimulatedDesktop& desktop) : desktop_(desktop) { }

    QUrl fileURL(const QString& systemPath) const override;
    // Sorted by name; entries beginning with a dot are hidden.
    std::optional<std::vector<QUrl>> contentsOfDirectory(const QUrl& folder) const override;
    // The file's name, without ".app" for a bundle.
    QString displayNameAtPath(const QUrl& url) const override;
    // 64 × 64: a rounded tile in the colour the desktop gives the bundle's
    // windows, with the name's initial.
    QImage iconForFile(const QUrl& url) const override;

    static constexpr int iconSize = 64;

private:
    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
