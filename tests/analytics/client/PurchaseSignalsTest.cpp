#include "analytics/client/PurchaseSignals.h"
#include "RunningClientScene.h"
#include "analytics/client/TrialConversionTracker.h"
#include "analytics/client/UsdExchangeRates.h"
#include "core/UserDefaults.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <gtest/gtest.h>

using namespace vesk::telemetry;
using vesk::platform::StoreTransaction;
using vesk::platform::VerifiedStoreTransaction;

namespace {

StoreTransaction oneTimePurchase(double price, std::optional<QString> currency)
{
    StoreTransaction transaction;
    transaction.productID = "vesk.pro";
    transaction.originalTransactionID = 1001;
    transaction.price = price;
    transaction.currencyCode = std::move(currency);
    transaction.storefrontCountryCode = "DEU";
    return transaction;
}

StoreTransaction subscription(std::optional<double> price, bool introductoryFreeTrial)
{
    StoreTransaction transaction = oneTimePurchase(0, QString("EUR"));
    transaction.productID = "vesk.monthly";
    transaction.originalTransactionID = 4242;
    transaction.productType = StoreTransaction::ProductType::autoRenewableSubscription;
    transaction.subscriptionGroupID = "vesk.plans";
    transaction.price = price;
    if (introductoryFreeTrial) {
        transaction.offerType = StoreTransaction::OfferType::introductory;
        transaction.offerPaymentMode = StoreTransaction::PaymentMode::freeTrial;
    }
    return transaction;
}

class PurchaseSignalsTest : public vesk::telemetry::testing::RunningClientScene {
protected:
    void SetUp() override
    {
        RunningClientScene::SetUp();
        startWithoutSessionSignals();
    }

    void deliver(const StoreTransaction& transaction, bool verified = true)
    {
        desktop->deliverStoreTransaction(VerifiedStoreTransaction{transaction, verified});
    }

    bool trialStored() { return TelemetryManager::shared()->clientSuite().objectExists("lastTrial"); }
};

TEST_F(PurchaseSignalsTest, AEuroPurchaseIsSentInUSDollars)
{
    PurchaseSignals::purchaseCompleted(oneTimePurchase(4.99, QString("EUR")), {{"screen", "paywall"}});
    ASSERT_EQ(cached().size(), 1u);
    const SignalPostBody body = cached().front();
    EXPECT_EQ(body.type, "Telemetry.Purchase.completed");
    EXPECT_DOUBLE_EQ(body.floatValue.value_or(-1), 4.99 / 0.9533);
    EXPECT_EQ(body.payload.at("Telemetry.Purchase.type"), "one-time-purchase");
    EXPECT_EQ(body.payload.at("Telemetry.Purchase.currencyCode"), "EUR");
    EXPECT_EQ(body.payload.at("Telemetry.Purchase.countryCode"), "DEU");
    EXPECT_EQ(body.payload.at("Telemetry.Purchase.productID"), "vesk.pro");
    EXPECT_EQ(body.payload.at("screen"), "paywall");
}

TEST(PurchasePrice, ConvertsThroughTheRateTable)
{
    struct Case {
        std::optional<QString> currency;
        double price;
        double usd;
    };
    for (const Case& c :
         {Case{QString("USD"), 4.99, 4.99}, Case{QString("JPY"), 152.3479, 1.0}, Case{QString("BHD"), 0.376, 1.0},
          Case{QString("XXX"), 4.99, 0.0}, Case{std::nullopt, 4.99, 0.0}})
        EXPECT_DOUBLE_EQ(PurchaseSignals::priceInUSD(oneTimePurchase(c.price, c.currency)), c.usd)
            << c.currency.value_or("none").toStdString();
    EXPECT_EQ(usdExchangeRates().size(), 161u);
    EXPECT_EQ(usdExchangeRates().count("USD"), 0u);
    EXPECT_EQ(usdExchangeRates().at("IRR"), 41993.216);
    EXPECT_FALSE(PurchaseSignals::purchaseParameters(oneTimePurchase(1, std::nullopt))
                     .contains("Telemetry.Purchase.currencyCode"));
}

TEST_F(PurchaseSignalsTest, AFreeTrialThatConvertsSendsExactlyOneConversion)
{
    PurchaseSignals::purchaseCompleted(subscription(std::nullopt, true));
    ASSERT_EQ(cached().size(), 1u);
    EXPECT_EQ(cached().front().type, "Telemetry.Purchase.freeTrialStarted");
    EXPECT_EQ(cached().front().floatValue, std::nullopt);
    EXPECT_EQ(cached().front().payload.at("Telemetry.Purchase.type"), "subscription");
    EXPECT_TRUE(trialStored());

    StoreTransaction otherProduct = subscription(9.99, false);
    otherProduct.productID = "vesk.yearly";
    deliver(otherProduct);
    deliver(subscription(9.99, false), false);
    deliver(subscription(0, true));
    EXPECT_TRUE(trialStored());

    deliver(subscription(9.99, false));
    deliver(subscription(9.99, false));
    QStringList types;
    for (const SignalPostBody& body : cached())
        types << body.type;
    EXPECT_EQ(types, (QStringList{"Telemetry.Purchase.freeTrialStarted", "Telemetry.Purchase.convertedFromTrial"}));
    EXPECT_DOUBLE_EQ(cached().back().floatValue.value_or(-1), 9.99 / 0.9533);
    EXPECT_FALSE(trialStored());
}

TEST_F(PurchaseSignalsTest, AnIntroductoryOfferWithAPriceIsAPurchase)
{
    StoreTransaction discounted = subscription(1.99, false);
    discounted.offerType = StoreTransaction::OfferType::introductory;
    PurchaseSignals::purchaseCompleted(discounted);
    ASSERT_EQ(cached().size(), 1u);
    EXPECT_EQ(cached().front().type, "Telemetry.Purchase.completed");
    EXPECT_FALSE(trialStored());
}

TEST_F(PurchaseSignalsTest, ATrialThatEndsWithoutConversionIsForgottenSilently)
{
    const auto revoked = [](StoreTransaction& t, const QDateTime&) { t.revocationDate = QDateTime(); };
    const auto expired = [](StoreTransaction& t, const QDateTime& now) { t.expirationDate = now.addSecs(-1); };
    const auto upgraded = [](StoreTransaction& t, const QDateTime&) { t.isUpgraded = true; };
    for (const auto& end : {std::function<void(StoreTransaction&, const QDateTime&)>(revoked), {expired}, {upgraded}}) {
        PurchaseSignals::purchaseCompleted(subscription(0, true));
        StoreTransaction renewal = subscription(9.99, false);
        end(renewal, scheduler.now());
        deliver(renewal);
        EXPECT_FALSE(trialStored());
        EXPECT_FALSE(TelemetryManager::shared()->trialConversionTracker().isObserving());
    }
    for (const SignalPostBody& body : cached())
        EXPECT_EQ(body.type, "Telemetry.Purchase.freeTrialStarted");
}

TEST_F(PurchaseSignalsTest, ARememberedTrialIsWatchedAgainByTheNextClient)
{
    PurchaseSignals::purchaseCompleted(subscription(0, true));
    Telemetry::terminate();
    start();
    deliver(subscription(9.99, false));
    ASSERT_EQ(cached().size(), 1u);
    EXPECT_EQ(cached().front().type, "Telemetry.Purchase.convertedFromTrial");
}

} // namespace
