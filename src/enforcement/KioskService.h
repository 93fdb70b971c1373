#pragma once

#include "enforcement/KioskControlling.h"
#include "logging/VeskLogger.h"

#include <QString>

namespace vesk::platform {
class PresentationOptionsControlling;
}

namespace vesk {

// The session's restricted presentation mode: Dock and menu bar hidden, the
// application menu, process switching and hiding the application disabled.
// Force Quit and logging out stay possible. Nothing is saved at activation:
// the reset always goes to no options at all. Main thread only.
class KioskService final : public KioskControlling {
public:
    // hideDock | hideMenuBar | disableAppleMenu | disableProcessSwitching | disableHideApplication.
    static constexpr int sessionPresentationOptions = 314;

    explicit KioskService(platform::PresentationOptionsControlling& presentationOptions);

    void activate() override;
    void deactivate() override;

    // The options as the logs show them: "[hideDock, hideMenuBar]", "[]".
    static QString optionsText(int options);

private:
    platform::PresentationOptionsControlling& presentationOptions_;
    VeskLogger logger_{QStringLiteral("KioskService")};
};

} // namespace vesk
