#pragma once

#include "platform/DefaultsDomainsProviding.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <map>
#include <optional>

namespace vesk::platform {

// The simulated desktop's defaults domains, kept in memory.
class DefaultsDomains final : public DefaultsDomainsProviding {
public:
    std::optional<QVariant> value(const QString& domain, const QString& key) const override;
    void setValue(const QString& domain, const QString& key, const QVariant& value) override;
    bool remove(const QString& domain, const QString& key) override;
    bool removeDomain(const QString& domain) override;
    QVariantMap domain(const QString& name) const override;
    QStringList domainNames() const override;

private:
    std::map<QString, QVariantMap> domains_;
};

} // namespace vesk::platform
