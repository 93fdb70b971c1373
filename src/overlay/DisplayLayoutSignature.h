#pragma once

#include "core/Geometry.h"
#include "overlay/DisplayGeometry.h"
#include "platform/ScreenProviding.h"

#include <QString>

#include <optional>
#include <vector>

namespace vesk {

// The displays as the overlay keys its panels: identifier plus both frames,
// sorted by a text key. A change of any of them means a display's panels must
// be replaced.
class DisplayLayoutSignature {
public:
    struct Entry {
        std::optional<quint32> displayID;
        Rect cocoaFrame;
        Rect quartzFrame;

        // "<id or none>|<cocoa minX|minY|width|height>|<quartz minX|minY|width|height>",
        // numbers with three decimals.
        QString sortKey() const;
        bool operator==(const Entry&) const = default;
    };

    struct Descriptor {
        platform::ScreenInfo screen;
        Entry entry;
    };

    struct Diff {
        std::vector<Entry> keep;    // in `current`'s order
        std::vector<Entry> create;  // in `current`'s order
        std::vector<Entry> dismiss; // in `previous`'s order

        bool isUnchanged() const { return create.empty() && dismiss.empty(); }
    };

    DisplayLayoutSignature() = default;
    // Sorts the entries by their sort key.
    explicit DisplayLayoutSignature(std::vector<Entry> entries);

    // One descriptor per screen of positive size, sorted by sort key; empty
    // when there is none. A screen without usable display bounds gets the
    // Quartz frame flipped at the top of the union of all screens, and keeps
    // its identifier.
    static std::vector<Descriptor> current(const platform::ScreenProviding& screens);
    // Sort keys compared as text, character by character.
    static bool precedes(const Entry& a, const Entry& b);
    static Diff diff(const std::vector<Entry>& previous, const std::vector<Entry>& current);

    const std::vector<Entry>& entries() const { return entries_; }
    // "displayID=<id or none>, cocoa={{…}}, quartz={{…}}" per entry, joined with "; ".
    QString description() const;

    bool operator==(const DisplayLayoutSignature&) const = default;

private:
    std::vector<Entry> entries_;
};

} // namespace vesk
