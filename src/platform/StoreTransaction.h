#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk::platform {

// One purchase transaction of the application store, as far as the analytics
// client reads it.
struct StoreTransaction {
    enum class ProductType { consumable, nonConsumable, nonRenewingSubscription, autoRenewableSubscription };
    enum class OfferType { introductory, promotional, code, winBack };
    enum class PaymentMode { freeTrial, payAsYouGo, payUpFront };

    ProductType productType = ProductType::nonConsumable;
    QString productID;
    quint64 originalTransactionID = 0;
    // In the currency's units; none when the store gives no price.
    std::optional<double> price;
    // ISO 4217; none when the store does not say.
    std::optional<QString> currencyCode;
    QString storefrontCountryCode;
    std::optional<QString> subscriptionGroupID;
    std::optional<OfferType> offerType;
    std::optional<PaymentMode> offerPaymentMode;
    std::optional<QDateTime> revocationDate;
    std::optional<QDateTime> expirationDate;
    bool isUpgraded = false;
};

// A transaction update with the store's verification of it.
struct VerifiedStoreTransaction {
    StoreTransaction transaction;
    bool verified = false;
};

} // namespace vesk::platform
