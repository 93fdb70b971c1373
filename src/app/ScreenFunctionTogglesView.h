#pragma once

#include "settings/ScreenFunctionToggleSource.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <vector>

class QVBoxLayout;

namespace vesk {

namespace platform {
class ScreenProviding;
}

class GroupedForm;
class ToggleSwitch;

// One section per connected screen, headed "Hauptbildschirm" for the main
// screen and the screen's name otherwise, with one switch per stage function.
// Each switch shows the source's state and writes a change through it; the
// view keeps no state of its own. The screens are listed again on every
// refresh, and whenever the view is shown.
class ScreenFunctionTogglesView final : public QWidget {
    Q_OBJECT

public:
    ScreenFunctionTogglesView(ScreenFunctionToggleSource source, const platform::ScreenProviding& screens,
                              Localizer localizer = Localizer(), QWidget* parent = nullptr);

    // Reads the screens and every switch's state again.
    void refresh();

    // The section headers, top to bottom.
    QStringList sectionHeaders() const;
    // The switch of a function on a screen; none when the screen is not listed.
    ToggleSwitch* toggle(quint32 screenID, VeskScreenFunction function) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();
    void addScreenSection(const ScreenFunctionToggleSource::Screen& screen);
    QString label(VeskScreenFunction function) const;

    ScreenFunctionToggleSource source_;
    const platform::ScreenProviding& screens_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();
    QVBoxLayout* layout_ = nullptr;
    QPointer<GroupedForm> form_;
    std::vector<ScreenFunctionToggleSource::Screen> listed_;
    QStringList headers_;
    // Per listed screen, the switches in the functions' order.
    std::vector<std::array<ToggleSwitch*, EnumCases<VeskScreenFunction>::values.size()>> toggles_;
};

} // namespace vesk
