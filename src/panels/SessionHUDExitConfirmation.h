#pragma once

#include <QWidget>

#include <functional>

namespace vesk {

class FilledButton;
class Localizer;

// The HUD's second step of leaving, 288 × 92, in place of the strip and the
// buttons: "VESK verlassen?" with "VESK-Apps schliessen", "Apps offen lassen"
// and "Abbrechen" (the button titles are shown as they are, untranslated).
class SessionHUDExitConfirmation final : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> closeApps;
        std::function<void()> leaveAppsOpen;
        std::function<void()> cancel;
    };

    SessionHUDExitConfirmation(Actions actions, const Localizer& localizer, QWidget* parent = nullptr);

    FilledButton* closeAppsButton() const { return closeApps_; }
    FilledButton* leaveAppsOpenButton() const { return leaveAppsOpen_; }
    FilledButton* cancelButton() const { return cancel_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FilledButton* closeApps_;
    FilledButton* leaveAppsOpen_;
    FilledButton* cancel_;
};

} // namespace vesk
