#pragma once

#include "core/WorkItem.h"
#include "logging/VeskLogger.h"
#include "ui/AnimatedValue.h"
#include "ui/WormveskStyle.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;

// The start animation's model: the selected applications fly into the logo,
// the logo charges and then warps away, and only then the completion runs.
// Views evaluate its animated values at the clock's now when they paint.
// Main thread only.
//
// Full sequence (n applications; flight i starts at i × 0.08 s and lasts
// 1.1 + 0.05 × i s): flyers at once, charging when the last flight has landed
// (+0.03 s), warping 0.32 s later, the completion 1.05 s after that. Under
// reduced motion: warping at once, the symbol fades for 0.4 s, the completion
// at 0.42 s.
class WormveskAnimator final : public QObject {
    Q_OBJECT

public:
    enum class Phase { idle, flyers, charging, warping };
    Q_ENUM(Phase)

    WormveskAnimator(Scheduler& scheduler, const Clock& clock, const ReducedMotion& reducedMotion,
                     QObject* parent = nullptr);
    ~WormveskAnimator() override;

    Phase phase() const { return phase_; }
    // Per application bundle identifier, the flight from 0 (on its tile) to 1 (at the logo).
    const std::map<QString, AnimatedValue>& flyerProgress() const { return flyerProgress_; }
    // The presented flight progress of every application at `now`.
    std::map<QString, double> flyerProgressAt(const QDateTime& now) const;
    const AnimatedValue& symbolScale() const { return symbolScale_; }
    // Applied by the setup screen as a brightness offset of value − 1.
    const AnimatedValue& symbolBrightness() const { return symbolBrightness_; }
    const AnimatedValue& symbolOpacity() const { return symbolOpacity_; }
    // The warp-out of the screen content around the symbol, 0 to 1.
    const AnimatedValue& chromeProgress() const { return chromeProgress_; }

    // Runs the sequence for these application bundle identifiers (in grid
    // order) when idle; otherwise logs and ignores the call (onComplete is
    // then never called). onComplete runs once, at the end, unless a reset or
    // a new run cancels the sequence first.
    void start(const std::vector<QString>& bundleIDs, std::function<void()> onComplete);
    // Cancels what runs (including flights not yet begun) and restores every
    // value without animation.
    void reset();

signals:
    // The phase or any animated value changed.
    void changed();

private:
    void runFullSequence(const std::vector<QString>& bundleIDs, std::function<void()> onComplete);
    void runReducedMotionSequence(std::function<void()> onComplete);
    void beginFlight(const QString& bundleID, int index, quint64 run);
    void beginCharging(quint64 run, std::function<void()> onComplete);
    void beginWarping(quint64 run, std::function<void()> onComplete);
    void complete(quint64 run, const QString& message, const std::function<void()>& onComplete);
    // Schedules `step` after `seconds` as the pending sequence step of `run`.
    void schedule(double seconds, quint64 run, std::function<void()> step);
    void setPhase(Phase phase);

    Scheduler& scheduler_;
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    VeskLogger logger_{QStringLiteral("WormveskAnimator")};
    Phase phase_ = Phase::idle;
    std::map<QString, AnimatedValue> flyerProgress_;
    AnimatedValue symbolScale_{1.0};
    AnimatedValue symbolBrightness_{1.0};
    AnimatedValue symbolOpacity_{1.0};
    AnimatedValue chromeProgress_{0.0};
    WorkItem pendingStep_;
    // Bumped by every start and reset: work of an earlier run finds it changed
    // and does nothing, so a quick reset and restart never receives old flights.
    quint64 run_ = 0;
};

QString toRaw(WormveskAnimator::Phase phase);

} // namespace vesk
