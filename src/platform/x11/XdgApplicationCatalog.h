#pragma once

#include "platform/x11/XdgApplication.h"
#include "platform/x11/XdgEnvironment.h"

#include <QString>

#include <vector>

namespace vesk::platform {

// The applications installed for the user: the desktop entries under
// "applications" of the data home, then of each data folder. Of two files
// with the same desktop file id the one in the earlier folder counts, and a
// Hidden one removes the id. Files that cannot be read are skipped, so that
// the next folder's entry serves.
class XdgApplicationCatalog {
public:
    // At most this many files are read in one scan.
    static constexpr int maximumEntries = 10000;

    static XdgApplicationCatalog scan(const XdgEnvironment& environment);

    // Every application, the data home's first, each folder's by path.
    const std::vector<XdgApplication>& applications() const { return applications_; }
    // The application of a desktop file id (without ".desktop"); null when
    // none is installed.
    const XdgApplication* find(const QString& id) const;
    // The applications listed in menus, in the same order.
    std::vector<const XdgApplication*> shownApplications() const;

    // Whether an entry belongs in menus here (NoDisplay, OnlyShowIn and
    // NotShowIn against the current desktops, TryExec on the search path).
    static bool isShown(const XdgDesktopEntry& entry, const XdgEnvironment& environment);

private:
    std::vector<XdgApplication> applications_;
};

} // namespace vesk::platform
