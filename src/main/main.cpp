#include "app/VeskLogFileStore.h"
#include "app/VeskLogger.h"
#include "platform/TextFormat.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    // Without any display, run offscreen instead of failing to connect to one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vesk");
    QApplication::setApplicationName("Vesk");
    QApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription("Vesk focus sessions");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption quitAfter("quit-after", "Quit after the given number of seconds.", "seconds");
    parser.addOption(quitAfter);
    parser.process(app);

    // The first use of the store starts this launch's log file.
    vesk::VeskLogFileStore::shared();
    const vesk::VeskLogger logger("VeskApp");
    logger.log(vesk::VeskLogLevel::info, QStringLiteral("Vesk launched — version=%1, pid=%2")
                                             .arg(QApplication::applicationVersion())
                                             .arg(QApplication::applicationPid()));

    QWidget window;
    window.resize(360, 440);
    window.setWindowTitle("Vesk");
    window.show();

    if (parser.isSet(quitAfter)) {
        bool valid = false;
        const double seconds = parser.value(quitAfter).toDouble(&valid);
        if (!valid || seconds < 0) {
            logger.log(vesk::VeskLogLevel::error,
                       QStringLiteral("Invalid quit-after value — value=%1").arg(parser.value(quitAfter)));
            vesk::VeskLogFileStore::shared().drain();
            return 2;
        }
        logger.log(vesk::VeskLogLevel::info, QStringLiteral("Quitting after a fixed time — seconds=%1").arg(vesk::doubleText(seconds)));
        QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QApplication::quit);
    }

    const int status = app.exec();
    logger.log(vesk::VeskLogLevel::info, QStringLiteral("Vesk terminating — status=%1").arg(status));
    vesk::VeskLogFileStore::shared().drain();
    return status;
}
