#pragma once

#include <QHashFunctions>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace vesk {

// The session durations a user can choose, in the settings window for the
// stored default and on the setup screen for the session about to start. A
// duration is a whole number of seconds everywhere; 0 means no time limit.
class DurationDefaults {
public:
    struct Option {
        // The German text shown for the option; views look it up under the
        // context "DurationDefaults".
        const char* label;
        qint64 seconds;
        // None for the unlimited option.
        std::optional<int> minutes;

        // Options are the same choice when their seconds are; the label and
        // the minutes take no part.
        friend bool operator==(const Option& a, const Option& b) { return a.seconds == b.seconds; }
    };

    DurationDefaults() = delete;

    // 15, 30, 60 and 120 minutes, then "Unbegrenzt" (0 s); built once.
    static const std::vector<Option>& options();

    // The minutes of the first option with exactly these seconds; none when no
    // option has them, and for 0, whose option has no minutes.
    static std::optional<int> minutes(qint64 seconds);
};

inline size_t qHash(const DurationDefaults::Option& option, size_t seed = 0) noexcept
{
    return ::qHash(option.seconds, seed);
}

} // namespace vesk
