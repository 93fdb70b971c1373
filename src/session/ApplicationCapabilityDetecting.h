#pragma once

#include <QUrl>

namespace vesk {

// What an installed application can do, read from its bundle.
class ApplicationCapabilityDetecting {
public:
    virtual ~ApplicationCapabilityDetecting() = default;
    // Whether the application at the bundle location handles http or https links.
    virtual bool supportsWebURLSchemes(const QUrl& applicationURL) const = 0;
};

} // namespace vesk
