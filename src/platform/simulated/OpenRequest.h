#pragma once

#include "platform/OpenConfiguration.h"

#include <QList>
#include <QUrl>

namespace vesk::platform {

// One open request as the workspace received it.
struct OpenRequest {
    QList<QUrl> urls;
    QUrl applicationURL;
    OpenConfiguration configuration;
};

} // namespace vesk::platform
