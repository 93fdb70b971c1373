#pragma once

#include "analytics/client/IdentifiableError.h"

namespace vesk::telemetry {

// Any error's description given an identifier of the caller's choice.
class AnyIdentifiableError final : public IdentifiableError {
public:
    AnyIdentifiableError(QString id, QString localizedDescription)
        : id_(std::move(id))
        , localizedDescription_(std::move(localizedDescription))
    {
    }

    static AnyIdentifiableError withIdentifier(const QString& id, const QString& errorDescription)
    {
        return AnyIdentifiableError(id, errorDescription);
    }

    QString id() const override { return id_; }
    QString localizedDescription() const override { return localizedDescription_; }

private:
    QString id_;
    QString localizedDescription_;
};

} // namespace vesk::telemetry
