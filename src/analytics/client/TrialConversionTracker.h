#pragma once

#include "analytics/client/SignalParameters.h"

#include <QMetaObject>
#include <QString>

#include <functional>
#include <optional>

namespace vesk {
class Clock;
class UserDefaults;
} // namespace vesk

namespace vesk::platform {
class StoreTransactionUpdates;
struct VerifiedStoreTransaction;
} // namespace vesk::platform

namespace vesk::telemetry {

// Remembers the free trial last started ("lastTrial" in the client's suite,
// so it survives restarts) and watches the store's verified transaction
// updates until the trial converts to a paid subscription (one
// "Telemetry.Purchase.convertedFromTrial" signal) or ends without (revoked,
// expired, upgraded). Main thread only.
class TrialConversionTracker {
public:
    struct StoredTrial {
        QString productID;
        quint64 originalTransactionID = 0;
        bool operator==(const StoredTrial&) const = default;
    };
    using SignalSender =
        std::function<void(const QString& name, const SignalParameters& parameters, std::optional<double> floatValue)>;

    static constexpr const char* storedTrialKey = "lastTrial";

    // Resumes watching a trial remembered from an earlier run.
    TrialConversionTracker(UserDefaults& clientSuite, Clock& clock, platform::StoreTransactionUpdates& updates,
                           SignalSender send);
    ~TrialConversionTracker();
    TrialConversionTracker(const TrialConversionTracker&) = delete;
    TrialConversionTracker& operator=(const TrialConversionTracker&) = delete;

    // None removes the remembered trial.
    void setStoredTrial(const std::optional<StoredTrial>& trial);
    std::optional<StoredTrial> loadStoredTrial() const;
    // Replaces any running observation.
    void startObservingTransactions();
    bool isObserving() const { return static_cast<bool>(observation_); }

private:
    void handle(const platform::VerifiedStoreTransaction& update);
    void stopObserving();

    UserDefaults& clientSuite_;
    Clock& clock_;
    platform::StoreTransactionUpdates& updates_;
    SignalSender send_;
    QMetaObject::Connection observation_;
};

} // namespace vesk::telemetry
