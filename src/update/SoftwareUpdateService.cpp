#include "update/SoftwareUpdateService.h"

#include "core/TextFormat.h"

namespace vesk {

SoftwareUpdateService::SoftwareUpdateService(const UpdaterFactory& makeUpdater)
    : viewModel_(std::make_unique<SoftwareUpdateViewModel>())
    , logger_(QStringLiteral("SoftwareUpdateService"))
    , driver_(std::make_unique<VeskUpdaterDriver>(*viewModel_))
    , updater_(makeUpdater(*driver_))
{
    QObject::connect(viewModel_.get(), &SoftwareUpdateViewModel::phaseChanged, viewModel_.get(), [this] {
        const bool waiting = viewModel_->isUpdateWaiting();
        if (waiting == wasUpdateWaiting_)
            return;
        wasUpdateWaiting_ = waiting;
        if (updateWaitingChanged_)
            updateWaitingChanged_(waiting);
    });
    start();
}

SoftwareUpdateService::~SoftwareUpdateService()
{
    updater_->observeCanCheckForUpdates({});
}

void SoftwareUpdateService::start()
{
    if (const std::optional<QString> error = updater_->startUpdater()) {
        // A run given no feed on purpose (a scripted run) checks nothing; only
        // a feed that is there and still fails is an error.
        logger_.log(updater_->feedURL() ? VeskLogLevel::error : VeskLogLevel::info,
                    QStringLiteral("Failed to start updater — ") + *error);
    } else {
        const std::optional<QUrl> feed = updater_->feedURL();
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Updater started — feed=") + (feed ? feed->toString() : QStringLiteral("nil")));
    }
    updater_->observeCanCheckForUpdates([this](bool canCheck) {
        if (canCheckForUpdates_ == canCheck)
            return;
        canCheckForUpdates_ = canCheck;
        if (canCheckChanged_)
            canCheckChanged_(canCheck);
    });
}

void SoftwareUpdateService::setCanCheckForUpdatesChangedHandler(std::function<void(bool)> handler)
{
    canCheckChanged_ = std::move(handler);
}

void SoftwareUpdateService::setUpdateWaitingChangedHandler(std::function<void(bool)> handler)
{
    updateWaitingChanged_ = std::move(handler);
}

void SoftwareUpdateService::checkForUpdates()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("User-initiated update check"));
    updater_->checkForUpdates();
}

void SoftwareUpdateService::setAutomaticallyChecksForUpdates(bool checks)
{
    updater_->setAutomaticallyChecksForUpdates(checks);
    logger_.log(VeskLogLevel::info, QStringLiteral("automaticallyChecksForUpdates set to ") + boolText(checks));
}

void SoftwareUpdateService::setAutomaticallyDownloadsUpdates(bool downloads)
{
    updater_->setAutomaticallyDownloadsUpdates(downloads);
    logger_.log(VeskLogLevel::info, QStringLiteral("automaticallyDownloadsUpdates set to ") + boolText(downloads));
}

} // namespace vesk
