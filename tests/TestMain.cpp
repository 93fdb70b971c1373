#include "logging/VeskLogFileStore.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test executable runs headless, with the standard paths redirected to
// the test locations and log files kept out of the user's folders.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir logs;
    if (qEnvironmentVariableIsEmpty("VESK_LOGS_DIR"))
        qputenv("VESK_LOGS_DIR", logs.path().toUtf8());
    // An application a test starts sends its analytics and reports and reads
    // its update feed nowhere (a closed local port) unless the test names its
    // own server.
    for (const char* variable : {"VESK_ANALYTICS_BASE_URL", "VESK_BUG_REPORT_ENDPOINT", "VESK_UPDATE_FEED_URL"}) {
        if (qEnvironmentVariableIsEmpty(variable))
            qputenv(variable, "http://127.0.0.1:9/");
    }
    // The user's preferred language is German, the interface's source
    // language, whatever the machine's: the views show their source texts
    // unless a test picks a language.
    qputenv("LANGUAGE", "de");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vesk");
    const int status = RUN_ALL_TESTS();
    // The log queue must be idle before the log folder and the process go away.
    vesk::VeskLogFileStore::shared().drain();
    return status;
}
