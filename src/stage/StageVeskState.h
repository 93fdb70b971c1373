#pragma once

#include "stage/StageVeskAppState.h"
#include "stage/StageVeskPhase.h"
#include "stage/StageVeskScreenID.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <set>
#include <utility>

namespace vesk {

// The stage's whole layout model: per screen its phase, per application its
// record, the order in which the applications joined, the active application
// overall and per screen, and the last stacking stamp handed out. A plain
// value; every decision about slots, free frames and successors is made here.
struct StageVeskState {
    struct SavedPlacement {
        StageVeskWindowPosition position;
        std::optional<StageVeskScreenID> screenID;
        bool operator==(const SavedPlacement&) const = default;
    };

    // A screen without an entry counts as freestyle.
    std::map<StageVeskScreenID, StageVeskPhase> phaseByScreen;
    StageVeskScreenID defaultScreenID;
    std::map<QString, StageVeskAppState> apps;
    // Identifiers without a record are skipped by every walk.
    QStringList appOrder;
    std::optional<QString> activeBundleID;
    std::map<StageVeskScreenID, QString> activeBundleIDByScreen;
    // Only grows; the first stamp of a fresh state is 11.
    int zCounter = 10;

    static constexpr int initialZCounter = 10;

    static std::pair<QString, StageVeskAppState> makeInitialAppEntry(const QString& bundleID,
                                                                     const std::map<QString, QString>& displayNames,
                                                                     std::optional<StageVeskScreenID> screenID,
                                                                     const QDateTime& now);

    StageVeskPhase phase(StageVeskScreenID screen) const;
    const StageVeskAppState* app(const QString& bundleID) const;

    // Open, not parked, neither slot nor position; in join order.
    QStringList queuedBundleIDs() const;
    QStringList queuedBundleIDs(StageVeskScreenID screen) const;
    // Parked records on the screen, open or not; in join order.
    QStringList parkedBundleIDs(StageVeskScreenID screen) const;
    // Open, not parked, with a slot or a position.
    std::set<QString> stagedBundleIDs() const;
    // Open, not parked, not the stage's active application, and untouched for
    // more than the threshold.
    bool isStale(const QString& bundleID, const QDateTime& now, double thresholdSeconds) const;
    std::optional<SavedPlacement> savedPlacement(const QString& bundleID) const;

    // Sets the screen's phase and rearranges its records (see the .cpp for the
    // three cases). Asking for the phase the screen has changes nothing.
    void applyLayout(StageVeskPhase phase, StageVeskScreenID screen, const QDateTime& now, const Rect& area);
    // Records a frame the user dragged a window to; only on a free screen.
    void recordUserFrame(const QString& bundleID, std::optional<StageVeskScreenID> target, bool activate,
                         const QDateTime& now, const Rect& frame);
    // Gives an open application the frame as its free position on a free
    // screen, with a new top stamp, and makes it active there and on the
    // stage. Answers whether it did.
    bool placeFree(const QString& bundleID, const Rect& frame, StageVeskScreenID screen, const QDateTime& now);
    // Takes the application off its slot or free frame into the queue, saving
    // a free frame.
    void moveToQueue(const QString& bundleID);
    void unpark(const QString& bundleID, const QDateTime& now);
    void reopen(const QString& bundleID, const QDateTime& now);
    void markClosed(const QString& bundleID);
    void removeApp(const QString& bundleID);

    bool operator==(const StageVeskState&) const = default;

private:
    StageVeskAppState* mutableApp(const QString& bundleID);
    // The first open, not parked application of the join order other than
    // `leaving`, on the screen when one is given.
    std::optional<QString> successor(const std::optional<QString>& leaving,
                                     std::optional<StageVeskScreenID> screen) const;
    void setScreenActive(StageVeskScreenID screen, const std::optional<QString>& bundleID);
    void passActivityOn(const QString& leaving, std::optional<StageVeskScreenID> screen);
    void slotsToFreestyle(StageVeskPhase oldPhase, StageVeskScreenID screen, const Rect& area);
    void freestyleToSlots(int slotTotal, StageVeskScreenID screen, const QDateTime& now);
    void slotsToSlots(int slotTotal, StageVeskScreenID screen, const QDateTime& now);
};

} // namespace vesk
