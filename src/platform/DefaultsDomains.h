#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <map>
#include <optional>

namespace vesk::platform {

// The system's defaults domains ("com.apple.dock", "com.apple.screencapture",
// ...): per domain name, key -> value (bool, integer, double or text).
class DefaultsDomains {
public:
    std::optional<QVariant> value(const QString& domain, const QString& key) const;
    void setValue(const QString& domain, const QString& key, const QVariant& value);
    // False when the key was not there.
    bool remove(const QString& domain, const QString& key);
    bool removeDomain(const QString& domain);
    QVariantMap domain(const QString& name) const;
    QStringList domainNames() const;

private:
    std::map<QString, QVariantMap> domains_;
};

} // namespace vesk::platform
