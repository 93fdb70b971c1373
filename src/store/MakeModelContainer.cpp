#include "store/MakeModelContainer.h"

#include "logging/VeskLogFileStore.h"
#include "logging/VeskLogger.h"

#include <cstdio>
#include <cstdlib>

namespace vesk {

void exitProcess(int status)
{
    VeskLogFileStore::shared().drain();
    std::exit(status);
}

std::unique_ptr<ModelContainer> makeModelContainer(const QString& path, const ProcessExit& exit)
{
    const VeskLogger logger(QStringLiteral("VeskApp"));
    StoreResult<std::unique_ptr<ModelContainer>> opened = ModelContainer::open(path);
    if (opened) {
        logger.log(VeskLogLevel::info, QStringLiteral("ModelContainer ready at ") + path);
        return std::move(opened).value();
    }
    const QString reason = opened.error().description;
    logger.log(VeskLogLevel::error, QStringLiteral("Could not create ModelContainer at %1: %2").arg(path, reason));
    std::fprintf(stderr, "%s\n", (QStringLiteral("Could not create ModelContainer: ") + reason).toUtf8().constData());
    std::fflush(stderr);
    exit(1);
    return nullptr;
}

} // namespace vesk
