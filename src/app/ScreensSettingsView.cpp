#include "app/ScreensSettingsView.h"

#include "app/ScreenFunctionTogglesView.h"
#include "settings/VeskDefaultsStore.h"

#include <QVBoxLayout>

namespace vesk {

ScreensSettingsView::ScreensSettingsView(VeskDefaultsStore& defaults, const platform::ScreenProviding& screens,
                                         Localizer localizer, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    toggles_ =
        new ScreenFunctionTogglesView(ScreenFunctionToggleSource(defaults, {}), screens, std::move(localizer), this);
    layout->addWidget(toggles_);
    connect(&defaults, &VeskDefaultsStore::screenFunctionOverridesChanged, toggles_,
            &ScreenFunctionTogglesView::refresh);
}

} // namespace vesk
