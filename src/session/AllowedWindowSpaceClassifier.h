#pragma once

#include "enforcement/AllowedWindowSpaceClassification.h"
#include "panels/AllowedAppVisibilitySnapshot.h"
#include "session/AllowedAppLookup.h"
#include "session/SessionServices.h"

#include <QString>

#include <set>
#include <vector>

namespace vesk {

// Where an allowed application's windows are: on the active Space, on another
// one, minimised, hidden, none at all; and the visibility the panels show for
// each allowed application.
class AllowedWindowSpaceClassifier {
public:
    AllowedWindowSpaceClassifier(const SessionServices& services, const AllowedAppLookup& lookup);

    // The services' own classification when they provide one.
    AllowedWindowSpaceClassification classify(const QString& bundleID) const;
    std::vector<AllowedAppVisibilitySnapshot> visibilitySnapshots(const std::set<QString>& allowed) const;
    // Whether the detector sees a window of the application.
    bool isVisible(const QString& bundleID) const;

private:
    const SessionServices& services_;
    const AllowedAppLookup& lookup_;
};

} // namespace vesk
