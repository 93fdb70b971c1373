#include "platform/simulated/DesktopSystemInfo.h"

#include <QFile>
#include <QSysInfo>

namespace vesk::platform {

QString DesktopSystemInfo::machineHardwareModel()
{
    QFile product(QStringLiteral("/sys/class/dmi/id/product_name"));
    if (product.open(QIODevice::ReadOnly)) {
        const QString name = QString::fromUtf8(product.readAll()).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return QSysInfo::currentCpuArchitecture();
}

} // namespace vesk::platform
