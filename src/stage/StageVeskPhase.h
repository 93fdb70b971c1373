#pragma once

#include <QString>

#include <optional>

namespace vesk {

// The layout of the allowed windows on one screen.
enum class StageVeskPhase { focus, split, tri, quad, freestyle };

QString toRaw(StageVeskPhase phase);
std::optional<StageVeskPhase> stageVeskPhaseFromRaw(const QString& raw);

} // namespace vesk
