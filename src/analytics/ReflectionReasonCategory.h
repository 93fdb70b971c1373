#pragma once

#include <QString>

#include <array>
#include <optional>

namespace vesk {

// Why a session went wrong, as the reflection card asks it.
enum class ReflectionReasonCategory { distractionGotThrough, veskDisturbed, goalUnclear, technicalProblem, other };

inline constexpr std::array kAllReflectionReasonCategories = {
    ReflectionReasonCategory::distractionGotThrough, ReflectionReasonCategory::veskDisturbed,
    ReflectionReasonCategory::goalUnclear, ReflectionReasonCategory::technicalProblem,
    ReflectionReasonCategory::other};

QString toRaw(ReflectionReasonCategory category);
// Exactly the five raw texts; anything else gives none.
std::optional<ReflectionReasonCategory> reflectionReasonCategoryFromRaw(const QString& raw);

} // namespace vesk
