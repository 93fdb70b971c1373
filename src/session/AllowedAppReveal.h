#pragma once

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "logging/VeskLogger.h"
#include "session/AllowedAppLauncher.h"
#include "session/AllowedAppLookup.h"
#include "session/AllowedWindowSpaceClassifier.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"
#include "session/WindowMaterializationFlight.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <map>
#include <optional>
#include <vector>

namespace vesk {

// Brings one allowed application's window onto the screen after it was added
// or asked for: unhides, restores minimised windows, asks for a window on the
// current Space, and when the application has no window at all opens it, then
// a blank page with it. Each attempt takes one measure; attempts are retried at
// the given offsets after the first until a window shows. Main thread only.
class AllowedAppReveal final : public QObject {
public:
    AllowedAppReveal(const SessionServices& services, const SessionState& state, const AllowedAppLookup& lookup,
                     const AllowedWindowSpaceClassifier& classifier, WindowMaterializationFlight& flight,
                     AllowedAppLauncher& launcher, Scheduler& scheduler, std::vector<double> retryOffsets);

    // Starts a reveal, replacing the application's pending retries.
    void start(const QString& bundleID);
    void cancel(const QString& bundleID);
    void cancelAll();
    // Seconds after the first attempt at which the retries run, ascending.
    const std::vector<double>& retryOffsets() const { return retryOffsets_; }

    // Writes (or overwrites) the application's blank web page in
    // "<temporaryDirectory>/VESKBlankDocuments"; the file's path, or none with
    // the reason in `error`.
    static std::optional<QString> writeBlankRevealDocument(const QString& temporaryDirectory, const QString& bundleID,
                                                           QString* error);

private:
    // What earlier attempts of one reveal already did.
    struct Progress {
        bool appOpenFallbackUsed = false;
        bool blankFallbackUsed = false;
        bool materializationAttempted = false;
        bool minimizedRestoreAttempted = false;
    };

    void attempt(const QString& bundleID, int attempt, Progress progress);
    // The measure for an application that runs; false when the reveal ends here.
    bool attemptRunning(const QString& bundleID, const std::optional<QUrl>& url, int attempt,
                        RunningApplicationControlling& app, AllowedWindowSpaceClassification classification,
                        Progress& progress);
    void runFallbackChain(const QString& bundleID, const std::optional<QUrl>& url, int attempt, Progress& progress);
    // Logs that the fallback failed when there is no location of the application.
    bool hasApplicationURL(const QString& fallback, const QString& bundleID, const std::optional<QUrl>& url,
                           int attempt) const;
    bool appOpenFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt);
    bool finderFallback(const std::optional<QUrl>& finderURL, int attempt);
    bool blankDocumentFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt);
    // Opens the document with the application; `opened` and `failed` (which
    // gets the error appended) are the log lines of the outcome.
    void openWithApplication(const QUrl& document, const QUrl& applicationURL, const QString& opened,
                             const QString& failed);
    bool restoreMinimizedWindows(const QString& bundleID, const QString& reason,
                                 const AllowedWindowSpaceClassification& classification);
    void scheduleRetry(const QString& bundleID, int attempt, Progress progress);

    const SessionServices& services_;
    const SessionState& state_;
    const AllowedAppLookup& lookup_;
    const AllowedWindowSpaceClassifier& classifier_;
    WindowMaterializationFlight& flight_;
    AllowedAppLauncher& launcher_;
    Scheduler& scheduler_;
    std::vector<double> retryOffsets_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    std::map<QString, std::vector<WorkItem>> pendingRetries_;
};

} // namespace vesk
