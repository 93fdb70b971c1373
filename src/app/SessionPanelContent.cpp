#include "app/SessionPanelContent.h"

#include "app/PresentedStageVeskPanel.h"
#include "enforcement/InstalledApp.h"
#include "feedback/BugReportFormModel.h"
#include "feedback/BugReportView.h"
#include "panels/AppLaunchPromptView.h"
#include "panels/QuickAccessPanelView.h"
#include "panels/SessionHUDView.h"
#include "settings/VeskDefaultsStore.h"
#include "settings/VeskLanguage.h"
#include "ui/Localizer.h"

namespace vesk {

SessionPanelContent::SessionPanelContent(Environment environment) : environment_(environment)
{
}

QLocale SessionPanelContent::locale() const
{
    const VeskDefaultsStore settings(environment_.standardDefaults);
    return resolvedLocale(settings.language(), VeskDefaultsStore::systemPreferredLanguages());
}

QWidget* SessionPanelContent::makeHUDView(SessionControlling& session)
{
    const platform::PlatformInterfaces& platform = environment_.platform;
    return new SessionHUDView(session, InstalledApp::discoverAll(platform.files, platform.bundles),
                              environment_.scheduler, environment_.clock, Localizer(locale()));
}

QWidget* SessionPanelContent::makeQuickAccessView(SessionControlling& session, std::function<void()> onClose)
{
    const platform::PlatformInterfaces& platform = environment_.platform;
    return new QuickAccessPanelView(session, std::move(onClose),
                                    InstalledApp::discoverAll(platform.files, platform.bundles), environment_.scheduler,
                                    environment_.clock, Localizer(locale()));
}

QWidget* SessionPanelContent::makeAppLaunchPromptView(SessionControlling& session, const AppLaunchPrompt& prompt)
{
    return new AppLaunchPromptView(session, prompt, Localizer(locale()));
}

QWidget* SessionPanelContent::makeBugReportView(std::function<void()> onClose)
{
    const platform::PlatformInterfaces& platform = environment_.platform;
    auto model = BugReportFormModel::make(BugReportFormModel::Environment{network_, environment_.scheduler,
                                                                          environment_.clock, platform.workspace,
                                                                          platform.screens, bugReportEndpoint_});
    return new BugReportView(std::move(model), std::move(onClose), Localizer(locale()));
}

std::unique_ptr<StageVeskPanelManaging> SessionPanelContent::makeStageVeskPanel()
{
    Q_ASSERT(stageBarsEnvironment_ && stage_);
    return std::make_unique<PresentedStageVeskPanel>(*stageBarsEnvironment_, *stage_);
}

} // namespace vesk
