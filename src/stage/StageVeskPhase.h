#pragma once

#include "core/Geometry.h"
#include "core/RawValue.h"

#include <QString>

#include <array>
#include <optional>

namespace vesk {

// The layout of the allowed windows on one screen. A slot layout's number is
// its count of slots; freestyle has free positions instead of slots.
enum class StageVeskPhase { focus = 1, split = 2, tri = 3, quad = 4, freestyle = 5 };

// The log name: "focus", "split", "tri", "quad", "freestyle".
QString toRaw(StageVeskPhase phase);

// The phase's number (1 to 5) and back; any other number is no phase.
int numericValue(StageVeskPhase phase);
std::optional<StageVeskPhase> stageVeskPhaseFromNumber(qint64 number);

// The number of slots of a slot layout; none for freestyle.
std::optional<int> slotCount(StageVeskPhase phase);

// The name the stage bars show, also the translation key.
QString phaseLabel(StageVeskPhase phase);

// The cell of a slot in the area (bottom-left coordinates, 12 pt gaps).
// Focus and freestyle give the whole area; an index beyond the layout's slots
// gives a cell outside it.
Rect slotFrame(StageVeskPhase phase, int slot, const Rect& area);

template <>
struct EnumCases<StageVeskPhase> {
    static constexpr std::array values{StageVeskPhase::focus, StageVeskPhase::split, StageVeskPhase::tri,
                                       StageVeskPhase::quad, StageVeskPhase::freestyle};
};

} // namespace vesk
