#pragma once

#include "core/RawValue.h"

#include <QString>

#include <array>

namespace vesk::telemetry {

// What kind of fault an error signal reports; sent as its raw text
// ("thrown-exception", "user-input", "app-state").
enum class ErrorCategory { thrownException, userInput, appState };

QString toRaw(ErrorCategory category);

} // namespace vesk::telemetry

template <>
struct vesk::EnumCases<vesk::telemetry::ErrorCategory> {
    static constexpr std::array values{vesk::telemetry::ErrorCategory::thrownException,
                                       vesk::telemetry::ErrorCategory::userInput,
                                       vesk::telemetry::ErrorCategory::appState};
};
