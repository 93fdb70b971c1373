#pragma once

#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

class QPushButton;

namespace vesk {

class SessionSetupModel;
class TextLabel;

// The banner that says which system permission a session still lacks (Input
// Monitoring, Accessibility or both), with a button that asks for it and
// opens the settings pane, and one that restarts Vesk, as the message asks
// after the user re-added Vesk to the settings list: the title row, the
// message and the buttons, 7 points apart. It follows the model's two
// permission flags; the setup card frames it (PermissionBannerCard) and shows
// it while one is missing.
class PermissionBannerView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowSpacing = 7;

    struct Texts {
        QString title;
        QString message;
        QString requestButton;
    };

    // The texts for the permission state; empty title and message when both
    // permissions are granted.
    static Texts texts(bool hasInputMonitoring, bool hasAccessibility, const Localizer& localizer = Localizer());

    explicit PermissionBannerView(SessionSetupModel& model, const Localizer& localizer = Localizer(),
                                  QWidget* parent = nullptr);

    TextLabel* title() const { return title_; }
    TextLabel* message() const { return message_; }
    QPushButton* requestButton() const { return requestButton_; }
    QPushButton* relaunchButton() const { return relaunchButton_; }

private:
    QLayout* makeTitleRow();
    QLayout* makeButtonRow();
    void refresh();

    SessionSetupModel& model_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();
    TextLabel* title_ = nullptr;
    TextLabel* message_ = nullptr;
    QPushButton* requestButton_ = nullptr;
    QPushButton* relaunchButton_ = nullptr;
};

} // namespace vesk
