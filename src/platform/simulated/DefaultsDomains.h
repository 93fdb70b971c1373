#pragma once

#include "platform/DefaultsDomainsProviding.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <map>
#include <optional>

namespace vesk::platform {

// The simulated desktop's defaults domains: in memory, or kept in a file.
// Kept in a file, they are the system's and outlive the process that changed
// them, as on a real machine: every change is written at once, whole or not
// at all, so that a process killed at any moment leaves them as they were
// then, and the next desktop over the same file starts from them. Reads never
// touch the file.
class DefaultsDomains final : public DefaultsDomainsProviding {
public:
    std::optional<QVariant> value(const QString& domain, const QString& key) const override;
    void setValue(const QString& domain, const QString& key, const QVariant& value) override;
    bool remove(const QString& domain, const QString& key) override;
    bool removeDomain(const QString& domain) override;
    QVariantMap domain(const QString& name) const override;
    QStringList domainNames() const override;

    // Adds every key of `domains`, with one write of the file.
    void insert(const std::map<QString, QVariantMap>& domains);

    // Keeps the domains in the file at `path` from now on (its folder is made
    // when missing). When the file holds the domains of an earlier desktop,
    // they replace the ones held now and the answer is true; otherwise the
    // ones held now are written to it. A file that cannot be read is moved
    // aside ("<file>.unreadable-<time>") with a warning and counts as absent.
    // A write that fails is logged; the values stay in memory and the next
    // change writes them all again.
    bool keepInFile(const QString& path);
    // Empty while the domains are kept in memory only.
    const QString& filePath() const { return filePath_; }

    // The file's form: per domain, per key, {"bool" | "integer" | "real" | "string": value}.
    static QByteArray encode(const std::map<QString, QVariantMap>& domains);
    // Nothing when `data` is not in that form.
    static std::optional<std::map<QString, QVariantMap>> decode(const QByteArray& data);

private:
    void writeFile() const;

    std::map<QString, QVariantMap> domains_;
    QString filePath_;
};

} // namespace vesk::platform
