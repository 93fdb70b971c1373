#pragma once

#include "platform/DefaultsDomainsProviding.h"

#include <map>

namespace vesk::platform {

// A Linux desktop has no defaults domains of its own (its window-manager
// settings are reached through `GSettingsCommandRunner`): the domains start
// empty and hold what is set in them for as long as the process runs.
class X11DefaultsDomains final : public DefaultsDomainsProviding {
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
