#pragma once

#include <QString>

#include <optional>

namespace vesk {

// Where session screenshots are saved: the user's Desktop folder.
class SessionScreenshotDirectoryProviding {
public:
    virtual ~SessionScreenshotDirectoryProviding() = default;
    // None when the system names no Desktop folder.
    virtual std::optional<QString> desktopDirectory() const = 0;
};

} // namespace vesk
