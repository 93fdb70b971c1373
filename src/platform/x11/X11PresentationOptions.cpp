#include "platform/x11/X11PresentationOptions.h"

namespace vesk::platform {

void X11PresentationOptions::setPresentationOptions(int options)
{
    options_ = options;
    if (options == 0 || reported_)
        return;
    reported_ = true;
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Presentation options are kept but not applied on X11 — options=%1").arg(options));
}

} // namespace vesk::platform
