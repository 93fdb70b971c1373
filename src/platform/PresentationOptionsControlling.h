#pragma once

namespace vesk::platform {

// Presentation option flags of the application object, with the platform's bits.
enum PresentationOption : int {
    PresentationAutoHideDock = 1,
    PresentationHideDock = 2,
    PresentationAutoHideMenuBar = 4,
    PresentationHideMenuBar = 8,
    PresentationDisableAppleMenu = 16,
    PresentationDisableProcessSwitching = 32,
    PresentationDisableForceQuit = 64,
    PresentationDisableSessionTermination = 128,
    PresentationDisableHideApplication = 256,
};

// The application's presentation options: which parts of the system it
// hides or disables while it is in front.
class PresentationOptionsControlling {
public:
    virtual ~PresentationOptionsControlling() = default;
    // PresentationOption flags.
    virtual int presentationOptions() const = 0;
    virtual void setPresentationOptions(int options) = 0;
};

} // namespace vesk::platform
