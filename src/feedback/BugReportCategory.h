#pragma once

#include <QString>

#include <array>
#include <optional>

namespace vesk {

// What kind of report the user writes. The label is what the form shows and
// what goes over the wire and into the exported text.
enum class BugReportCategory { bug, feedback, idea };

inline constexpr std::array<BugReportCategory, 3> allBugReportCategories = {BugReportCategory::bug,
                                                                            BugReportCategory::feedback,
                                                                            BugReportCategory::idea};

QString toRaw(BugReportCategory category);
// Exactly "bug", "feedback" or "idea"; any other text gives none.
std::optional<BugReportCategory> bugReportCategoryFromRaw(const QString& raw);
// "Bug", "Feedback", "Idee".
QString label(BugReportCategory category);

} // namespace vesk
