#include "platform/x11/GSettingsCommandRunner.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace vesk::platform {

namespace {

const QString defaultsPath = QStringLiteral("/usr/bin/defaults");
const QString killallPath = QStringLiteral("/usr/bin/killall");

CommandResult success(const QString& output = QString())
{
    return CommandResult{0, output, QString()};
}

CommandResult failure(const QString& message)
{
    return CommandResult{1, QString(), message + QLatin1Char('\n')};
}

CommandResult notThere(const QString& domain, const QString& key)
{
    return failure(QStringLiteral("The domain/default pair of (%1, %2) does not exist").arg(domain, key));
}

std::optional<bool> parseBool(const QString& text)
{
    const QString lowered = text.toLower();
    if (lowered == QLatin1String("true") || lowered == QLatin1String("yes") || lowered == QLatin1String("1"))
        return true;
    if (lowered == QLatin1String("false") || lowered == QLatin1String("no") || lowered == QLatin1String("0"))
        return false;
    return std::nullopt;
}

QString encodeValues(const std::map<GSettingsKey, QString>& values)
{
    QJsonObject object;
    for (const auto& [key, value] : values)
        object.insert(key.text(), value);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

std::optional<std::map<GSettingsKey, QString>> decodeValues(const QString& text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    std::map<GSettingsKey, QString> values;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const qsizetype space = it.key().indexOf(QLatin1Char(' '));
        if (space <= 0 || !it.value().isString())
            return std::nullopt;
        values[{it.key().left(space), it.key().mid(space + 1)}] = it.value().toString();
    }
    return values;
}

std::set<GSettingsKey> keysOf(const std::vector<GSettingsCounterpart::Target>& targets)
{
    std::set<GSettingsKey> keys;
    for (const auto& target : targets)
        keys.insert(target.key);
    return keys;
}

} // namespace

GSettingsCommandRunner::GSettingsCommandRunner(std::unique_ptr<GSettingsTool> tool, const QString& xdgCurrentDesktop)
    : tool_(std::move(tool))
    , family_(gsettingsDesktopFamily(xdgCurrentDesktop))
    , xdgCurrentDesktop_(xdgCurrentDesktop)
{
}

CommandResult GSettingsCommandRunner::run(const QString& executable, const QStringList& arguments)
{
    if (executable == defaultsPath)
        return runDefaults(arguments);
    if (executable == killallPath) {
        // Window managers read their GSettings keys as they change: nothing to restart.
        if (arguments == QStringList{QStringLiteral("Dock")})
            return success();
        return failure(QStringLiteral("No matching processes belonging to you were found"));
    }
    return failure(QStringLiteral("The file \"%1\" couldn't be opened because there is no such file.")
                       .arg(executable.section(QLatin1Char('/'), -1)));
}

CommandResult GSettingsCommandRunner::runDefaults(const QStringList& arguments)
{
    const QString verb = arguments.value(0);
    const QString domain = arguments.value(1);
    const QString key = arguments.value(2);
    if (domain.isEmpty() || key.isEmpty())
        return failure(QStringLiteral("Only single keys of a domain have GSettings counterparts"));
    if (verb == QLatin1String("read"))
        return read(domain, key);
    if (verb == QLatin1String("write"))
        return write(domain, key, arguments.mid(3));
    if (verb == QLatin1String("delete"))
        return remove(domain, key);
    return failure(QStringLiteral("Unexpected argument %1; leaving defaults unchanged.").arg(verb));
}

CommandResult GSettingsCommandRunner::read(const QString& domain, const QString& key)
{
    const std::optional<GSettingsCounterpart> counterpart = installedCounterpart(domain, key);
    if (!counterpart)
        return notThere(domain, key);
    const std::optional<std::map<GSettingsKey, QString>> values = currentValues(keysOf(counterpart->targets));
    if (!values || values->size() != counterpart->targets.size())
        return failure(QStringLiteral("The GSettings values behind (%1, %2) could not be read").arg(domain, key));
    if (counterpart->isToggle()) {
        const bool value = counterpart->toggleBool(values->begin()->second);
        return success(value ? QStringLiteral("true\n") : QStringLiteral("false\n"));
    }
    return success(encodeValues(*values) + QLatin1Char('\n'));
}

CommandResult GSettingsCommandRunner::write(const QString& domain, const QString& key, const QStringList& value)
{
    const QString type = value.value(0);
    const bool typed = type.startsWith(QLatin1Char('-'));
    if (value.isEmpty() || (typed && value.size() < 2))
        return failure(QStringLiteral("Not enough arguments were supplied"));
    const QString text = typed ? value.value(1) : type;
    if (type == QLatin1String("-bool") || type == QLatin1String("-boolean")) {
        const std::optional<bool> parsed = parseBool(text);
        if (!parsed)
            return failure(QStringLiteral("Value %1 is not a boolean").arg(text));
        return writeBool(domain, key, *parsed);
    }
    if (!typed || type == QLatin1String("-string"))
        return writeBackup(domain, key, text);
    if (!installedCounterpart(domain, key))
        return success();
    return failure(QStringLiteral("A %1 value has no GSettings counterpart for (%2, %3)").arg(type, domain, key));
}

CommandResult GSettingsCommandRunner::writeBool(const QString& domain, const QString& key, bool value)
{
    const std::optional<GSettingsCounterpart> counterpart = installedCounterpart(domain, key);
    if (!counterpart)
        return success();
    if (counterpart->isToggle())
        return apply({{counterpart->targets.front().key, counterpart->toggleValue(value)}});
    if (value != counterpart->blockingBool)
        return resetKeys(counterpart->targets);
    std::map<GSettingsKey, QString> blocking;
    for (const auto& target : counterpart->targets)
        blocking[target.key] = target.blockingValue;
    return apply(blocking);
}

// A backup text puts back the keys it names that stand for this defaults key
// on any desktop family (a session may have crashed under another one) and
// that this desktop has.
CommandResult GSettingsCommandRunner::writeBackup(const QString& domain, const QString& key, const QString& text)
{
    const std::optional<std::map<GSettingsKey, QString>> values = decodeValues(text);
    if (!values) {
        if (!installedCounterpart(domain, key))
            return success();
        return failure(QStringLiteral("Value %1 is no GSettings backup of (%2, %3)").arg(text, domain, key));
    }
    const std::vector<GSettingsKey> known = GSettingsCounterpart::knownKeys(domain, key);
    std::map<GSettingsKey, QString> wanted;
    for (const auto& [gsettingsKey, value] : *values) {
        if (std::find(known.begin(), known.end(), gsettingsKey) == known.end()) {
            return failure(QStringLiteral("%1 does not stand for (%2, %3); nothing was written")
                               .arg(gsettingsKey.text(), domain, key));
        }
        if (isInstalled(gsettingsKey))
            wanted[gsettingsKey] = value;
    }
    return apply(wanted);
}

CommandResult GSettingsCommandRunner::remove(const QString& domain, const QString& key)
{
    const std::optional<GSettingsCounterpart> counterpart = installedCounterpart(domain, key);
    if (!counterpart)
        return success();
    return resetKeys(counterpart->targets);
}

std::optional<GSettingsCounterpart> GSettingsCommandRunner::installedCounterpart(const QString& domain,
                                                                                 const QString& key)
{
    for (const GSettingsCounterpart& counterpart : GSettingsCounterpart::forFamily(family_)) {
        if (counterpart.domain != domain || counterpart.defaultsKey != key)
            continue;
        GSettingsCounterpart installed = counterpart;
        QStringList missing;
        std::erase_if(installed.targets, [this, &missing](const auto& target) {
            if (isInstalled(target.key))
                return false;
            missing << target.key.text();
            return true;
        });
        if (installed.targets.empty())
            break;
        if (!missing.isEmpty() && reportedKeys_.insert(domain + QLatin1Char(' ') + key).second) {
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("%1 lacks some GSettings keys that stand for (%2, %3); the others are used. "
                                       "Missing: %4")
                            .arg(toRaw(family_), domain, key, missing.join(QStringLiteral(", "))));
        }
        return installed;
    }
    reportNoCounterpart(domain, key);
    return std::nullopt;
}

bool GSettingsCommandRunner::isInstalled(const GSettingsKey& key)
{
    if (!schemas_) {
        // Asked once: a tool that cannot answer counts as nothing installed.
        const GSettingsTool::Result listed = tool_->run({QStringLiteral("list-schemas")});
        if (!listed.ok) {
            logger_.log(VeskLogLevel::error,
                        QStringLiteral("The installed GSettings schemas could not be listed: ") + listed.error);
        }
        const QStringList names =
            listed.ok ? listed.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
        schemas_ = std::set<QString>(names.begin(), names.end());
    }
    if (!schemas_->contains(key.schema))
        return false;
    auto keys = keysBySchema_.find(key.schema);
    if (keys == keysBySchema_.end()) {
        const QStringList listed = tool_->listKeys(key.schema).value_or(QStringList());
        keys = keysBySchema_.emplace(key.schema, std::set<QString>(listed.begin(), listed.end())).first;
    }
    return keys->second.contains(key.key);
}

bool GSettingsCommandRunner::familyHasAnyInstalled()
{
    for (const GSettingsCounterpart& counterpart : GSettingsCounterpart::forFamily(family_)) {
        for (const auto& target : counterpart.targets) {
            if (isInstalled(target.key))
                return true;
        }
    }
    return false;
}

void GSettingsCommandRunner::reportNoCounterpart(const QString& domain, const QString& key)
{
    if (desktopReported_)
        return;
    if (family_ == GSettingsDesktopFamily::other) {
        desktopReported_ = true;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("The desktop \"%1\" keeps none of the settings a session changes in GSettings; "
                                   "they are left as they are")
                        .arg(xdgCurrentDesktop_));
        return;
    }
    if (!familyHasAnyInstalled()) {
        desktopReported_ = true;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("None of the %1 GSettings schemas that a session changes is installed; the "
                                   "desktop's settings are left as they are")
                        .arg(toRaw(family_)));
        return;
    }
    if (reportedKeys_.insert(domain + QLatin1Char(' ') + key).second) {
        logger_.log(VeskLogLevel::info, QStringLiteral("%1 has no GSettings counterpart of (%2, %3); left as it is")
                                            .arg(toRaw(family_), domain, key));
    }
}

std::optional<std::map<GSettingsKey, QString>> GSettingsCommandRunner::currentValues(const std::set<GSettingsKey>& keys)
{
    std::map<GSettingsKey, QString> values;
    std::map<QString, std::map<QString, QString>> bySchema;
    for (const GSettingsKey& key : keys) {
        auto schema = bySchema.find(key.schema);
        if (schema == bySchema.end()) {
            std::optional<std::map<QString, QString>> read = tool_->values(key.schema);
            if (!read)
                return std::nullopt;
            schema = bySchema.emplace(key.schema, std::move(*read)).first;
        }
        const auto value = schema->second.find(key.key);
        if (value != schema->second.end())
            values[key] = value->second;
    }
    return values;
}

CommandResult GSettingsCommandRunner::apply(const std::map<GSettingsKey, QString>& wanted)
{
    std::set<GSettingsKey> keys;
    for (const auto& [key, value] : wanted)
        keys.insert(key);
    const std::map<GSettingsKey, QString> current = currentValues(keys).value_or(std::map<GSettingsKey, QString>());
    QStringList errors;
    for (const auto& [key, value] : wanted) {
        const auto now = current.find(key);
        if (now != current.end() && now->second == value)
            continue;
        const GSettingsTool::Result result = tool_->set(key, value);
        if (!result.ok)
            errors << QStringLiteral("%1: %2").arg(key.text(), result.error);
    }
    if (!errors.isEmpty())
        return failure(errors.join(QStringLiteral("; ")));
    return success();
}

CommandResult GSettingsCommandRunner::resetKeys(const std::vector<GSettingsCounterpart::Target>& targets)
{
    QStringList errors;
    for (const auto& target : targets) {
        const GSettingsTool::Result result = tool_->reset(target.key);
        if (!result.ok)
            errors << QStringLiteral("%1: %2").arg(target.key.text(), result.error);
    }
    if (!errors.isEmpty())
        return failure(errors.join(QStringLiteral("; ")));
    return success();
}

} // namespace vesk::platform
