#include "app/VeskLogger.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vesk");
    QApplication::setApplicationName("Vesk");
    vesk::VeskLogger logger("VeskApp");
    logger.log(vesk::VeskLogLevel::info, "Vesk launched");
    QWidget window;
    window.resize(360, 440);
    window.setWindowTitle("Vesk");
    window.show();
    return app.exec();
}
