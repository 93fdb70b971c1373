#include "feedback/BugReportCategory.h"

namespace vesk {

QString toRaw(BugReportCategory category)
{
    switch (category) {
    case BugReportCategory::bug:
        return QStringLiteral("bug");
    case BugReportCategory::feedback:
        return QStringLiteral("feedback");
    case BugReportCategory::idea:
        return QStringLiteral("idea");
    }
    return {};
}

std::optional<BugReportCategory> bugReportCategoryFromRaw(const QString& raw)
{
    for (BugReportCategory category : allBugReportCategories) {
        if (toRaw(category) == raw)
            return category;
    }
    return std::nullopt;
}

QString label(BugReportCategory category)
{
    switch (category) {
    case BugReportCategory::bug:
        return QStringLiteral("Bug");
    case BugReportCategory::feedback:
        return QStringLiteral("Feedback");
    case BugReportCategory::idea:
        return QStringLiteral("Idee");
    }
    return {};
}

} // namespace vesk
