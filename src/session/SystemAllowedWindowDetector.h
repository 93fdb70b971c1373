#pragma once

#include "overlay/WindowSnapshotReader.h"
#include "platform/ScreenProviding.h"
#include "session/AllowedWindowDetecting.h"

#include <QString>

namespace vesk {

// Classifies one snapshot of the on-screen window list with the overlay's
// rules to tell which allowed applications can be seen.
class SystemAllowedWindowDetector final : public AllowedWindowDetecting {
public:
    // `veskBundleID` recognises the application's own windows; empty when the
    // application has no bundle identifier.
    SystemAllowedWindowDetector(const WindowSnapshotReader& reader, const platform::ScreenProviding& screens,
                                QString veskBundleID);

    Result detectAllowedWindows(const std::set<QString>& allowedBundleIDs) const override;

private:
    const WindowSnapshotReader& reader_;
    const platform::ScreenProviding& screens_;
    QString veskBundleID_;
};

} // namespace vesk
