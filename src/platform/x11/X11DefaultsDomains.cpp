#include "platform/x11/X11DefaultsDomains.h"

namespace vesk::platform {

std::optional<QVariant> X11DefaultsDomains::value(const QString& domain, const QString& key) const
{
    const auto found = domains_.find(domain);
    if (found == domains_.end() || !found->second.contains(key))
        return std::nullopt;
    return found->second.value(key);
}

void X11DefaultsDomains::setValue(const QString& domain, const QString& key, const QVariant& value)
{
    domains_[domain].insert(key, value);
}

bool X11DefaultsDomains::remove(const QString& domain, const QString& key)
{
    const auto found = domains_.find(domain);
    if (found == domains_.end() || found->second.remove(key) == 0)
        return false;
    if (found->second.isEmpty())
        domains_.erase(found);
    return true;
}

bool X11DefaultsDomains::removeDomain(const QString& domain)
{
    return domains_.erase(domain) > 0;
}

QVariantMap X11DefaultsDomains::domain(const QString& name) const
{
    const auto found = domains_.find(name);
    return found == domains_.end() ? QVariantMap() : found->second;
}

QStringList X11DefaultsDomains::domainNames() const
{
    QStringList names;
    for (const auto& [name, values] : domains_)
        names.append(name);
    return names;
}

} // namespace vesk::platform
