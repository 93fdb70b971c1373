#pragma once

#include "ui/Localizer.h"

#include <QWidget>

namespace vesk {

namespace platform {
class ScreenProviding;
}

class ScreenFunctionTogglesView;
class VeskDefaultsStore;

// The settings window's "Bildschirme" page: the per-screen function switches
// over the settings store, drawn again whenever the store's overrides change
// (from here or from the stage's own panel).
class ScreensSettingsView final : public QWidget {
    Q_OBJECT

public:
    ScreensSettingsView(VeskDefaultsStore& defaults, const platform::ScreenProviding& screens,
                        Localizer localizer = Localizer(), QWidget* parent = nullptr);

    ScreenFunctionTogglesView* toggles() const { return toggles_; }

private:
    ScreenFunctionTogglesView* toggles_ = nullptr;
};

} // namespace vesk
