#include "platform/simulated/DefaultsDomains.h"

#include "core/FileIO.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

namespace vesk::platform {

namespace {

Q_LOGGING_CATEGORY(lcDefaults, "vesk.platform.defaults")

QJsonObject typedValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return {{"bool", value.toBool()}};
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return {{"integer", value.toLongLong()}};
    case QMetaType::Double:
    case QMetaType::Float:
        return {{"real", value.toDouble()}};
    default:
        return {{"string", value.toString()}};
    }
}

std::optional<QVariant> untypedValue(const QJsonValue& json)
{
    const QJsonObject object = json.toObject();
    if (object.size() != 1)
        return std::nullopt;
    const QString type = object.begin().key();
    const QJsonValue value = object.begin().value();
    if (type == QLatin1String("bool") && value.isBool())
        return QVariant(value.toBool());
    if (type == QLatin1String("integer") && value.isDouble())
        return QVariant(qlonglong(value.toInteger()));
    if (type == QLatin1String("real") && value.isDouble())
        return QVariant(value.toDouble());
    if (type == QLatin1String("string") && value.isString())
        return QVariant(value.toString());
    return std::nullopt;
}

// Moves an unreadable file out of the way, so that nothing writes over it.
void moveAside(const QString& path, const QString& reason)
{
    const QString base = path + QStringLiteral(".unreadable-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString target = base;
    for (int attempt = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++attempt)
        target = base + QStringLiteral("-%1").arg(attempt);
    if (QFile::rename(path, target))
        qCWarning(lcDefaults).noquote()
            << QStringLiteral("Moved an unreadable defaults domains file aside — file=%1, movedTo=%2, reason=%3")
                   .arg(path, target, reason);
    else
        qCCritical(lcDefaults).noquote()
            << QStringLiteral("Could not move an unreadable defaults domains file aside — file=%1, reason=%2")
                   .arg(path, reason);
}

} // namespace

std::optional<QVariant> DefaultsDomains::value(const QString& domain, const QString& key) const
{
    const auto it = domains_.find(domain);
    if (it == domains_.end() || !it->second.contains(key))
        return std::nullopt;
    return it->second.value(key);
}

void DefaultsDomains::setValue(const QString& domain, const QString& key, const QVariant& value)
{
    const std::optional<QVariant> old = this->value(domain, key);
    if (old && old->typeId() == value.typeId() && *old == value)
        return;
    domains_[domain].insert(key, value);
    writeFile();
}

bool DefaultsDomains::remove(const QString& domain, const QString& key)
{
    const auto it = domains_.find(domain);
    if (it == domains_.end() || it->second.remove(key) == 0)
        return false;
    if (it->second.isEmpty())
        domains_.erase(it);
    writeFile();
    return true;
}

bool DefaultsDomains::removeDomain(const QString& domain)
{
    if (domains_.erase(domain) == 0)
        return false;
    writeFile();
    return true;
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

void DefaultsDomains::insert(const std::map<QString, QVariantMap>& domains)
{
    for (const auto& [name, values] : domains) {
        for (auto it = values.begin(); it != values.end(); ++it)
            domains_[name].insert(it.key(), it.value());
    }
    writeFile();
}

bool DefaultsDomains::keepInFile(const QString& path)
{
    filePath_ = path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        const InputFileContents file = readInputFile(path);
        std::optional<std::map<QString, QVariantMap>> stored;
        if (file.ok())
            stored = decode(file.data);
        if (stored) {
            domains_ = std::move(*stored);
            return true;
        }
        moveAside(path, file.ok() ? QStringLiteral("not a defaults domains file") : file.error);
    }
    writeFile();
    return false;
}

QByteArray DefaultsDomains::encode(const std::map<QString, QVariantMap>& domains)
{
    QJsonObject json;
    for (const auto& [name, values] : domains) {
        QJsonObject domain;
        for (auto it = values.begin(); it != values.end(); ++it)
            domain.insert(it.key(), typedValue(it.value()));
        json.insert(name, domain);
    }
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

std::optional<std::map<QString, QVariantMap>> DefaultsDomains::decode(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    std::map<QString, QVariantMap> domains;
    const QJsonObject json = document.object();
    for (auto domain = json.begin(); domain != json.end(); ++domain) {
        if (!domain.value().isObject())
            return std::nullopt;
        const QJsonObject values = domain.value().toObject();
        for (auto it = values.begin(); it != values.end(); ++it) {
            const std::optional<QVariant> value = untypedValue(it.value());
            if (!value)
                return std::nullopt;
            domains[domain.key()].insert(it.key(), *value);
        }
    }
    return domains;
}

void DefaultsDomains::writeFile() const
{
    if (filePath_.isEmpty())
        return;
    if (const std::optional<QString> failure = writeFileAtomically(filePath_, encode(domains_)))
        qCWarning(lcDefaults).noquote()
            << QStringLiteral("Could not save the defaults domains — file=%1, reason=%2").arg(filePath_, *failure);
}

} // namespace vesk::platform
