#pragma once

#include "settings/ScreenFunctionToggleSource.h"
#include "settings/VeskScreenFunction.h"
#include "ui/Localizer.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;

namespace vesk {

class FilledButton;
class StageVeskCard;
class StageVeskService;
class SessionControlling;
class ToggleSwitch;
class VeskDefaultsStore;

namespace platform {
class ScreenProviding;
}

// The stage settings panel's content: per connected screen, a switch for
// each of the three bars; the stage's accessibility warning; the bug report;
// and, in a hardcore session, the development-only stop. A switch stores the
// change and has the bars rebuilt at once (`onConfigChange`); the panel stays.
class StageVeskSettingsControlView final : public QWidget {
    Q_OBJECT

public:
    StageVeskSettingsControlView(SessionControlling& session, StageVeskService& stage, VeskDefaultsStore& defaults,
                                 const platform::ScreenProviding& screens, std::function<void()> onConfigChange,
                                 std::function<void()> onClose, const Localizer& localizer, QWidget* parent = nullptr);

    // One switch per listed screen and function, in the order shown.
    struct SwitchRow {
        ScreenFunctionToggleSource::Screen screen;
        VeskScreenFunction function;
        ToggleSwitch* control;
        QLabel* badge;
    };
    const std::vector<SwitchRow>& switchRows() const { return switchRows_; }
    const std::vector<QLabel*>& sectionTitles() const { return sectionTitles_; }
    bool showsAccessibilityWarning() const;
    bool showsDebugStop() const;

    // The rounded backing that the bar's window is shaped to.
    StageVeskCard* card() const { return card_; }

private:
    QWidget* makeScreenSections(const std::vector<ScreenFunctionToggleSource::Screen>& screens,
                                const Localizer& localizer);
    void refresh();

    QPointer<SessionControlling> session_;
    QPointer<StageVeskService> stage_;
    QPointer<VeskDefaultsStore> defaults_;
    ScreenFunctionToggleSource source_;
    std::function<void()> onClose_;
    Localizer localizer_;

    QLabel* warningLabel_ = nullptr;
    QWidget* debugDivider_ = nullptr;
    FilledButton* debugStopButton_ = nullptr;
    std::vector<SwitchRow> switchRows_;
    std::vector<QLabel*> sectionTitles_;
    StageVeskCard* card_ = nullptr;
};

} // namespace vesk
