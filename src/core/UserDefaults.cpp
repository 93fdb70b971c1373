#include "core/UserDefaults.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

namespace vesk {

namespace {

Q_LOGGING_CATEGORY(userDefaultsLog, "UserDefaults")

bool readJson(QIODevice& device, QSettings::SettingsMap& map)
{
    const QByteArray data = device.readAll();
    if (data.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(userDefaultsLog).noquote() << "Could not read a user-defaults file —" << error.errorString();
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), it.value().toVariant());
    return true;
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), QJsonValue::fromVariant(it.value()));
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("json"), readJson, writeJson);
    return format;
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

QString UserDefaults::defaultRootDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

UserDefaults::UserDefaults(const QString& suiteName, const QString& rootDirectory)
    : suiteName_(suiteName)
{
    QDir().mkpath(rootDirectory);
    settings_ = std::make_unique<QSettings>(QDir(rootDirectory).filePath(suiteName + QStringLiteral(".json")),
                                            jsonFormat());
}

UserDefaults::~UserDefaults() = default;

QString UserDefaults::filePath() const
{
    return settings_->fileName();
}

bool UserDefaults::objectExists(const QString& key) const
{
    return settings_->contains(key);
}

std::optional<QVariant> UserDefaults::object(const QString& key) const
{
    if (!objectExists(key))
        return std::nullopt;
    return settings_->value(key);
}

bool UserDefaults::boolForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value)
        return false;
    if (value->typeId() == QMetaType::Bool)
        return value->toBool();
    if (isNumber(*value))
        return value->toDouble() != 0;
    if (value->typeId() == QMetaType::QString) {
        const QString text = value->toString().trimmed().toLower();
        return text == QLatin1String("true") || text == QLatin1String("yes") || text.toLongLong() != 0;
    }
    return false;
}

qint64 UserDefaults::integerForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value)
        return 0;
    if (value->typeId() == QMetaType::Bool)
        return value->toBool() ? 1 : 0;
    if (value->typeId() == QMetaType::Double || value->typeId() == QMetaType::Float)
        return static_cast<qint64>(value->toDouble());
    if (isNumber(*value))
        return value->toLongLong();
    if (value->typeId() == QMetaType::QString) {
        bool converted = false;
        const double number = value->toString().trimmed().toDouble(&converted);
        return converted ? static_cast<qint64>(number) : 0;
    }
    return 0;
}

double UserDefaults::doubleForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value)
        return 0;
    if (value->typeId() == QMetaType::Bool || isNumber(*value))
        return value->toDouble();
    if (value->typeId() == QMetaType::QString)
        return value->toString().trimmed().toDouble();
    return 0;
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value || !(value->typeId() == QMetaType::QString || isNumber(*value)))
        return std::nullopt;
    return value->toString();
}

std::optional<QVariantList> UserDefaults::arrayForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value || !(value->typeId() == QMetaType::QVariantList || value->typeId() == QMetaType::QStringList))
        return std::nullopt;
    return value->toList();
}

std::optional<QStringList> UserDefaults::stringArrayForKey(const QString& key) const
{
    const std::optional<QVariantList> array = arrayForKey(key);
    if (!array)
        return std::nullopt;
    QStringList texts;
    for (const QVariant& element : *array) {
        if (element.typeId() != QMetaType::QString)
            return std::nullopt;
        texts.append(element.toString());
    }
    return texts;
}

std::optional<QVariantMap> UserDefaults::dictionaryForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value || value->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return value->toMap();
}

void UserDefaults::setObject(const QString& key, const QVariant& value)
{
    settings_->setValue(key, value);
    settings_->sync();
}

void UserDefaults::setStringArray(const QString& key, const QStringList& value)
{
    setArray(key, QVariantList(value.begin(), value.end()));
}

void UserDefaults::removeObject(const QString& key)
{
    settings_->remove(key);
    settings_->sync();
}

QVariantMap UserDefaults::dictionaryRepresentation() const
{
    QVariantMap dictionary;
    for (const QString& key : settings_->allKeys())
        dictionary.insert(key, settings_->value(key));
    return dictionary;
}

} // namespace vesk
