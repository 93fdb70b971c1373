#pragma once

#include <QString>

#include <map>

namespace vesk::telemetry {

// A signal's parameters and payload: text keys to text values.
using SignalParameters = std::map<QString, QString>;

// Merges `later` over `earlier`: a key in both takes the later value.
inline void mergeParameters(SignalParameters& earlier, const SignalParameters& later)
{
    for (const auto& [key, value] : later)
        earlier[key] = value;
}

} // namespace vesk::telemetry
