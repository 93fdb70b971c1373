#pragma once

#include "platform/StoreTransaction.h"

#include <QObject>

namespace vesk::platform {

// The store's stream of transaction updates (renewals, conversions,
// revocations), delivered on the main thread.
class StoreTransactionUpdates : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~StoreTransactionUpdates() override = default;

signals:
    void transactionUpdated(const vesk::platform::VerifiedStoreTransaction& update);
};

} // namespace vesk::platform
