#include "enforcement/KioskService.h"

#include "platform/PresentationOptionsControlling.h"

#include <QStringList>

#include <utility>

namespace vesk {

QString KioskService::optionsText(int options)
{
    using namespace platform;
    static const std::pair<int, const char*> names[] = {
        {PresentationAutoHideDock, "autoHideDock"},
        {PresentationHideDock, "hideDock"},
        {PresentationAutoHideMenuBar, "autoHideMenuBar"},
        {PresentationHideMenuBar, "hideMenuBar"},
        {PresentationDisableAppleMenu, "disableAppleMenu"},
        {PresentationDisableProcessSwitching, "disableProcessSwitching"},
        {PresentationDisableForceQuit, "disableForceQuit"},
        {PresentationDisableSessionTermination, "disableSessionTermination"},
        {PresentationDisableHideApplication, "disableHideApplication"},
    };
    QStringList parts;
    int known = 0;
    for (const auto& [bit, name] : names) {
        known |= bit;
        if (options & bit)
            parts.append(QString::fromLatin1(name));
    }
    if (const int unknown = options & ~known)
        parts.append(QStringLiteral("rawValue(%1)").arg(unknown));
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

KioskService::KioskService(platform::PresentationOptionsControlling& presentationOptions)
    : presentationOptions_(presentationOptions)
{
}

void KioskService::activate()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Activating kiosk mode (current options: %1)")
                                        .arg(optionsText(presentationOptions_.presentationOptions())));
    presentationOptions_.setPresentationOptions(sessionPresentationOptions);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Kiosk mode activated — options: ") + optionsText(sessionPresentationOptions));
}

void KioskService::deactivate()
{
    presentationOptions_.setPresentationOptions(0);
    logger_.log(VeskLogLevel::info, QStringLiteral("Kiosk mode deactivated — presentationOptions reset to default []"));
}

} // namespace vesk
