#include "core/UserDefaults.h"

#include "core/FileIO.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

namespace vesk {

namespace {

Q_LOGGING_CATEGORY(userDefaultsLog, "UserDefaults")

// Data values have no JSON type of their own: they are written as an object
// with the one member "$data" holding the bytes in Base64.
const QString kDataTag = QStringLiteral("$data");

QJsonValue jsonValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return QJsonObject{{kDataTag, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray array;
        for (const QVariant& element : value.toList())
            array.append(jsonValue(element));
        return array;
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), jsonValue(it.value()));
        return object;
    }
    default:
        return QJsonValue::fromVariant(value);
    }
}

QVariant variantValue(const QJsonValue& value)
{
    if (value.isArray()) {
        QVariantList list;
        for (const QJsonValue& element : value.toArray())
            list.append(variantValue(element));
        return list;
    }
    if (!value.isObject())
        return value.toVariant();
    const QJsonObject object = value.toObject();
    if (object.size() == 1 && object.value(kDataTag).isString())
        return QByteArray::fromBase64(object.value(kDataTag).toString().toLatin1());
    QVariantMap map;
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), variantValue(it.value()));
    return map;
}

// Why `data` is no settings document; empty when it is one (an empty file is an empty domain).
QString parseSettings(const QByteArray& data, QSettings::SettingsMap& map)
{
    if (data.trimmed().isEmpty())
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("not valid JSON at offset %1: %2").arg(error.offset).arg(error.errorString());
    if (!document.isObject())
        return QStringLiteral("not a JSON object");
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), variantValue(it.value()));
    return {};
}

bool readJson(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString error = parseSettings(device.read(maximumInputFileBytes + 1), map);
    if (error.isEmpty())
        return true;
    qCWarning(userDefaultsLog).noquote()
        << QStringLiteral("Could not read a settings file — file=%1, reason=%2").arg(fileNameOf(device), error);
    return false;
}

QByteArray settingsDocument(const QSettings::SettingsMap& map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), jsonValue(it.value()));
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map)
{
    return !writeAllTo(device, settingsDocument(map));
}

// Why the settings file at `path` cannot be used; empty when it can (or does not exist yet).
QString unreadableReason(const QString& path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    const InputFileContents file = readInputFile(path);
    if (!file.ok())
        return file.error;
    QSettings::SettingsMap map;
    return parseSettings(file.data, map);
}

// Moves an unreadable file out of the way, so that nothing overwrites what
// the user may still want from it; returns where it went, or nothing.
std::optional<QString> moveAside(const QString& path)
{
    const QString base = path + QStringLiteral(".unreadable-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString target = base;
    for (int attempt = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++attempt)
        target = base + QStringLiteral("-%1").arg(attempt);
    if (!QFile::rename(path, target))
        return std::nullopt;
    return target;
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

UserDefaults::UserDefaults(const QString& suiteName, const QString& rootDirectory) : suiteName_(suiteName)
{
    QDir().mkpath(rootDirectory);
    const QString path = QDir(rootDirectory).filePath(suiteName + QStringLiteral(".json"));
    recoverUnreadableFile(path);
    settings_ = std::make_unique<QSettings>(path, jsonFormat());
}

UserDefaults::~UserDefaults() = default;

QString UserDefaults::lastGoodCopyPath(const QString& path)
{
    return path + QStringLiteral(".last-good");
}

// A file that cannot be read would be read as an empty domain and then be
// written over with the defaults: every setting the user made would be lost.
// It goes aside instead, and the domain starts from the last good copy; only
// when that cannot be read either does it start empty, and says so.
void UserDefaults::recoverUnreadableFile(const QString& path)
{
    const QString reason = unreadableReason(path);
    if (reason.isEmpty()) {
        keepLastGoodCopyOfReadableFile(path);
        return;
    }
    const std::optional<QString> movedTo = moveAside(path);
    if (!movedTo) {
        qCCritical(userDefaultsLog).noquote()
            << QStringLiteral("Could not move an unreadable settings file aside — file=%1, reason=%2")
                   .arg(path, reason);
        readFailure_ = reason;
        return;
    }
    const QString copy = lastGoodCopyPath(path);
    const QString copyProblem = restoreFromCopy(path, copy);
    if (copyProblem.isEmpty()) {
        qCWarning(userDefaultsLog).noquote()
            << QStringLiteral("Moved an unreadable settings file aside; restored the last good copy — "
                              "file=%1, movedTo=%2, reason=%3, copy=%4")
                   .arg(path, *movedTo, reason, copy);
        return;
    }
    readFailure_ = QStringLiteral("%1; the last good copy %2: %3").arg(reason, copy, copyProblem);
    qCWarning(userDefaultsLog).noquote() << QStringLiteral(
                                                "Moved an unreadable settings file aside; starting from the defaults — "
                                                "file=%1, movedTo=%2, reason=%3, copy=%4, copyReason=%5")
                                                .arg(path, *movedTo, reason, copy, copyProblem);
}

// Why the settings could not be restored from `copy`; empty when they were.
QString UserDefaults::restoreFromCopy(const QString& path, const QString& copy)
{
    if (!QFileInfo::exists(copy) && !QFileInfo(copy).isSymLink())
        return QStringLiteral("there is none");
    const QString problem = unreadableReason(copy);
    if (!problem.isEmpty())
        return problem;
    const InputFileContents contents = readInputFile(copy);
    if (!contents.ok())
        return contents.error;
    if (const std::optional<QString> error = writeFileAtomically(path, contents.data))
        return *error;
    return {};
}

// A settings file written before copies were kept (or whose copy went
// missing) gets one now, so that the next unreadable file has one to go back to.
void UserDefaults::keepLastGoodCopyOfReadableFile(const QString& path)
{
    const InputFileContents file = readInputFile(path);
    if (!file.ok() || file.data.trimmed().isEmpty())
        return;
    const QString copy = lastGoodCopyPath(path);
    if (readInputFile(copy).data == file.data)
        return;
    if (const std::optional<QString> error = writeFileAtomically(copy, file.data))
        qCWarning(userDefaultsLog).noquote()
            << QStringLiteral("Could not keep a last good copy of the settings — file=%1, reason=%2").arg(path, *error);
}

void UserDefaults::writeLastGoodCopy()
{
    const QString copy = lastGoodCopyPath(filePath());
    const std::optional<QString> error = writeFileAtomically(copy, settingsDocument(dictionaryRepresentation()));
    if (!error)
        return;
    qCWarning(userDefaultsLog).noquote() << QStringLiteral(
                                                "Could not keep a last good copy of the settings — file=%1, reason=%2")
                                                .arg(filePath(), *error);
    if (writeFailureHandler_)
        writeFailureHandler_(*error);
}

void UserDefaults::prepareWrite()
{
    // QSettings keeps its first error for good; after a failed write a fresh
    // one over the same file (which keeps the unsaved values) tells whether
    // the next write works.
    if (lastWriteFailed_)
        settings_ = std::make_unique<QSettings>(filePath(), jsonFormat());
}

void UserDefaults::syncToFile()
{
    settings_->sync();
    lastWriteFailed_ = settings_->status() != QSettings::NoError;
    if (!lastWriteFailed_) {
        writeLastGoodCopy();
        return;
    }
    const QString reason = settings_->status() == QSettings::AccessError
                               ? QStringLiteral("the file could not be written")
                               : QStringLiteral("the file could not be read");
    qCWarning(userDefaultsLog).noquote()
        << QStringLiteral("Could not save the settings — file=%1, reason=%2").arg(filePath(), reason);
    if (writeFailureHandler_)
        writeFailureHandler_(QStringLiteral("%1: %2").arg(filePath(), reason));
}

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

std::optional<QByteArray> UserDefaults::dataForKey(const QString& key) const
{
    const std::optional<QVariant> value = object(key);
    if (!value || value->typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value->toByteArray();
}

void UserDefaults::setObject(const QString& key, const QVariant& value)
{
    prepareWrite();
    settings_->setValue(key, value);
    syncToFile();
}

void UserDefaults::setStringArray(const QString& key, const QStringList& value)
{
    setArray(key, QVariantList(value.begin(), value.end()));
}

void UserDefaults::removeObject(const QString& key)
{
    prepareWrite();
    settings_->remove(key);
    syncToFile();
}

QVariantMap UserDefaults::dictionaryRepresentation() const
{
    QVariantMap dictionary;
    for (const QString& key : settings_->allKeys())
        dictionary.insert(key, settings_->value(key));
    return dictionary;
}

} // namespace vesk
