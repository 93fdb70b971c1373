#include "settings/ScreenFunctionToggleSource.h"

#include "settings/VeskDefaultsStore.h"

namespace vesk {

ScreenFunctionToggleSource::ScreenFunctionToggleSource(VeskDefaultsStore& defaults, std::function<void()> onChange)
    : defaults_(defaults)
    , onChange_(std::move(onChange))
{
}

std::vector<ScreenFunctionToggleSource::Screen>
ScreenFunctionToggleSource::listScreens(const platform::ScreenProviding& screens)
{
    const std::optional<platform::ScreenInfo> main = screens.mainScreen();
    const bool hasMain = main.has_value();
    const quint32 mainID = hasMain ? main->displayID.value_or(0) : 0;
    std::vector<Screen> list;
    for (const platform::ScreenInfo& screen : screens.screens()) {
        const quint32 id = screen.displayID.value_or(0);
        list.push_back(Screen{id, hasMain && id == mainID, screen.name});
    }
    return list;
}

bool ScreenFunctionToggleSource::isEnabled(VeskScreenFunction function, const Screen& screen) const
{
    return defaults_.isScreenFunctionEnabled(function, screen.screenID, screen.isMain);
}

void ScreenFunctionToggleSource::setEnabled(bool enabled, VeskScreenFunction function, const Screen& screen) const
{
    defaults_.setScreenFunction(enabled, function, screen.screenID, screen.isMain);
    if (onChange_)
        onChange_();
}

} // namespace vesk
