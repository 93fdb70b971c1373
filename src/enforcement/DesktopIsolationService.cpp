#include "enforcement/DesktopIsolationService.h"

#include "core/MainThread.h"
#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "core/UserDefaults.h"
#include "enforcement/BlackDesktopPanel.h"
#include "enforcement/LegacyWallpaperBackup.h"
#include "platform/ScreenChangeObserving.h"
#include "platform/ScreenProviding.h"

#include <QStringList>

#include <algorithm>
#include <future>

namespace vesk {

namespace {

// Which display a panel belongs to: its number, else its name.
QString screenKey(const platform::ScreenInfo& screen)
{
    return screen.displayID ? QStringLiteral("display:%1").arg(*screen.displayID)
                            : QStringLiteral("name:") + screen.name;
}

} // namespace

DesktopIsolationService::DesktopIsolationService(Scheduler& scheduler, const platform::ScreenProviding& screens,
                                                 const platform::ScreenChangeObserving& screenChanges,
                                                 platform::OwnWindowRegistering& ownWindows, UserDefaults& userDefaults)
    : scheduler_(scheduler)
    , screens_(screens)
    , screenChanges_(screenChanges)
    , ownWindows_(ownWindows)
    , userDefaults_(userDefaults)
{
}

DesktopIsolationService::~DesktopIsolationService()
{
    lifetime_.reset();
    screenChangeDebounceWork_.cancel();
}

std::vector<BlackDesktopPanel*> DesktopIsolationService::panels() const
{
    std::vector<BlackDesktopPanel*> result;
    for (const PanelRecord& record : panelsByScreen_)
        result.push_back(record.panel.get());
    return result;
}

// Like a synchronous hop to the main queue: the caller waits until the work has run.
void DesktopIsolationService::runOnMainThread(const std::function<void()>& work)
{
    if (isMainThread()) {
        work();
        return;
    }
    std::promise<void> done;
    scheduler_.async([&work, &done, alive = std::weak_ptr<int>(lifetime_)] {
        if (!alive.expired())
            work();
        done.set_value();
    });
    done.get_future().wait();
}

void DesktopIsolationService::activate()
{
    runOnMainThread([this] { activateOnMain(); });
}

void DesktopIsolationService::deactivate()
{
    runOnMainThread([this] { deactivateWithReason(QStringLiteral("deactivate")); });
}

void DesktopIsolationService::recoverIfNeeded()
{
    runOnMainThread([this] {
        dismissAllPanels(QStringLiteral("recoverIfNeeded"));
        clearLegacyWallpaperBackup(QStringLiteral("recoverIfNeeded"));
    });
}

void DesktopIsolationService::emergencyRestore()
{
    runOnMainThread([this] {
        // Every launch and termination asks; only panels left up need attention.
        const bool panelsLeftUp = isActive_ || !panelsByScreen_.empty();
        logger_.log(panelsLeftUp ? VeskLogLevel::warning : VeskLogLevel::info,
                    QStringLiteral("Emergency desktop isolation restore requested"));
        deactivateWithReason(QStringLiteral("emergencyRestore"));
        clearLegacyWallpaperBackup(QStringLiteral("emergencyRestore"));
    });
}

void DesktopIsolationService::activateOnMain()
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate called while desktop isolation is already active"));
        return;
    }
    const std::vector<platform::ScreenInfo> screens = screens_.screens();
    if (screens.empty()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate skipped — no NSScreens available"));
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Activating desktop isolation for %1 screen(s)").arg(screens.size()));
    for (const platform::ScreenInfo& screen : screens)
        addPanel(screen);
    installScreenObserver();
    isActive_ = true;
    logger_.log(VeskLogLevel::info, QStringLiteral("Desktop isolation active — panels=%1").arg(panelsByScreen_.size()));
}

void DesktopIsolationService::addPanel(const platform::ScreenInfo& screen)
{
    auto panel = std::make_unique<BlackDesktopPanel>(screen, screens_, &ownWindows_);
    panel->showOnScreen();
    panelsByScreen_.push_back(PanelRecord{screenKey(screen), std::move(panel)});
}

void DesktopIsolationService::installScreenObserver()
{
    if (screenObserver_)
        return;
    screenObserver_ = std::make_unique<QObject>();
    screenChanges_.observeScreenParameters(screenObserver_.get(), [this] { handleScreenParametersChanged(); });
}

void DesktopIsolationService::removeScreenObserver()
{
    screenObserver_.reset();
}

void DesktopIsolationService::handleScreenParametersChanged()
{
    if (!isActive_)
        return;
    logger_.log(VeskLogLevel::info, QStringLiteral("Screen parameters changed — debouncing desktop panel sync"));
    screenChangeDebounceWork_.cancel();
    screenChangeDebounceWork_ =
        scheduler_.asyncAfter(screenChangeDebounceInterval, [this, alive = std::weak_ptr<int>(lifetime_)] {
            if (!alive.expired())
                screenChangeDebounceFired();
        });
}

void DesktopIsolationService::screenChangeDebounceFired()
{
    if (!isActive_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Screen change debounce fired but desktop isolation no longer active — skipping"));
        return;
    }
    syncPanels(QStringLiteral("screenParametersChanged"));
    screenChangeDebounceWork_ = WorkItem();
}

void DesktopIsolationService::syncPanels(const QString& reason)
{
    const std::vector<platform::ScreenInfo> screens = screens_.screens();
    QStringList currentKeys;
    for (const platform::ScreenInfo& screen : screens)
        currentKeys.append(screenKey(screen));

    int removed = 0;
    for (auto it = panelsByScreen_.begin(); it != panelsByScreen_.end();) {
        if (currentKeys.contains(it->screenKey)) {
            ++it;
            continue;
        }
        it->panel->orderOut();
        it->panel->logger().log(VeskLogLevel::info, QStringLiteral("Black desktop panel dismissed"));
        it = panelsByScreen_.erase(it);
        ++removed;
    }

    int added = 0;
    for (const platform::ScreenInfo& screen : screens) {
        const QString key = screenKey(screen);
        const auto existing = std::find_if(panelsByScreen_.begin(), panelsByScreen_.end(),
                                           [&key](const PanelRecord& record) { return record.screenKey == key; });
        if (existing == panelsByScreen_.end()) {
            addPanel(screen);
            ++added;
        } else if (existing->panel->frame() != rectFromQRectF(screen.frame)) {
            existing->panel->setFrame(rectFromQRectF(screen.frame));
        }
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("%1: synced desktop panels — added=%2, removed=%3, total=%4")
                                        .arg(reason)
                                        .arg(added)
                                        .arg(removed)
                                        .arg(panelsByScreen_.size()));
}

void DesktopIsolationService::dismissAllPanels(const QString& reason)
{
    if (panelsByScreen_.empty())
        return;
    for (const PanelRecord& record : panelsByScreen_) {
        record.panel->orderOut();
        record.panel->logger().log(VeskLogLevel::info, QStringLiteral("Black desktop panel dismissed"));
    }
    const size_t count = panelsByScreen_.size();
    panelsByScreen_.clear();
    logger_.log(VeskLogLevel::info, QStringLiteral("%1: dismissed %2 black desktop panel(s)").arg(reason).arg(count));
}

void DesktopIsolationService::deactivateWithReason(const QString& reason)
{
    if (!isActive_ && panelsByScreen_.empty()) {
        logger_.log(VeskLogLevel::debug, reason + QStringLiteral(": nothing to deactivate"));
        return;
    }
    const bool pendingScreenSync = screenChangeDebounceWork_.isPending();
    QStringList names;
    for (const PanelRecord& record : panelsByScreen_)
        names.append(record.panel->screenLabel());
    names.sort();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("desktopIsolationDeactivateStart — reason=%1, isActive=%2, panelCountBefore=%3, "
                               "screens=%4, pendingScreenSync=%5")
                    .arg(reason, boolText(isActive_))
                    .arg(panelsByScreen_.size())
                    .arg(arrayText(names), boolText(pendingScreenSync)));
    screenChangeDebounceWork_.cancel();
    screenChangeDebounceWork_ = WorkItem();
    removeScreenObserver();
    dismissAllPanels(reason);
    isActive_ = false;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("desktopIsolationDeactivateFinished — reason=%1, panelCountAfter=%2, "
                               "pendingScreenSyncCancelled=%3")
                    .arg(reason)
                    .arg(panelsByScreen_.size())
                    .arg(boolText(pendingScreenSync)));
}

void DesktopIsolationService::clearLegacyWallpaperBackup(const QString& reason)
{
    const std::optional<QByteArray> data = userDefaults_.dataForKey(legacyWallpaperBackupKey);
    const std::vector<LegacyWallpaperBackup::Entry> entries =
        data ? LegacyWallpaperBackup::decode(*data) : std::vector<LegacyWallpaperBackup::Entry>();
    if (entries.empty()) {
        logger_.log(VeskLogLevel::debug, reason + QStringLiteral(": no legacy wallpaper backup found"));
        return;
    }
    QStringList descriptions;
    for (const LegacyWallpaperBackup::Entry& entry : entries)
        descriptions.append(
            QStringLiteral("display=%1, path=%2").arg(entry.displayID).arg(entry.originalWallpaperPath));
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("%1: found legacy wallpaper backup for %2 display(s) — clearing without restore because "
                               "VESK must never write desktop wallpaper again; entries=[%3]")
                    .arg(reason)
                    .arg(entries.size())
                    .arg(descriptions.join(QStringLiteral("; "))));
    userDefaults_.removeObject(legacyWallpaperBackupKey);
    logger_.log(VeskLogLevel::info, reason + QStringLiteral(": cleared legacy wallpaper backup key"));
}

} // namespace vesk
