#pragma once

#include <QString>

namespace vesk {

enum class VeskLogLevel { debug = 0, info = 1, warning = 2, error = 3 };

// The level's label in a log file row: "DEBUG", "INFO", "WARNING", "ERROR".
QString logLevelLabel(VeskLogLevel level);

} // namespace vesk
