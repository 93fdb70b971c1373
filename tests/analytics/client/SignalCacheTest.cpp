#include "analytics/client/SignalCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk::telemetry;

namespace {

SignalPostBody body(int number)
{
    return {QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 500), Qt::UTC).addSecs(number),
            "APP",
            "hash",
            "0F8C3B9A-1C2D-4E5F-8A9B-0C1D2E3F4A5B",
            QStringLiteral("signal.%1").arg(number),
            number % 2 ? std::optional<double>(number * 0.5) : std::nullopt,
            {{"n", QString::number(number)}},
            "false"};
}

std::vector<SignalPostBody> bodies(int first, int count)
{
    std::vector<SignalPostBody> list;
    for (int n = first; n < first + count; ++n)
        list.push_back(body(n));
    return list;
}

QStringList types(const std::vector<SignalPostBody>& list)
{
    QStringList names;
    for (const SignalPostBody& b : list)
        names << b.type;
    return names;
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

class SignalCacheTest : public ::testing::Test {
protected:
    LogHandler recorder()
    {
        return LogHandler(LogHandler::LogLevel::debug, [this](LogHandler::LogLevel level, const QString& message) {
            lines << LogHandler::levelText(level) + ": " + message;
        });
    }

    QTemporaryDir folder;
    QString path = folder.filePath("Caches/telemetrysignalcache");
    QStringList lines;
};

TEST_F(SignalCacheTest, KeepsTheNewestSignalsUpToItsLimit)
{
    SignalCache cache(std::nullopt, 10000, path);
    for (const SignalPostBody& b : bodies(0, 10001))
        cache.append(b);
    EXPECT_EQ(cache.storedCount(), 10000);
    EXPECT_EQ(cache.cachedSignals().front().type, "signal.1");
    EXPECT_EQ(cache.cachedSignals().back().type, "signal.10000");

    SignalCache small(std::nullopt, 3, path);
    small.append(body(0));
    small.appendAll(bodies(1, 4));
    EXPECT_EQ(types(small.cachedSignals()), (QStringList{"signal.2", "signal.3", "signal.4"}));
}

TEST_F(SignalCacheTest, BatchesTakeTheOldestHundred)
{
    SignalCache cache(std::nullopt, 10000, path);
    EXPECT_TRUE(cache.takeBatch().empty());
    cache.appendAll(bodies(0, 250));
    const std::vector<SignalPostBody> batch = cache.takeBatch();
    ASSERT_EQ(batch.size(), 100u);
    EXPECT_EQ(batch.front().type, "signal.0");
    EXPECT_EQ(batch.back().type, "signal.99");
    EXPECT_EQ(cache.storedCount(), 150);
    EXPECT_EQ(cache.takeBatch().size(), 100u);
    EXPECT_EQ(cache.takeBatch().size(), 50u);
    EXPECT_EQ(cache.storedCount(), 0);
}

TEST_F(SignalCacheTest, SignalsRoundTripThroughTheFileWhichIsReadOnce)
{
    {
        SignalCache cache(recorder(), 10000, path);
        cache.appendAll(bodies(0, 3));
        cache.saveToDisk();
        EXPECT_EQ(cache.storedCount(), 0);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray contents = file.readAll();
    file.close();
    const QJsonArray onDisk = QJsonDocument::fromJson(contents).array();
    ASSERT_EQ(onDisk.size(), 3);
    // Dates in the file are seconds since 2001-01-01, not the wire text.
    EXPECT_EQ(onDisk[0].toObject()["receivedAt"], 731340429.5);
    EXPECT_EQ(lines.last(), QStringLiteral("INFO: Saved Telemetry cache %1 bytes of 3 signals").arg(contents.size()));

    lines.clear();
    SignalCache reloaded(recorder(), 10000, path);
    EXPECT_EQ(reloaded.cachedSignals(), bodies(0, 3));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(lines, (QStringList{"INFO: Loading Telemetry cache from: " + path, "INFO: Loaded 3 signals"}));

    SignalCache third(std::nullopt, 10000, path);
    EXPECT_EQ(third.storedCount(), 0);
}

TEST_F(SignalCacheTest, ALaterSaveKeepsWhatAnEarlierOneWrote)
{
    {
        SignalCache cache(recorder(), 4, path);
        cache.appendAll(bodies(0, 2));
        cache.saveToDisk();
        // The manager that goes after the termination saves again.
        cache.saveToDisk();
        cache.appendAll(bodies(2, 3));
        cache.saveToDisk();
        EXPECT_EQ(cache.storedCount(), 0);
        EXPECT_TRUE(lines.last().endsWith("of 4 signals")) << lines.last().toStdString();
    }
    SignalCache reloaded(std::nullopt, 4, path);
    EXPECT_EQ(reloaded.cachedSignals(), bodies(1, 4)) << "the oldest goes past the limit";
}

TEST_F(SignalCacheTest, LoadingTrimsToTheLimit)
{
    writeFile(path, *SignalPostBody::encodeArray(bodies(0, 5), SignalPostBody::DateForm::secondsSinceReferenceDate));
    SignalCache cache(std::nullopt, 2, path);
    EXPECT_EQ(types(cache.cachedSignals()), (QStringList{"signal.3", "signal.4"}));
}

TEST_F(SignalCacheTest, ACorruptFileIsDeletedAndNothingIsLoaded)
{
    const QByteArray good =
        *SignalPostBody::encodeArray(bodies(0, 2), SignalPostBody::DateForm::secondsSinceReferenceDate);
    // Wire dates are not the file's form; one bad body spoils the file.
    const QByteArray wire = *SignalPostBody::encodeArray(bodies(0, 2), SignalPostBody::DateForm::wire);
    for (const QByteArray& contents : {QByteArray("not json"), good.left(good.size() / 2), wire, QByteArray("{}")}) {
        writeFile(path, contents);
        lines.clear();
        SignalCache cache(recorder(), 10000, path);
        EXPECT_EQ(cache.storedCount(), 0) << contents.toStdString();
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(lines, (QStringList{"INFO: Loading Telemetry cache from: " + path}));
    }
}

TEST_F(SignalCacheTest, AFailedSaveKeepsTheSignalsInMemory)
{
    // The cache folder's place is taken by a file.
    writeFile(folder.filePath("Caches"), "in the way");
    SignalCache cache(recorder(), 10000, path);
    cache.appendAll(bodies(0, 2));
    cache.saveToDisk();
    EXPECT_EQ(cache.cachedSignals(), bodies(0, 2));
    EXPECT_EQ(lines.last(), "ERROR: Error saving Telemetry cache");
}

TEST(SignalCache, DefaultFileIsInTheApplicationsCacheFolder)
{
    EXPECT_TRUE(SignalCache::defaultCacheFilePath().endsWith("/telemetrysignalcache"));
    EXPECT_TRUE(SignalCache::defaultCacheFilePath().startsWith(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
}

} // namespace
