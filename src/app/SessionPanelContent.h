#pragma once

#include "panels/SessionPanelContentProviding.h"
#include "platform/PlatformInterfaces.h"

#include <QNetworkAccessManager>

namespace vesk {

class Clock;
class Scheduler;
class StageVeskPanelPresenter;
class UserDefaults;

// The content of the in-session panels as the application builds it: each
// showing reads the settings afresh (a new settings store over the standard
// user defaults) and shows its view in the language they choose.
class SessionPanelContent final : public SessionPanelContentProviding {
public:
    struct Environment {
        Scheduler& scheduler;
        Clock& clock;
        const platform::PlatformInterfaces& platform;
        UserDefaults& standardDefaults;
    };

    explicit SessionPanelContent(Environment environment);

    // The application's one presenter of the stage bars, built once the
    // session manager exists; it outlives every session.
    void setStageVeskPanelPresenter(StageVeskPanelPresenter* presenter) { stageBars_ = presenter; }

    QWidget* makeHUDView(SessionControlling& session) override;
    QWidget* makeQuickAccessView(SessionControlling& session, std::function<void()> onClose) override;
    QWidget* makeAppLaunchPromptView(SessionControlling& session, const AppLaunchPrompt& prompt) override;
    QWidget* makeBugReportView(std::function<void()> onClose) override;
    std::unique_ptr<StageVeskPanelManaging> makeStageVeskPanel() override;

private:
    QLocale locale() const;

    Environment environment_;
    QNetworkAccessManager network_;
    StageVeskPanelPresenter* stageBars_ = nullptr;
};

} // namespace vesk
