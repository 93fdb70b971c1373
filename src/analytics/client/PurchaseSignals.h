#pragma once

#include "analytics/client/SignalParameters.h"
#include "platform/StoreTransaction.h"

#include <optional>

namespace vesk::telemetry {

// Signals about purchases in the application store: a completed purchase
// with its price in US dollars, or the start of a free trial, which the
// running client's TrialConversionTracker then watches until it converts.
class PurchaseSignals {
public:
    static void purchaseCompleted(const platform::StoreTransaction& transaction,
                                  const SignalParameters& parameters = {},
                                  const std::optional<QString>& customUserID = std::nullopt);

    // Type, country, product and (when known) currency of the transaction.
    static SignalParameters purchaseParameters(const platform::StoreTransaction& transaction);
    // The price converted at usdExchangeRates; 0 for an unknown or missing currency.
    static double priceInUSD(const platform::StoreTransaction& transaction);
    // An auto-renewable subscription bought with an introductory offer at no price.
    static bool startsFreeTrial(const platform::StoreTransaction& transaction);
    // An introductory offer paid as a free trial.
    static bool isFreeTrialTransaction(const platform::StoreTransaction& transaction);
};

} // namespace vesk::telemetry
