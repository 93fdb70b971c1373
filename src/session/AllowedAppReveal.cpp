#include "session/AllowedAppReveal.h"

#include "core/MainThread.h"
#include "core/TextFormat.h"
#include "overlay/WindowClassification.h"

#include <QDir>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace vesk {

namespace {

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

AllowedAppReveal::AllowedAppReveal(const SessionServices& services, const SessionState& state,
                                   const AllowedAppLookup& lookup, const AllowedWindowSpaceClassifier& classifier,
                                   WindowMaterializationFlight& flight, AllowedAppLauncher& launcher,
                                   Scheduler& scheduler, std::vector<double> retryOffsets)
    : services_(services)
    , state_(state)
    , lookup_(lookup)
    , classifier_(classifier)
    , flight_(flight)
    , launcher_(launcher)
    , scheduler_(scheduler)
    , retryOffsets_(std::move(retryOffsets))
{
    std::erase_if(retryOffsets_, [](double offset) { return !(offset >= 0); });
    std::sort(retryOffsets_.begin(), retryOffsets_.end());
}

void AllowedAppReveal::start(const QString& bundleID)
{
    cancel(bundleID);
    services_.spaceTransitionProbe->startBurst(QStringLiteral("reveal:") + bundleID, 10.0);
    attempt(bundleID, 0, {});
}

void AllowedAppReveal::cancel(const QString& bundleID)
{
    const auto it = pendingRetries_.find(bundleID);
    if (it == pendingRetries_.end())
        return;
    for (WorkItem& item : it->second)
        item.cancel();
    const auto count = it->second.size();
    pendingRetries_.erase(it);
    logger_.log(
        VeskLogLevel::debug,
        QStringLiteral("Cancelled pending dynamic reveal retries — bundleID=%1, count=%2").arg(bundleID).arg(count));
}

void AllowedAppReveal::cancelAll()
{
    std::size_t count = 0;
    for (auto& [bundleID, items] : pendingRetries_) {
        for (WorkItem& item : items) {
            item.cancel();
            ++count;
        }
    }
    pendingRetries_.clear();
    if (count > 0)
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Cancelled all pending dynamic reveal retries — count=%1").arg(count));
}

void AllowedAppReveal::attempt(const QString& bundleID, int attempt, Progress progress)
{
    const QString attemptText = QString::number(attempt);
    if (!state_.isSessionActive) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Dynamic reveal skipped — no active session, bundleID=%1, attempt=%2")
                        .arg(bundleID, attemptText));
        return;
    }
    if (!state_.dynamicAllowlist.contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Dynamic reveal skipped — app is no longer allowed, bundleID=%1, attempt=%2")
                        .arg(bundleID, attemptText));
        return;
    }
    if (bundleID == kFinderBundleID) {
        finderFallback(lookup_.applicationURL(kFinderBundleID), attempt);
        return;
    }
    const AllowedWindowSpaceClassification classification = classifier_.classify(bundleID);
    if (classification.state == AllowedWindowSpaceState::onActiveSpace) {
        flight_.settle(bundleID, QStringLiteral("dynamicReveal:") + attemptText);
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Dynamic reveal complete — bundleID=%1, attempt=%2, visible=true, %3")
                        .arg(bundleID, attemptText, classification.description()));
        return;
    }
    const std::optional<QUrl> url = lookup_.applicationURL(bundleID);
    if (const auto app = lookup_.runningApplication(bundleID)) {
        if (!attemptRunning(bundleID, url, attempt, *app, classification, progress))
            return;
    } else {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Dynamic reveal attempt — bundleID=%1, attempt=%2, running=false, visible=false, %3")
                        .arg(bundleID, attemptText, classification.description()));
        if (classification.state == AllowedWindowSpaceState::noWindows
            || classification.state == AllowedWindowSpaceState::notRunning)
            runFallbackChain(bundleID, url, attempt, progress);
        else
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral("Dynamic reveal LaunchServices fallback blocked — bundleID=%1, "
                                       "attempt=%2, %3")
                            .arg(bundleID, attemptText, classification.description()));
    }

    if (classifier_.isVisible(bundleID)) {
        flight_.settle(bundleID, QStringLiteral("dynamicRevealFallback:") + attemptText);
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Dynamic reveal complete after fallback — bundleID=%1, attempt=%2, "
                                   "visible=true")
                        .arg(bundleID, attemptText));
        return;
    }
    scheduleRetry(bundleID, attempt, progress);
}

bool AllowedAppReveal::attemptRunning(const QString& bundleID, const std::optional<QUrl>& url, int attempt,
                                      RunningApplicationControlling& app,
                                      AllowedWindowSpaceClassification classification, Progress& progress)
{
    const QString attemptText = QString::number(attempt);
    const QString reason = QStringLiteral("dynamicReveal:") + attemptText;
    const bool wasHidden = app.isHidden();
    bool unhide = false;
    bool activate = false;
    bool materialization = false;
    bool minimizedRestore = false;
    const auto materialize = [&](const QString& why) {
        materialization = flight_.materialize(bundleID, why).kind == WindowMaterializationOutcome::Kind::requested;
        progress.materializationAttempted = true;
    };
    const auto restoreMinimized = [&](const QString& why) {
        minimizedRestore = restoreMinimizedWindows(bundleID, why, classification);
        progress.minimizedRestoreAttempted = true;
    };
    switch (classification.state) {
    case AllowedWindowSpaceState::minimized:
        if (!progress.minimizedRestoreAttempted)
            restoreMinimized(reason);
        break;
    case AllowedWindowSpaceState::onOtherSpace:
        if (!progress.materializationAttempted)
            materialize(reason);
        break;
    case AllowedWindowSpaceState::hidden: {
        unhide = app.unhide();
        classification = classifier_.classify(bundleID);
        const QString hiddenReason = QStringLiteral("dynamicRevealHidden:") + attemptText;
        if (classification.state == AllowedWindowSpaceState::onActiveSpace)
            activate = app.activate(ApplicationActivationOptions{true});
        else if (classification.state == AllowedWindowSpaceState::onOtherSpace && !progress.materializationAttempted)
            materialize(hiddenReason);
        else if (classification.state == AllowedWindowSpaceState::minimized && !progress.minimizedRestoreAttempted)
            restoreMinimized(hiddenReason);
        break;
    }
    case AllowedWindowSpaceState::notRunning:
    case AllowedWindowSpaceState::noWindows:
    case AllowedWindowSpaceState::onActiveSpace:
        break;
    }
    const bool visible = classifier_.isVisible(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Dynamic reveal attempt — bundleID=%1, attempt=%2, running=true, wasHidden=%3, unhide=%4, "
                    "activate=%5, materialization=%6, minimizedRestore=%7, visible=%8, %9")
                    .arg(bundleID, attemptText, boolText(wasHidden), boolText(unhide), boolText(activate),
                         boolText(materialization), boolText(minimizedRestore), boolText(visible),
                         classification.description()));
    if (visible) {
        flight_.settle(bundleID, reason);
        return false;
    }
    const AllowedWindowSpaceState state = classification.state;
    const bool withoutWindows =
        state == AllowedWindowSpaceState::noWindows || state == AllowedWindowSpaceState::notRunning;
    if (progress.materializationAttempted && withoutWindows) {
        // No launch follows a materialization.
        logger_.log(VeskLogLevel::warning, QStringLiteral("Dynamic reveal ended after materialization settle without "
                                                          "visible window — bundleID=%1, attempt=%2, %3")
                                               .arg(bundleID, attemptText, classification.description()));
        return false;
    }
    if (state == AllowedWindowSpaceState::onOtherSpace) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic reveal stopped before LaunchServices fallback for other-Space app — "
                                   "bundleID=%1, attempt=%2, materializationAttempted=%3, %4")
                        .arg(bundleID, attemptText, boolText(progress.materializationAttempted),
                             classification.description()));
        if (!materialization) {
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("Dynamic reveal ended with other-Space app state — bundleID=%1, attempt=%2, %3")
                            .arg(bundleID, attemptText, classification.description()));
            return false;
        }
    } else if (state == AllowedWindowSpaceState::noWindows) {
        runFallbackChain(bundleID, url, attempt, progress);
    }
    return true;
}

void AllowedAppReveal::runFallbackChain(const QString& bundleID, const std::optional<QUrl>& url, int attempt,
                                        Progress& progress)
{
    // One measure per attempt; a fallback that did not start is tried again next time.
    if (!progress.appOpenFallbackUsed)
        progress.appOpenFallbackUsed = appOpenFallback(bundleID, url, attempt);
    else if (!progress.blankFallbackUsed)
        progress.blankFallbackUsed = blankDocumentFallback(bundleID, url, attempt);
}

bool AllowedAppReveal::hasApplicationURL(const QString& fallback, const QString& bundleID,
                                         const std::optional<QUrl>& url, int attempt) const
{
    if (!url)
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic reveal %1 fallback failed — could not resolve app URL, "
                                   "bundleID=%2, attempt=%3")
                        .arg(fallback, bundleID)
                        .arg(attempt));
    return url.has_value();
}

bool AllowedAppReveal::appOpenFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt)
{
    if (!hasApplicationURL(QStringLiteral("app-open"), bundleID, url, attempt))
        return false;
    logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal app-open fallback — bundleID=%1, attempt=%2, url=%3")
                                        .arg(bundleID)
                                        .arg(attempt)
                                        .arg(url->toLocalFile()));
    launcher_.launch(bundleID, *url, QStringLiteral("dynamicReveal"), launcher_.wouldStartApplication(bundleID));
    return true;
}

bool AllowedAppReveal::finderFallback(const std::optional<QUrl>& finderURL, int attempt)
{
    if (!finderURL) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic reveal Finder fallback failed — could not resolve Finder URL, attempt=%1")
                        .arg(attempt));
        return false;
    }
    const QString home = services_.homeDirectory();
    logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal Finder fallback — attempt=%1, appURL=%2, homeURL=%3")
                                        .arg(attempt)
                                        .arg(finderURL->toLocalFile(), home));
    openWithApplication(QUrl::fromLocalFile(home), *finderURL,
                        QStringLiteral("Dynamic reveal Finder fallback opened — homeURL=") + home,
                        QStringLiteral("Dynamic reveal Finder fallback failed — error="));
    return true;
}

bool AllowedAppReveal::blankDocumentFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt)
{
    if (!hasApplicationURL(QStringLiteral("blank"), bundleID, url, attempt))
        return false;
    if (!services_.applicationCapabilityDetector->supportsWebURLSchemes(*url)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Dynamic reveal blank fallback skipped — app does not advertise web "
                                   "URL support, bundleID=%1, attempt=%2, appURL=%3")
                        .arg(bundleID)
                        .arg(attempt)
                        .arg(url->toLocalFile()));
        return false;
    }
    QString error;
    const auto blank = writeBlankRevealDocument(services_.temporaryDirectory(), bundleID, &error);
    if (!blank) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Dynamic reveal blank fallback failed — bundleID=%1, error=%2")
                                             .arg(bundleID, error));
        return false;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Dynamic reveal blank fallback — bundleID=%1, attempt=%2, appURL=%3, blankURL=%4")
                    .arg(bundleID)
                    .arg(attempt)
                    .arg(url->toLocalFile(), *blank));
    openWithApplication(
        QUrl::fromLocalFile(*blank), *url,
        QStringLiteral("Dynamic reveal blank fallback opened — bundleID=%1, blankURL=%2").arg(bundleID, *blank),
        QStringLiteral("Dynamic reveal blank fallback failed — bundleID=%1, error=").arg(bundleID));
    return true;
}

void AllowedAppReveal::openWithApplication(const QUrl& document, const QUrl& applicationURL, const QString& opened,
                                           const QString& failed)
{
    WorkspaceOpenConfiguration configuration;
    configuration.activates = true;
    const QPointer<AllowedAppReveal> self(this);
    services_.workspace->open({document}, applicationURL, configuration,
                              [self, opened, failed,
                               &scheduler = scheduler_](std::shared_ptr<RunningApplicationControlling>,
                                                        std::optional<QString> error) {
                                  auto report = [self, opened, failed, error] {
                                      if (!self)
                                          return;
                                      if (error)
                                          self->logger_.log(VeskLogLevel::error, failed + *error);
                                      else
                                          self->logger_.log(VeskLogLevel::info, opened);
                                  };
                                  if (isMainThread())
                                      report();
                                  else
                                      scheduler.async(report);
                              });
}

std::optional<QString> AllowedAppReveal::writeBlankRevealDocument(const QString& temporaryDirectory,
                                                                  const QString& bundleID, QString* error)
{
    const QString folder = QDir(temporaryDirectory).filePath(QStringLiteral("VESKBlankDocuments"));
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("Could not create the folder %1").arg(folder);
        return std::nullopt;
    }
    QString name = bundleID;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("-"));
    const QString path = QDir(folder).filePath(name + QStringLiteral(".html"));
    const QByteArray content = QByteArrayLiteral("<!doctype html>\n<html>\n"
                                                 "<head><meta charset=\"utf-8\"><title>VESK</title></head>\n"
                                                 "<body></body>\n</html>");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return path;
}

bool AllowedAppReveal::restoreMinimizedWindows(const QString& bundleID, const QString& reason,
                                               const AllowedWindowSpaceClassification& classification)
{
    if (classification.totalAXWindows < 1) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Minimized-window restore skipped — no AX windows, bundleID=%1, reason=%2, %3")
                        .arg(bundleID, reason, classification.description()));
        return false;
    }
    const bool restore = services_.windowManager->setMinimized(bundleID, false);
    const bool raise = restore && services_.windowManager->raise(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Minimized-window restore requested — bundleID=%1, reason=%2, restore=%3, raise=%4, %5")
                    .arg(bundleID, reason, boolText(restore), boolText(raise), classification.description()));
    return restore;
}

void AllowedAppReveal::scheduleRetry(const QString& bundleID, int attempt, Progress progress)
{
    if (attempt >= static_cast<int>(retryOffsets_.size())) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic reveal finished without visible window — bundleID=%1, "
                                   "attempts=%2, appOpenFallback=%3, blankFallback=%4")
                        .arg(bundleID)
                        .arg(attempt + 1)
                        .arg(boolText(progress.appOpenFallbackUsed), boolText(progress.blankFallbackUsed)));
        return;
    }
    const double offset = retryOffsets_[static_cast<std::size_t>(attempt)];
    const double previous = attempt > 0 ? retryOffsets_[static_cast<std::size_t>(attempt - 1)] : 0.0;
    const double delay = std::max(0.0, offset - previous);
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Scheduled dynamic reveal retry — bundleID=%1, nextAttempt=%2, delay=%3s, offset=%4s")
                    .arg(bundleID)
                    .arg(attempt + 1)
                    .arg(twoDecimals(delay), twoDecimals(offset)));
    const QPointer<AllowedAppReveal> self(this);
    WorkItem item = scheduler_.asyncAfter(delay, [self, bundleID, attempt, progress] {
        if (!self)
            return;
        auto& pending = self->pendingRetries_;
        if (const auto it = pending.find(bundleID); it != pending.end()) {
            // This item is no longer pending once it runs; drop it (and any spent ones) from the list.
            std::erase_if(it->second, [](const WorkItem& other) { return !other.isPending(); });
            if (it->second.empty())
                pending.erase(it);
        }
        self->attempt(bundleID, attempt + 1, progress);
    });
    pendingRetries_[bundleID].push_back(item);
}

} // namespace vesk
