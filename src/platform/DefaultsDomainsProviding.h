#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace vesk::platform {

// The system's defaults domains ("com.apple.dock", "com.apple.screencapture",
// ...): per domain name, key -> value (bool, integer, double or text).
class DefaultsDomainsProviding {
public:
    virtual ~DefaultsDomainsProviding() = default;

    virtual std::optional<QVariant> value(const QString& domain, const QString& key) const = 0;
    virtual void setValue(const QString& domain, const QString& key, const QVariant& value) = 0;
    // False when the key was not there.
    virtual bool remove(const QString& domain, const QString& key) = 0;
    virtual bool removeDomain(const QString& domain) = 0;
    virtual QVariantMap domain(const QString& name) const = 0;
    virtual QStringList domainNames() const = 0;
};

} // namespace vesk::platform
