#include "stage/StageVeskState.h"

#include <algorithm>
#include <vector>

namespace vesk {

std::pair<QString, StageVeskAppState>
StageVeskState::makeInitialAppEntry(const QString& bundleID, const std::map<QString, QString>& displayNames,
                                    std::optional<StageVeskScreenID> screenID, const QDateTime& now)
{
    StageVeskAppState record;
    record.bundleID = bundleID;
    const auto name = displayNames.find(bundleID);
    record.displayName = name != displayNames.end() ? name->second : bundleID;
    record.screenID = screenID;
    record.lastTouched = now;
    return {bundleID, record};
}

StageVeskPhase StageVeskState::phase(StageVeskScreenID screen) const
{
    const auto entry = phaseByScreen.find(screen);
    return entry != phaseByScreen.end() ? entry->second : StageVeskPhase::freestyle;
}

const StageVeskAppState* StageVeskState::app(const QString& bundleID) const
{
    const auto entry = apps.find(bundleID);
    return entry != apps.end() ? &entry->second : nullptr;
}

StageVeskAppState* StageVeskState::mutableApp(const QString& bundleID)
{
    const auto entry = apps.find(bundleID);
    return entry != apps.end() ? &entry->second : nullptr;
}

QStringList StageVeskState::queuedBundleIDs() const
{
    QStringList queued;
    for (const QString& bundleID : appOrder) {
        if (const auto* record = app(bundleID); record && record->isQueued())
            queued << bundleID;
    }
    return queued;
}

QStringList StageVeskState::queuedBundleIDs(StageVeskScreenID screen) const
{
    QStringList queued;
    for (const QString& bundleID : appOrder) {
        if (const auto* record = app(bundleID); record && record->isQueued() && record->screenID == screen)
            queued << bundleID;
    }
    return queued;
}

QStringList StageVeskState::parkedBundleIDs(StageVeskScreenID screen) const
{
    QStringList parked;
    for (const QString& bundleID : appOrder) {
        if (const auto* record = app(bundleID); record && record->isParked && record->screenID == screen)
            parked << bundleID;
    }
    return parked;
}

std::set<QString> StageVeskState::stagedBundleIDs() const
{
    std::set<QString> staged;
    for (const auto& [bundleID, record] : apps) {
        if (record.isStaged())
            staged.insert(bundleID);
    }
    return staged;
}

bool StageVeskState::isStale(const QString& bundleID, const QDateTime& now, double thresholdSeconds) const
{
    const auto* record = app(bundleID);
    if (!record || !record->isOpen || record->isParked || activeBundleID == bundleID)
        return false;
    return record->lastTouched.msecsTo(now) / 1000.0 > thresholdSeconds;
}

std::optional<StageVeskState::SavedPlacement> StageVeskState::savedPlacement(const QString& bundleID) const
{
    const auto* record = app(bundleID);
    if (!record || !record->savedPosition)
        return std::nullopt;
    return SavedPlacement{*record->savedPosition, record->savedScreenID};
}

std::optional<QString> StageVeskState::successor(const std::optional<QString>& leaving,
                                                 std::optional<StageVeskScreenID> screen) const
{
    for (const QString& bundleID : appOrder) {
        if (bundleID == leaving)
            continue;
        const auto* record = app(bundleID);
        if (!record || !record->isOpen || record->isParked)
            continue;
        if (screen && record->screenID != screen)
            continue;
        return bundleID;
    }
    return std::nullopt;
}

void StageVeskState::setScreenActive(StageVeskScreenID screen, const std::optional<QString>& bundleID)
{
    if (bundleID)
        activeBundleIDByScreen[screen] = *bundleID;
    else
        activeBundleIDByScreen.erase(screen);
}

void StageVeskState::passActivityOn(const QString& leaving, std::optional<StageVeskScreenID> screen)
{
    if (activeBundleID == leaving)
        activeBundleID = successor(leaving, std::nullopt);
    if (!screen)
        return;
    const auto entry = activeBundleIDByScreen.find(*screen);
    if (entry != activeBundleIDByScreen.end() && entry->second == leaving)
        setScreenActive(*screen, successor(leaving, screen));
}

void StageVeskState::applyLayout(StageVeskPhase newPhase, StageVeskScreenID screen, const QDateTime& now,
                                 const Rect& area)
{
    const StageVeskPhase oldPhase = phase(screen);
    if (oldPhase == newPhase)
        return;
    phaseByScreen[screen] = newPhase;
    if (newPhase == StageVeskPhase::freestyle)
        slotsToFreestyle(oldPhase, screen, area);
    else if (oldPhase == StageVeskPhase::freestyle)
        freestyleToSlots(*slotCount(newPhase), screen, now);
    else
        slotsToSlots(*slotCount(newPhase), screen, now);
}

// Each slotted window keeps its cell as its free frame; the stage's active
// application takes a second stamp so that it ends up in front.
void StageVeskState::slotsToFreestyle(StageVeskPhase oldPhase, StageVeskScreenID screen, const Rect& area)
{
    for (const QString& bundleID : appOrder) {
        StageVeskAppState* record = mutableApp(bundleID);
        if (!record || record->screenID != screen || !record->slot || !record->isOpen || record->isParked)
            continue;
        int z = ++zCounter;
        const Rect frame = slotFrame(oldPhase, *record->slot, area);
        record->slot.reset();
        if (bundleID == activeBundleID)
            z = ++zCounter;
        record->position = StageVeskWindowPosition::of(frame, z);
    }
}

// The front-most free windows take the slots, the lowest of them slot 0;
// every other record on the screen is queued.
void StageVeskState::freestyleToSlots(int slotTotal, StageVeskScreenID screen, const QDateTime& now)
{
    std::vector<QString> candidates;
    for (const QString& bundleID : appOrder) {
        const auto* record = app(bundleID);
        if (record && record->screenID == screen && record->isOpen && !record->isParked && record->position
            && std::find(candidates.begin(), candidates.end(), bundleID) == candidates.end())
            candidates.push_back(bundleID);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [this](const QString& a, const QString& b) { return app(a)->position->z < app(b)->position->z; });
    const auto keptCount = std::min<std::ptrdiff_t>(slotTotal, std::ssize(candidates));
    const std::vector<QString> kept(candidates.end() - keptCount, candidates.end());

    for (auto& [bundleID, record] : apps) {
        if (record.screenID == screen) {
            record.position.reset();
            record.slot.reset();
        }
    }
    for (std::size_t slot = 0; slot < kept.size(); ++slot) {
        StageVeskAppState& record = apps.at(kept[slot]);
        record.slot = static_cast<int>(slot);
        record.lastTouched = now;
    }
    setScreenActive(screen, kept.empty() ? successor(std::nullopt, screen) : std::optional<QString>(kept.front()));
    if (const auto entry = activeBundleIDByScreen.find(screen); entry != activeBundleIDByScreen.end())
        activeBundleID = entry->second;
}

// Slots beyond the new count are emptied; only the screen's active
// application, when it lost its slot, is seated again.
void StageVeskState::slotsToSlots(int slotTotal, StageVeskScreenID screen, const QDateTime& now)
{
    std::set<QString> displaced;
    for (auto& [bundleID, record] : apps) {
        if (record.screenID == screen && record.slot && *record.slot >= slotTotal) {
            record.slot.reset();
            record.position.reset();
            displaced.insert(bundleID);
        }
    }
    std::optional<QString> active = activeBundleID;
    if (const auto entry = activeBundleIDByScreen.find(screen); entry != activeBundleIDByScreen.end())
        active = entry->second;
    if (!active || !displaced.contains(*active) || !apps.at(*active).isOpen)
        return;

    std::set<int> used;
    for (const auto& [bundleID, record] : apps) {
        if (bundleID != *active && record.screenID == screen && record.slot)
            used.insert(*record.slot);
    }
    int freeSlot = 0;
    for (int candidate = slotTotal - 1; candidate >= 0; --candidate) {
        if (!used.contains(candidate))
            freeSlot = candidate;
    }
    for (const QString& bundleID : appOrder) {
        StageVeskAppState* holder = mutableApp(bundleID);
        if (bundleID != *active && holder && holder->screenID == screen && holder->slot == freeSlot) {
            holder->slot.reset();
            break;
        }
    }
    StageVeskAppState& record = apps.at(*active);
    record.slot = freeSlot;
    record.lastTouched = now;
    activeBundleIDByScreen[screen] = *active;
}

void StageVeskState::recordUserFrame(const QString& bundleID, std::optional<StageVeskScreenID> target, bool activate,
                                     const QDateTime& now, const Rect& frame)
{
    StageVeskAppState* record = mutableApp(bundleID);
    const StageVeskScreenID screen = target                       ? *target
                                     : record && record->screenID ? *record->screenID
                                                                  : defaultScreenID;
    if (phase(screen) != StageVeskPhase::freestyle)
        return;
    if (!record || !record->isOpen)
        return;
    const int z = record->position ? record->position->z : ++zCounter;
    record->position = StageVeskWindowPosition::of(frame, z);
    if (target)
        record->screenID = target;
    if (!activate)
        return;
    record->slot.reset();
    record->isParked = false;
    record->lastTouched = now;
    activeBundleID = bundleID;
    if (record->screenID)
        activeBundleIDByScreen[*record->screenID] = bundleID;
}

bool StageVeskState::placeFree(const QString& bundleID, const Rect& frame, StageVeskScreenID screen,
                               const QDateTime& now)
{
    StageVeskAppState* record = mutableApp(bundleID);
    if (phase(screen) != StageVeskPhase::freestyle || !record || !record->isOpen)
        return false;
    record->slot.reset();
    record->position = StageVeskWindowPosition::of(frame, ++zCounter);
    record->screenID = screen;
    record->isParked = false;
    record->lastTouched = now;
    activeBundleID = bundleID;
    activeBundleIDByScreen[screen] = bundleID;
    return true;
}

void StageVeskState::moveToQueue(const QString& bundleID)
{
    StageVeskAppState* record = mutableApp(bundleID);
    if (!record || !record->isOpen)
        return;
    const std::optional<StageVeskScreenID> screen = record->screenID;
    if (record->position) {
        record->savedPosition = record->position;
        record->savedScreenID = record->screenID;
    }
    record->slot.reset();
    record->position.reset();
    record->isParked = false;
    passActivityOn(bundleID, screen);
}

void StageVeskState::unpark(const QString& bundleID, const QDateTime& now)
{
    StageVeskAppState* record = mutableApp(bundleID);
    if (!record || !record->isOpen)
        return;
    record->isParked = false;
    record->lastTouched = now;
}

void StageVeskState::reopen(const QString& bundleID, const QDateTime& now)
{
    StageVeskAppState* record = mutableApp(bundleID);
    if (!record || record->isOpen)
        return;
    record->isOpen = true;
    record->isParked = false;
    record->lastTouched = now;
    if (!activeBundleID)
        activeBundleID = bundleID;
    if (record->screenID && !activeBundleIDByScreen.contains(*record->screenID))
        activeBundleIDByScreen[*record->screenID] = bundleID;
}

void StageVeskState::markClosed(const QString& bundleID)
{
    StageVeskAppState* record = mutableApp(bundleID);
    if (!record)
        return;
    record->isOpen = false;
    record->slot.reset();
    record->position.reset();
    record->isParked = false;
    passActivityOn(bundleID, record->screenID);
}

void StageVeskState::removeApp(const QString& bundleID)
{
    apps.erase(bundleID);
    appOrder.removeAll(bundleID);
    if (activeBundleID == bundleID)
        activeBundleID = successor(std::nullopt, std::nullopt);
    std::erase_if(activeBundleIDByScreen, [&](const auto& entry) { return entry.second == bundleID; });
}

} // namespace vesk
