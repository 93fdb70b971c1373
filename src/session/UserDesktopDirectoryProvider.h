#pragma once

#include "session/SessionScreenshotDirectoryProviding.h"

namespace vesk {

// The user's Desktop folder as the system names it, or a folder given in its
// place (a scripted run's own).
class UserDesktopDirectoryProvider final : public SessionScreenshotDirectoryProviding {
public:
    // Empty: the system's Desktop folder.
    explicit UserDesktopDirectoryProvider(QString folder = QString());

    std::optional<QString> desktopDirectory() const override;

private:
    QString folder_;
};

} // namespace vesk
