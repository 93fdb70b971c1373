#include "platform/simulated/DefaultsDomains.h"

namespace vesk::platform {

std::optional<QVariant> DefaultsDomains::value(const QString& domain, const QString& key) const
{
    const auto it = domains_.find(domain);
    if (it == domains_.end() || !it->second.contains(key))
        return std::nullopt;
    return it->second.value(key);
}

void DefaultsDomains::setValue(const QString& domain, const QString& key, const QVariant& value)
{
    domains_[domain].insert(key, value);
}

bool DefaultsDomains::remove(const QString& domain, const QString& key)
{
    const auto it = domains_.find(domain);
    if (it == domains_.end() || it->second.remove(key) == 0)
        return false;
    if (it->second.isEmpty())
        domains_.erase(it);
    return true;
}

bool DefaultsDomains::removeDomain(const QString& domain)
{
    return domains_.erase(domain) > 0;
}

QVariantMap DefaultsDomains::domain(const QString& name) const
{
    const auto it = domains_.find(name);
    return it == domains_.end() ? QVariantMap() : it->second;
}

QStringList DefaultsDomains::domainNames() const
{
    QStringList names;
    for (const auto& [name, values] : domains_)
        names.append(name);
    return names;
}

} // namespace vesk::platform
