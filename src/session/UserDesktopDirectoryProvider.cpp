#include "session/UserDesktopDirectoryProvider.h"

#include <QStandardPaths>

namespace vesk {

UserDesktopDirectoryProvider::UserDesktopDirectoryProvider(QString folder) : folder_(std::move(folder))
{
}

std::optional<QString> UserDesktopDirectoryProvider::desktopDirectory() const
{
    const QString folder =
        folder_.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) : folder_;
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace vesk
