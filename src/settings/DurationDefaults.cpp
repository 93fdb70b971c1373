#include "settings/DurationDefaults.h"

#include <QtGlobal>

namespace vesk {

const std::vector<DurationDefaults::Option>& DurationDefaults::options()
{
    static const std::vector<Option> list{
        {QT_TRANSLATE_NOOP("DurationDefaults", "15 Min"), 900, 15},
        {QT_TRANSLATE_NOOP("DurationDefaults", "30 Min"), 1800, 30},
        {QT_TRANSLATE_NOOP("DurationDefaults", "60 Min"), 3600, 60},
        {QT_TRANSLATE_NOOP("DurationDefaults", "120 Min"), 7200, 120},
        {QT_TRANSLATE_NOOP("DurationDefaults", "Unbegrenzt"), 0, std::nullopt},
    };
    return list;
}

std::optional<int> DurationDefaults::minutes(qint64 seconds)
{
    for (const Option& option : options()) {
        if (option.seconds == seconds)
            return option.minutes;
    }
    return std::nullopt;
}

} // namespace vesk
