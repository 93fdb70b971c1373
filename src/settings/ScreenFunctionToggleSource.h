#pragma once

#include "platform/ScreenProviding.h"
#include "settings/VeskScreenFunction.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace vesk {

class VeskDefaultsStore;

// Lists the connected screens and reads and writes one stage function's state
// for one screen through the settings store. The stage's settings panel and
// the settings window's screens page each make one; the state lives in the
// store only. Main thread only.
class ScreenFunctionToggleSource {
public:
    // One connected screen.
    struct Screen {
        // The display number ("NSScreenNumber"), 0 when the system gives none;
        // the raw value of the stage's screen identifier.
        quint32 screenID = 0;
        // Whether its display number is the main screen's.
        bool isMain = false;
        QString name;

        bool operator==(const Screen&) const = default;
    };

    // `onChange` runs after every write; it may be empty.
    ScreenFunctionToggleSource(VeskDefaultsStore& defaults, std::function<void()> onChange);

    // One entry per screen, in the system's order; empty without screens.
    static std::vector<Screen> listScreens(const platform::ScreenProviding& screens);

    bool isEnabled(VeskScreenFunction function, const Screen& screen) const;
    // Stores the state for the screen, then runs `onChange`.
    void setEnabled(bool enabled, VeskScreenFunction function, const Screen& screen) const;

private:
    VeskDefaultsStore& defaults_;
    std::function<void()> onChange_;
};

} // namespace vesk
