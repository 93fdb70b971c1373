#include "analytics/client/SignalCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace vesk::telemetry {

namespace {

using Level = LogHandler::LogLevel;
constexpr auto kFileForm = SignalPostBody::DateForm::secondsSinceReferenceDate;

bool writeFile(const QString& path, const QByteArray& data)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

QString SignalCache::defaultCacheFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("telemetrysignalcache"));
}

SignalCache::SignalCache(std::optional<LogHandler> logHandler, int cacheLimit, QString cacheFilePath)
    : logHandler_(std::move(logHandler))
    , cacheLimit_(cacheLimit)
    , cacheFilePathOverride_(std::move(cacheFilePath))
{
    loadFromDisk();
}

QString SignalCache::cacheFilePath() const
{
    return cacheFilePathOverride_.isEmpty() ? defaultCacheFilePath() : cacheFilePathOverride_;
}

void SignalCache::append(SignalPostBody body)
{
    cachedSignals_.push_back(std::move(body));
    trim();
}

void SignalCache::appendAll(std::vector<SignalPostBody> bodies)
{
    for (SignalPostBody& body : bodies)
        cachedSignals_.push_back(std::move(body));
    trim();
}

std::vector<SignalPostBody> SignalCache::takeBatch()
{
    const auto count = std::min<std::size_t>(cachedSignals_.size(), maximumNumberOfSignalsToPopAtOnce);
    std::vector<SignalPostBody> batch(std::make_move_iterator(cachedSignals_.begin()),
                                      std::make_move_iterator(cachedSignals_.begin() + count));
    cachedSignals_.erase(cachedSignals_.begin(), cachedSignals_.begin() + count);
    return batch;
}

void SignalCache::trim()
{
    while (static_cast<int>(cachedSignals_.size()) > cacheLimit_)
        cachedSignals_.pop_front();
}

void SignalCache::loadFromDisk()
{
    const QString path = cacheFilePath();
    if (path.isEmpty()) {
        logWith(logHandler_, Level::error,
                [] { return QStringLiteral("Failed to get disk cache url from FileManager."); });
        return;
    }
    logWith(logHandler_, Level::info, [&] { return QStringLiteral("Loading Telemetry cache from: ") + path; });
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    file.close();
    file.remove();
    std::optional<std::vector<SignalPostBody>> bodies = SignalPostBody::decodeArray(data, kFileForm);
    if (!bodies)
        return;
    logWith(logHandler_, Level::info, [&] { return QStringLiteral("Loaded %1 signals").arg(bodies->size()); });
    appendAll(std::move(*bodies));
}

void SignalCache::saveToDisk()
{
    std::vector<SignalPostBody> toSave = savedSignals_;
    toSave.insert(toSave.end(), cachedSignals_.begin(), cachedSignals_.end());
    const auto excess = static_cast<std::ptrdiff_t>(toSave.size()) - cacheLimit_;
    if (excess > 0)
        toSave.erase(toSave.begin(), toSave.begin() + excess);
    const std::optional<QByteArray> data = SignalPostBody::encodeArray(toSave, kFileForm);
    if (!data)
        return;
    const QString path = cacheFilePath();
    if (path.isEmpty() || !writeFile(path, *data)) {
        logWith(logHandler_, Level::error, [] { return QStringLiteral("Error saving Telemetry cache"); });
        return;
    }
    logWith(logHandler_, Level::info, [&] {
        return QStringLiteral("Saved Telemetry cache %1 bytes of %2 signals").arg(data->size()).arg(toSave.size());
    });
    savedSignals_ = std::move(toSave);
    cachedSignals_.clear();
}

} // namespace vesk::telemetry
