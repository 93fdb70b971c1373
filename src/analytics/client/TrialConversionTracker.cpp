#include "analytics/client/TrialConversionTracker.h"

#include "analytics/client/PurchaseSignals.h"
#include "core/Clock.h"
#include "core/UserDefaults.h"
#include "platform/StoreTransactionUpdates.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace vesk::telemetry {

TrialConversionTracker::TrialConversionTracker(UserDefaults& clientSuite, Clock& clock,
                                               platform::StoreTransactionUpdates& updates, SignalSender send)
    : clientSuite_(clientSuite)
    , clock_(clock)
    , updates_(updates)
    , send_(std::move(send))
{
    if (loadStoredTrial())
        startObservingTransactions();
}

TrialConversionTracker::~TrialConversionTracker()
{
    stopObserving();
}

void TrialConversionTracker::setStoredTrial(const std::optional<StoredTrial>& trial)
{
    if (!trial) {
        clientSuite_.removeObject(storedTrialKey);
        return;
    }
    const QJsonObject json{{"productID", trial->productID},
                           {"originalTransactionID", static_cast<qint64>(trial->originalTransactionID)}};
    clientSuite_.setData(storedTrialKey, QJsonDocument(json).toJson(QJsonDocument::Compact));
}

std::optional<TrialConversionTracker::StoredTrial> TrialConversionTracker::loadStoredTrial() const
{
    const std::optional<QByteArray> data = clientSuite_.dataForKey(storedTrialKey);
    if (!data)
        return std::nullopt;
    const QJsonObject json = QJsonDocument::fromJson(*data).object();
    if (!json["productID"].isString() || !json["originalTransactionID"].isDouble())
        return std::nullopt;
    return StoredTrial{json["productID"].toString(), static_cast<quint64>(json["originalTransactionID"].toInteger())};
}

void TrialConversionTracker::startObservingTransactions()
{
    stopObserving();
    observation_ = QObject::connect(&updates_, &platform::StoreTransactionUpdates::transactionUpdated, &updates_,
                                    [this](const platform::VerifiedStoreTransaction& update) { handle(update); });
}

void TrialConversionTracker::stopObserving()
{
    QObject::disconnect(observation_);
    observation_ = {};
}

void TrialConversionTracker::handle(const platform::VerifiedStoreTransaction& update)
{
    if (!update.verified)
        return;
    const std::optional<StoredTrial> trial = loadStoredTrial();
    const platform::StoreTransaction& transaction = update.transaction;
    if (!trial || transaction.productID != trial->productID
        || transaction.originalTransactionID != trial->originalTransactionID)
        return;
    const bool ended = transaction.revocationDate
                       || (transaction.expirationDate && *transaction.expirationDate < clock_.now())
                       || transaction.isUpgraded;
    if (!ended && PurchaseSignals::isFreeTrialTransaction(transaction))
        return;
    setStoredTrial(std::nullopt);
    stopObserving();
    if (!ended)
        send_("Telemetry.Purchase.convertedFromTrial", PurchaseSignals::purchaseParameters(transaction),
              PurchaseSignals::priceInUSD(transaction));
}

} // namespace vesk::telemetry
