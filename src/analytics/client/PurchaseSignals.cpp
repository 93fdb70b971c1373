#include "analytics/client/PurchaseSignals.h"

#include "analytics/client/TelemetryManager.h"
#include "analytics/client/TrialConversionTracker.h"
#include "analytics/client/UsdExchangeRates.h"

namespace vesk::telemetry {

using platform::StoreTransaction;

SignalParameters PurchaseSignals::purchaseParameters(const StoreTransaction& transaction)
{
    SignalParameters parameters{
        {"Telemetry.Purchase.type", transaction.subscriptionGroupID ? "subscription" : "one-time-purchase"},
        {"Telemetry.Purchase.countryCode", transaction.storefrontCountryCode},
        {"Telemetry.Purchase.productID", transaction.productID},
    };
    if (transaction.currencyCode)
        parameters["Telemetry.Purchase.currencyCode"] = *transaction.currencyCode;
    return parameters;
}

double PurchaseSignals::priceInUSD(const StoreTransaction& transaction)
{
    const double price = transaction.price.value_or(0.0);
    if (!transaction.currencyCode)
        return 0.0;
    if (*transaction.currencyCode == QLatin1String("USD"))
        return price;
    const auto rate = usdExchangeRates().find(*transaction.currencyCode);
    return rate == usdExchangeRates().end() ? 0.0 : price / rate->second;
}

bool PurchaseSignals::startsFreeTrial(const StoreTransaction& transaction)
{
    return transaction.productType == StoreTransaction::ProductType::autoRenewableSubscription
           && transaction.offerType == StoreTransaction::OfferType::introductory
           && transaction.price.value_or(0.0) == 0.0;
}

bool PurchaseSignals::isFreeTrialTransaction(const StoreTransaction& transaction)
{
    return transaction.offerType == StoreTransaction::OfferType::introductory
           && transaction.offerPaymentMode == StoreTransaction::PaymentMode::freeTrial;
}

void PurchaseSignals::purchaseCompleted(const StoreTransaction& transaction, const SignalParameters& parameters,
                                        const std::optional<QString>& customUserID)
{
    TelemetryManager* manager = TelemetryManager::shared();
    if (!manager)
        return;
    SignalParameters merged = purchaseParameters(transaction);
    mergeParameters(merged, parameters);
    if (startsFreeTrial(transaction)) {
        manager->sendInternalSignal("Telemetry.Purchase.freeTrialStarted", merged, std::nullopt, customUserID);
        manager->trialConversionTracker().setStoredTrial(
            TrialConversionTracker::StoredTrial{transaction.productID, transaction.originalTransactionID});
        manager->trialConversionTracker().startObservingTransactions();
        return;
    }
    manager->sendInternalSignal("Telemetry.Purchase.completed", merged, priceInUSD(transaction), customUserID);
}

} // namespace vesk::telemetry
