#include "setup/SessionSetupModel.h"

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "enforcement/InputMonitoringProbe.h"
#include "platform/ApplicationActivity.h"
#include "platform/OpenConfiguration.h"
#include "platform/OwnApplicationControlling.h"
#include "platform/PermissionsProviding.h"
#include "platform/SystemInfoProviding.h"
#include "platform/Workspace.h"
#include "settings/VeskDefaultsStore.h"
#include "setup/SessionStarting.h"
#include "setup/WormveskStyleResolution.h"
#include "store/CurrentAllowlist.h"
#include "store/GoalRule.h"
#include "store/ModelContext.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

const QString accessibilitySettingsURL =
    QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");

// The whole seconds from `since` to `now`, halves away from zero, never negative.
qint64 elapsedWholeSeconds(const std::optional<QDateTime>& since, const QDateTime& now)
{
    if (!since) {
        return 0;
    }
    const double seconds = static_cast<double>(since->msecsTo(now)) / 1000.0;
    return std::max<qint64>(std::llround(seconds), 0);
}

} // namespace

SessionSetupModel::SessionSetupModel(const SessionSetupServices& services, QObject* parent)
    : QObject(parent)
    , services_(services)
    , animator_(services.scheduler, services.clock, services.reducedMotion)
    , soundService_(services.scheduler, services.audioPlayers)
{
    connect(&animator_, &WormveskAnimator::changed, this, &SessionSetupModel::changed);
    connect(&services.settings, &VeskDefaultsStore::soundEnabledChanged, this,
            [this] { soundService_.setEnabled(services_.settings.soundEnabled()); });
    connect(&services.applicationActivity, &platform::ApplicationActivity::didBecomeActive, this, [this] {
        refreshInputMonitoringPermission(QStringLiteral("appBecameActive"));
        refreshAccessibilityPermission(QStringLiteral("appBecameActive"));
        startPermissionPoll();
    });
}

SessionSetupModel::~SessionSetupModel()
{
    pendingGoalSave_.cancel();
    pendingPermissionRefresh_.cancel();
}

bool SessionSetupModel::isSessionActive() const
{
    return services_.sessions.isSessionActive();
}

std::vector<InstalledApp> SessionSetupModel::selectedApps() const
{
    std::vector<InstalledApp> selected;
    std::copy_if(installedApps_.begin(), installedApps_.end(), std::back_inserter(selected),
                 [this](const auto& app) { return selectedBundleIDs_.count(app.id) > 0; });
    return selected;
}

WormveskStyle SessionSetupModel::currentStyle() const
{
    return activeStyle_.value_or(resolvedStyle());
}

WormveskStyle SessionSetupModel::resolvedStyle() const
{
    return resolvedWormveskStyle(services_.settings.wormveskStyle(), services_.systemInfo.isDarkAppearance());
}

bool SessionSetupModel::isStartReady() const
{
    return !selectedBundleIDs_.empty() && hasInputMonitoringPermission_ && hasAccessibilityPermission_
           && animator_.phase() == WormveskAnimator::Phase::idle;
}

// --- Changes from the views ---------------------------------------------------------------

void SessionSetupModel::setSelectedBundleIDs(const std::set<QString>& bundleIDs)
{
    if (bundleIDs == selectedBundleIDs_) {
        return;
    }
    selectedBundleIDs_ = bundleIDs;
    persistSelection();
    if (!selectedBundleIDs_.empty()) {
        soundService_.startSelectionLoop();
    } else {
        soundService_.fadeOutSelectionLoop();
    }
    emit changed();
}

void SessionSetupModel::setSessionDuration(qint64 seconds)
{
    sessionDuration_ = seconds;
    emit changed();
}

void SessionSetupModel::setSessionHardcore(bool hardcore)
{
    sessionHardcore_ = hardcore;
    emit changed();
}

void SessionSetupModel::setSessionGoalText(const QString& text)
{
    if (text == sessionGoalText_) {
        return;
    }
    // A longer text (a paste) is cut to the limit; only the cut text is saved.
    sessionGoalText_ = prefixOfUserCharacters(text, goalTextCharacterLimit);
    scheduleGoalDraftSave();
    emit changed();
}

void SessionSetupModel::setSearchText(const QString& text)
{
    searchText_ = text;
    emit changed();
}

void SessionSetupModel::setMetaPopoverShown(bool shown)
{
    isMetaPopoverShown_ = shown;
    emit changed();
}

void SessionSetupModel::setHistoryPresented(bool presented)
{
    isHistoryPresented_ = presented;
    emit changed();
}

void SessionSetupModel::setBugReportPresented(bool presented)
{
    isBugReportPresented_ = presented;
    emit changed();
}

bool SessionSetupModel::showsPermissionBanner() const
{
    return animator_.phase() == WormveskAnimator::Phase::idle
           && !(hasInputMonitoringPermission_ && hasAccessibilityPermission_);
}

void SessionSetupModel::addPickedApp(const InstalledApp& app)
{
    if (selectedBundleIDs_.size() >= selectionLimit) {
        return;
    }
    std::set<QString> selection = selectedBundleIDs_;
    selection.insert(app.id);
    setSelectedBundleIDs(selection);
}

void SessionSetupModel::removeSelectedApp(const InstalledApp& app)
{
    std::set<QString> selection = selectedBundleIDs_;
    selection.erase(app.id);
    setSelectedBundleIDs(selection);
}

void SessionSetupModel::setIconFrames(const std::map<QString, QRectF>& frames)
{
    iconFrames_ = frames;
    emit changed();
}

void SessionSetupModel::reportLogoCenter(const std::optional<QPointF>& center)
{
    if (center) {
        logoCenter_ = *center;
        emit changed();
    }
}

// --- Header, version row and analytics notice ---------------------------------------------------

void SessionSetupModel::historyButtonTapped()
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("[SessionSetupView] history button tapped"));
    setHistoryPresented(true);
}

void SessionSetupModel::bugReportButtonTapped()
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("[SessionSetupView] bug report button tapped"));
    setBugReportPresented(true);
}

void SessionSetupModel::settingsButtonTapped()
{
    if (services_.openSettings) {
        services_.openSettings();
    }
}

void SessionSetupModel::versionButtonTapped()
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("[SessionSetupView] version button tapped"));
    if (services_.checkForUpdates) {
        services_.checkForUpdates();
    }
}

void SessionSetupModel::openSettingsFromNotice()
{
    services_.settings.setAnalyticsNoticeShown(true);
    settingsButtonTapped();
}

void SessionSetupModel::acknowledgeAnalyticsNotice()
{
    services_.settings.setAnalyticsNoticeShown(true);
}

// --- Lifecycle ------------------------------------------------------------------------------

void SessionSetupModel::handleAppear()
{
    setupAppearedAt_ = services_.clock.now();
    installedApps_ = InstalledApp::discoverAll(services_.files, services_.bundles);
    refreshInputMonitoringPermission(QStringLiteral("appear"));
    refreshAccessibilityPermission(QStringLiteral("appear"));
    startPermissionPoll();
    animator_.reset();
    soundService_.setEnabled(services_.settings.soundEnabled());
    activeStyle_.reset();
    if (!allowlist_) {
        allowlist_ = CurrentAllowlist::fetchOrCreate(services_.modelContext, services_.clock);
        const QStringList stored = allowlist_->appBundleIDs;
        selectedBundleIDs_ = std::set<QString>(stored.begin(), stored.end());
        sessionGoalText_ = allowlist_->goalText.value_or(QString());
    }
    sessionDuration_ = services_.settings.defaultDurationSeconds();
    sessionHardcore_ = services_.settings.defaultHardcoreOn();
    emit changed();
}

void SessionSetupModel::handleDisappear()
{
    // A goal typed within the last 0.4 s is saved now rather than lost.
    if (pendingGoalSave_.isPending()) {
        pendingGoalSave_.cancel();
        saveGoalDraft(pendingGoalText_);
    }
    cancelPendingPermissionRefresh();
    if (!isSessionActive()) {
        soundService_.stopAll();
    }
}

void SessionSetupModel::handleActiveSessionShown()
{
    soundService_.fadeOutAll();
}

// --- Persistence -----------------------------------------------------------------------------

void SessionSetupModel::persistSelection()
{
    if (!allowlist_) {
        return;
    }
    allowlist_->setApps(selectedBundleIDs_, services_.clock);
    const StoreResult<> saved = services_.modelContext.save();
    if (!saved) {
        logger_.log(VeskLogLevel::error, "[SessionSetupView] failed to save selection: " + saved.error().description);
    }
}

void SessionSetupModel::scheduleGoalDraftSave()
{
    pendingGoalSave_.cancel();
    pendingGoalText_ = sessionGoalText_;
    QPointer<SessionSetupModel> self(this);
    pendingGoalSave_ = services_.scheduler.asyncAfter(goalSaveDelaySeconds, [self, text = sessionGoalText_] {
        if (self) {
            self->saveGoalDraft(text);
        }
    });
}

void SessionSetupModel::saveGoalDraft(const QString& text)
{
    if (!allowlist_) {
        return;
    }
    allowlist_->setGoal(text, services_.clock);
    const StoreResult<> saved = services_.modelContext.save();
    if (!saved) {
        logger_.log(VeskLogLevel::error, "[SessionSetupView] failed to save goal draft: " + saved.error().description);
        return;
    }
    const std::optional<QString>& goal = allowlist_->goalText;
    logger_.log(VeskLogLevel::debug, "[SessionSetupView] goal draft saved — hasGoal=" + boolText(goal.has_value())
                                         + QStringLiteral(", count=%1").arg(goal ? userCharacterCount(*goal) : 0));
}

void SessionSetupModel::saveGoalDraftImmediately()
{
    pendingGoalSave_.cancel();
    if (!allowlist_) {
        return;
    }
    allowlist_->setGoal(sessionGoalText_, services_.clock);
    const StoreResult<> saved = services_.modelContext.save();
    if (!saved) {
        logger_.log(VeskLogLevel::error,
                    "[SessionSetupView] failed to save goal draft immediately: " + saved.error().description);
        return;
    }
    logger_.log(VeskLogLevel::debug, "[SessionSetupView] goal draft saved immediately — hasGoal="
                                         + boolText(allowlist_->goalText.has_value()));
}

// --- Permissions -----------------------------------------------------------------------------

void SessionSetupModel::refreshInputMonitoringPermission(const QString& reason)
{
    const bool granted =
        services_.permissions.isInputMonitoringGranted() || isInputMonitoringGranted(services_.eventTaps);
    logPermissionRefresh(QStringLiteral("Input Monitoring"), reason, granted, granted != hasInputMonitoringPermission_);
    hasInputMonitoringPermission_ = granted;
    if (granted && hasAccessibilityPermission_) {
        cancelPendingPermissionRefresh();
    }
    emit changed();
}

void SessionSetupModel::refreshAccessibilityPermission(const QString& reason)
{
    const bool granted = services_.permissions.isAccessibilityTrusted();
    logPermissionRefresh(QStringLiteral("Accessibility"), reason, granted, granted != hasAccessibilityPermission_);
    hasAccessibilityPermission_ = granted;
    if (granted && hasInputMonitoringPermission_) {
        cancelPendingPermissionRefresh();
    }
    emit changed();
}

void SessionSetupModel::logPermissionRefresh(const QString& name, const QString& reason, bool granted,
                                             bool changedValue)
{
    const QString text = "[SessionSetupView] " + name + " permission " + (changedValue ? "changed" : "refreshed")
                         + " — reason=" + reason + ", granted=" + boolText(granted) + ", " + permissionDiagnostics();
    logger_.log(changedValue ? VeskLogLevel::info : VeskLogLevel::debug, text);
}

QString SessionSetupModel::permissionDiagnostics() const
{
    const platform::OwnApplicationSpec& own = services_.ownApplication.ownApplication();
    return "bundleID=" + own.bundleIdentifier.value_or(QStringLiteral("nil"))
           + ", version=" + own.version.value_or(QStringLiteral("unknown")) + ", build="
           + own.build.value_or(QStringLiteral("unknown")) + ", bundleURL=" + services_.ownBundleURL.path();
}

void SessionSetupModel::startPermissionPoll()
{
    schedulePermissionPoll(permissionPollRounds, permissionPollIntervalSeconds);
}

void SessionSetupModel::schedulePermissionPoll(int remaining, double interval)
{
    if (hasInputMonitoringPermission_ && hasAccessibilityPermission_) {
        return;
    }
    if (animator_.phase() != WormveskAnimator::Phase::idle || remaining < 1) {
        return;
    }
    pendingPermissionRefresh_.cancel();
    QPointer<SessionSetupModel> self(this);
    pendingPermissionRefresh_ = services_.scheduler.asyncAfter(interval, [self, remaining, interval] {
        if (!self) {
            return;
        }
        self->refreshInputMonitoringPermission(QStringLiteral("poll"));
        self->refreshAccessibilityPermission(QStringLiteral("poll"));
        if (self->hasInputMonitoringPermission_ && self->hasAccessibilityPermission_) {
            return;
        }
        self->schedulePermissionPoll(remaining - 1, interval);
    });
}

void SessionSetupModel::cancelPendingPermissionRefresh()
{
    pendingPermissionRefresh_.cancelAndClear();
}

void SessionSetupModel::requestMissingPermissions()
{
    logger_.log(VeskLogLevel::info,
                "[SessionSetupView] permission banner — requesting missing permissions + opening System Settings, "
                "inputMonitoring="
                    + boolText(hasInputMonitoringPermission_)
                    + ", accessibility=" + boolText(hasAccessibilityPermission_));
    if (!hasAccessibilityPermission_) {
        services_.permissions.promptForAccessibility();
        services_.workspace.openURL(QUrl(accessibilitySettingsURL));
    } else if (!hasInputMonitoringPermission_) {
        services_.permissions.requestInputMonitoring();
        openInputMonitoringSettings(services_.workspace);
    }
    refreshInputMonitoringPermission(QStringLiteral("permissionButton"));
    refreshAccessibilityPermission(QStringLiteral("permissionButton"));
    startPermissionPoll();
}

void SessionSetupModel::relaunchApp()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("[SessionSetupView] relaunch requested after permission change"));
    cancelPendingPermissionRefresh();
    platform::OpenConfiguration configuration;
    configuration.createsNewApplicationInstance = true;
    QPointer<SessionSetupModel> self(this);
    Scheduler& scheduler = services_.scheduler;
    services_.workspace.openApplication(services_.ownBundleURL, configuration,
                                        [self, &scheduler](std::shared_ptr<platform::RunningApplication>,
                                                           std::optional<QString> error) {
                                            // The workspace reports on its own thread; the answer is handled on the
                                            // main thread.
                                            scheduler.async([self, error] {
                                                if (!self) {
                                                    return;
                                                }
                                                if (error) {
                                                    self->logger_.log(VeskLogLevel::error,
                                                                      "[SessionSetupView] relaunch failed: " + *error);
                                                    return;
                                                }
                                                self->services_.ownApplication.requestOwnTermination();
                                            });
                                        });
}

// --- Start -------------------------------------------------------------------------------------

void SessionSetupModel::triggerAbsorption()
{
    if (selectedBundleIDs_.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("[SessionSetupView] triggerAbsorption ignored — no apps selected"));
        return;
    }
    if (!hasInputMonitoringPermission_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("[SessionSetupView] triggerAbsorption ignored — Input Monitoring missing"));
        return;
    }
    if (!hasAccessibilityPermission_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("[SessionSetupView] triggerAbsorption ignored — Accessibility missing"));
        return;
    }
    if (animator_.phase() != WormveskAnimator::Phase::idle) {
        logger_.log(VeskLogLevel::warning, "[SessionSetupView] triggerAbsorption ignored — animator not idle, phase="
                                               + toRaw(animator_.phase()));
        return;
    }
    activeStyle_ = resolvedStyle();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("[SessionSetupView] triggerAbsorption — apps=%1 duration=%2 hardcore=%3 style=%4")
                    .arg(selectedBundleIDs_.size())
                    .arg(sessionDuration_)
                    .arg(boolText(sessionHardcore_), toRaw(*activeStyle_)));
    saveGoalDraftImmediately();
    soundService_.playVeskStart();
    std::vector<QString> flying;
    for (const InstalledApp& app : selectedApps()) {
        flying.push_back(app.id);
    }
    animator_.start(flying, [this] { absorptionCompleted(); });
    emit changed();
}

void SessionSetupModel::absorptionCompleted()
{
    cancelPendingPermissionRefresh();
    std::map<QString, QUrl> applicationURLs;
    for (const InstalledApp& app : installedApps_) {
        if (selectedBundleIDs_.count(app.id) > 0) {
            applicationURLs.emplace(app.id, app.url); // an identifier found twice: the first
        }
    }
    const qint64 setupSeconds = elapsedWholeSeconds(setupAppearedAt_, services_.clock.now());
    services_.sessions.startSession(sessionDuration_, selectedBundleIDs_, applicationURLs, goalRule(sessionGoalText_),
                                    sessionHardcore_, setupSeconds);
}

} // namespace vesk
