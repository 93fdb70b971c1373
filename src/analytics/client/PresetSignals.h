#pragma once

#include "analytics/client/ErrorCategory.h"
#include "analytics/client/SignalParameters.h"

#include <QString>

#include <optional>

namespace vesk::telemetry {

class IdentifiableError;

// Ready-made signals with fixed names and keys: acquisition, activation,
// referral, revenue, errors and navigation. Each builds its own keys, merges
// the caller's parameters over them and sends through the running client's
// internal path (nothing without a running client). Main thread only.
class PresetSignals {
public:
    using User = std::optional<QString>;

    static void userAcquired(const QString& channel, const SignalParameters& parameters = {}, const User& user = {});
    static void leadStarted(const QString& leadID, const SignalParameters& parameters = {}, const User& user = {});
    static void leadConverted(const QString& leadID, const SignalParameters& parameters = {}, const User& user = {});
    static void onboardingCompleted(const SignalParameters& parameters = {}, const User& user = {});
    static void coreFeatureUsed(const QString& featureName, const SignalParameters& parameters = {},
                                const User& user = {});
    static void referralSent(int receiversCount = 1, const std::optional<QString>& kind = std::nullopt,
                             const SignalParameters& parameters = {}, const User& user = {});
    // Ratings outside 0...10 are refused with an error line.
    static void userRatingSubmitted(int rating, const std::optional<QString>& comment = std::nullopt,
                                    const SignalParameters& parameters = {}, const User& user = {});
    static void paywallShown(const QString& reason, const SignalParameters& parameters = {}, const User& user = {});

    static void errorOccurred(const QString& id, std::optional<ErrorCategory> category = std::nullopt,
                              const std::optional<QString>& message = std::nullopt,
                              const SignalParameters& parameters = {}, std::optional<double> floatValue = std::nullopt,
                              const User& user = {});
    // The error's description is the message.
    static void errorOccurred(const IdentifiableError& error, ErrorCategory category,
                              const SignalParameters& parameters = {}, std::optional<double> floatValue = std::nullopt,
                              const User& user = {});
    // Only the given message, if any.
    static void errorOccurred(const IdentifiableError& error, ErrorCategory category,
                              const std::optional<QString>& message, const SignalParameters& parameters = {},
                              std::optional<double> floatValue = std::nullopt, const User& user = {});

    static void navigationPathChanged(const QString& source, const QString& destination, const User& user = {});
    // From the last destination (the empty text before the first).
    static void navigationPathChanged(const QString& destination, const User& user = {});
    static std::optional<QString> previousNavigationPath();
    static void resetNavigationPath();

private:
    static void send(const QString& name, SignalParameters own, const SignalParameters& parameters,
                     std::optional<double> floatValue, const User& user);
};

} // namespace vesk::telemetry
