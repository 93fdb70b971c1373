#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"
#include "logging/VeskLogger.h"

#include <QStringList>

namespace vesk {

void logStage(VeskLogLevel level, const QString& message)
{
    static const VeskLogger logger(QStringLiteral("StageVeskService"));
    logger.log(level, QStringLiteral("[StageVeskService] ") + message);
}

QString screenText(std::optional<StageVeskScreenID> screen)
{
    return screen ? QString::number(screen->rawValue) : QStringLiteral("none");
}

QString listText(const std::set<QString>& items)
{
    return arrayText(QStringList(items.begin(), items.end()));
}

} // namespace vesk
