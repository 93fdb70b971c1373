#pragma once

#include "feedback/BugReportEndpoint.h"
#include "panels/SessionPanelContentProviding.h"
#include "panels/StageVeskPanelEnvironment.h"
#include "platform/PlatformInterfaces.h"

#include <QNetworkAccessManager>

#include <optional>

namespace vesk {

class Clock;
class Scheduler;
class StageVeskService;
class UserDefaults;

// The content of the in-session panels as the application builds it: each
// showing reads the settings afresh (a new settings store over the standard
// user defaults) and shows its view in the language they choose.
class SessionPanelContent final : public SessionPanelContentProviding {
public:
    struct Environment {
        Scheduler& scheduler;
        Clock& clock;
        // A copy: its parts outlive the composition, the bundle handed to it need not.
        platform::PlatformInterfaces platform;
        UserDefaults& standardDefaults;
    };

    explicit SessionPanelContent(Environment environment);

    // What the stage bars are built over: the application's stage service,
    // which outlives every session.
    void setStageBars(StageVeskPanelEnvironment environment, StageVeskService& stage)
    {
        stageBarsEnvironment_.emplace(std::move(environment));
        stage_ = &stage;
    }

    QWidget* makeHUDView(SessionControlling& session) override;
    QWidget* makeQuickAccessView(SessionControlling& session, std::function<void()> onClose) override;
    QWidget* makeAppLaunchPromptView(SessionControlling& session, const AppLaunchPrompt& prompt) override;
    QWidget* makeBugReportView(std::function<void()> onClose) override;
    // Where the bug-report panel's reports go; empty: not configured.
    void setBugReportEndpoint(QString endpoint) { bugReportEndpoint_ = std::move(endpoint); }
    std::unique_ptr<StageVeskPanelManaging> makeStageVeskPanel() override;

private:
    QLocale locale() const;

    Environment environment_;
    QNetworkAccessManager network_;
    QString bugReportEndpoint_ = bugReportEndpointText();
    std::optional<StageVeskPanelEnvironment> stageBarsEnvironment_;
    StageVeskService* stage_ = nullptr;
};

} // namespace vesk
