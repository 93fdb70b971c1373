#include "logging/VeskLogger.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include "logging/VeskLogFileStore.h"

#include <QFile>
#include <QLoggingCategory>
#include <gtest/gtest.h>

#include <thread>

using namespace vesk;
using vesk::test::LogCapture;

namespace {

QString sharedLogFileContent()
{
    VeskLogFileStore::shared().drain();
    QFile file(VeskLogFileStore::shared().currentLogURL().toLocalFile());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(VeskLogger, WritesToTheSystemLogUnderItsComponentAndToTheFile)
{
    const struct {
        VeskLogLevel level;
        QtMsgType type;
        const char* label;
    } cases[] = {
        {VeskLogLevel::debug, QtDebugMsg, "DEBUG"},
        {VeskLogLevel::info, QtInfoMsg, "INFO"},
        {VeskLogLevel::warning, QtWarningMsg, "WARNING"},
        {VeskLogLevel::error, QtCriticalMsg, "ERROR"},
    };
    LogCapture capture;
    const VeskLogger logger(QStringLiteral("LoggerLevelsProbe"));
    for (const auto& c : cases)
        logger.log(c.level, QStringLiteral("Level probe — level=%1, text=%2").arg(c.label, "50% | done"));

    const auto entries = capture.entries();
    std::vector<LogCapture::Entry> mine;
    for (const auto& entry : entries) {
        if (entry.component == QStringLiteral("LoggerLevelsProbe"))
            mine.push_back(entry);
    }
    ASSERT_EQ(mine.size(), std::size(cases));
    const QString content = sharedLogFileContent();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const QString label = QString::fromLatin1(cases[i].label);
        EXPECT_EQ(mine[i].type, cases[i].type) << cases[i].label;
        EXPECT_EQ(mine[i].category, logger.categoryName());
        EXPECT_EQ(mine[i].message, QStringLiteral("Level probe — level=%1, text=50% | done").arg(label));
        EXPECT_TRUE(content.contains(
            QStringLiteral(" | %1 | LoggerLevelsProbe | Level probe — level=%1, text=50% \\| done |\n").arg(label)))
            << cases[i].label;
    }
}

TEST(VeskLogger, DebugRowsReachTheFileWhenTheSystemLogDropsThem)
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.LoggerQuietProbe.debug=false"));
    LogCapture capture;
    VeskLogger(QStringLiteral("LoggerQuietProbe")).log(VeskLogLevel::debug, QStringLiteral("quiet detail"));
    QLoggingCategory::setFilterRules(QString());

    EXPECT_TRUE(capture.messages(QStringLiteral("LoggerQuietProbe")).isEmpty());
    EXPECT_TRUE(sharedLogFileContent().contains(QStringLiteral(" | DEBUG | LoggerQuietProbe | quiet detail |\n")));
}

TEST(VeskLogger, CategoriesBeginWithTheMainBundleIdentifier)
{
    VeskLogger::setMainBundleIdentifier(std::nullopt);
    LogCapture capture;
    const VeskLogger logger(QStringLiteral("LoggerSubsystemProbe"));
    EXPECT_EQ(VeskLogger::subsystem(), "com.vesk") << "a bundle without identifier";
    logger.log(VeskLogLevel::info, QStringLiteral("before"));

    // Loggers built before the start-up names the bundle follow it.
    VeskLogger::setMainBundleIdentifier(QStringLiteral("org.example.focus"));
    logger.log(VeskLogLevel::info, QStringLiteral("after"));
    EXPECT_EQ(logger.categoryName(), "org.example.focus.LoggerSubsystemProbe");
    EXPECT_EQ(VeskLogger::componentOfCategory("org.example.focus.LoggerSubsystemProbe"), "LoggerSubsystemProbe");
    EXPECT_EQ(VeskLogger::componentOfCategory("com.vesk.LoggerSubsystemProbe"), std::nullopt);
    EXPECT_EQ(VeskLogger::componentOfCategory("default"), std::nullopt);
    VeskLogger::setMainBundleIdentifier(QString());
    logger.log(VeskLogLevel::info, QStringLiteral("without identifier"));
    VeskLogger::setMainBundleIdentifier(std::nullopt);

    QStringList categories;
    for (const auto& entry : capture.entries()) {
        if (entry.message == "before" || entry.message == "after" || entry.message == "without identifier")
            categories << entry.category;
    }
    EXPECT_EQ(categories, (QStringList{"com.vesk.LoggerSubsystemProbe", "org.example.focus.LoggerSubsystemProbe",
                                       "com.vesk.LoggerSubsystemProbe"}));
}

TEST(VeskLogger, CopiesAndThreadsShareTheSameFile)
{
    LogCapture capture; // keeps the hundred system-log lines out of the test output
    const VeskLogger logger(QStringLiteral("LoggerThreadProbe"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([copy = logger, t] {
            for (int i = 0; i < 25; ++i)
                copy.log(VeskLogLevel::info, QStringLiteral("thread=%1, i=%2").arg(t).arg(i));
        });
    }
    for (auto& thread : threads)
        thread.join();
    const QString content = sharedLogFileContent();
    EXPECT_EQ(content.count(QStringLiteral(" | INFO | LoggerThreadProbe | thread=")), 100);
    EXPECT_TRUE(content.contains(QStringLiteral("| LoggerThreadProbe | thread=3, i=24 |\n")));
    EXPECT_EQ(capture.messages(QStringLiteral("LoggerThreadProbe")).size(), 100);
}

} // namespace
