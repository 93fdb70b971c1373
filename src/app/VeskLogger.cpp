#include "app/VeskLogger.h"

#include <QDebug>

namespace vesk {

VeskLogger::VeskLogger(QString component)
    : component_(std::move(component))
{
}

void VeskLogger::log(VeskLogLevel level, const QString& message) const
{
    qInfo().noquote() << static_cast<int>(level) << component_ << message;
}

} // namespace vesk
