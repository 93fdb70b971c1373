#include "setup/WormveskAnimator.h"

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "ui/ReducedMotion.h"

#include <QPointer>

namespace vesk {

namespace {

constexpr double flightStagger = 0.08;
constexpr double flightDuration = 1.1;
constexpr double flightLengthening = 0.05;
constexpr double landingMargin = 0.03;
constexpr double chargeDuration = 0.32;
constexpr double warpDuration = 1.05;
constexpr double reducedFadeDuration = 0.4;
constexpr double reducedWait = 0.42;

constexpr CubicBezierCurve flightCurve{0.45, 0.05, 0.55, 1.0};
constexpr CubicBezierCurve chargeCurve{0.3, 0, 0.2, 1};
constexpr CubicBezierCurve warpCurve{0.72, 0, 0.85, 0.05};

// From the start until the last of `count` flights has landed, plus a margin.
double landingWait(size_t count)
{
    if (count == 0) {
        return landingMargin;
    }
    const double last = static_cast<double>(count - 1);
    return last * flightStagger + (flightDuration + last * flightLengthening) + landingMargin;
}

} // namespace

QString toRaw(WormveskAnimator::Phase phase)
{
    switch (phase) {
    case WormveskAnimator::Phase::idle:
        return QStringLiteral("idle");
    case WormveskAnimator::Phase::flyers:
        return QStringLiteral("flyers");
    case WormveskAnimator::Phase::charging:
        return QStringLiteral("charging");
    case WormveskAnimator::Phase::warping:
        return QStringLiteral("warping");
    }
    return {};
}

WormveskAnimator::WormveskAnimator(Scheduler& scheduler, const Clock& clock, const ReducedMotion& reducedMotion,
                                   QObject* parent)
    : QObject(parent)
    , scheduler_(scheduler)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
{
}

WormveskAnimator::~WormveskAnimator()
{
    pendingStep_.cancel();
}

std::map<QString, double> WormveskAnimator::flyerProgressAt(const QDateTime& now) const
{
    std::map<QString, double> values;
    for (const auto& [bundleID, progress] : flyerProgress_) {
        values[bundleID] = progress.valueAt(now);
    }
    return values;
}

void WormveskAnimator::start(const std::vector<QString>& bundleIDs, std::function<void()> onComplete)
{
    if (phase_ != Phase::idle) {
        logger_.log(VeskLogLevel::warning, "[WormveskAnimator] start ignored — phase=" + toRaw(phase_));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("[WormveskAnimator] start — apps=%1").arg(bundleIDs.size()));
    pendingStep_.cancel();
    ++run_;
    if (reducedMotion_.isOn()) {
        runReducedMotionSequence(std::move(onComplete));
    } else {
        runFullSequence(bundleIDs, std::move(onComplete));
    }
}

void WormveskAnimator::reset()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("[WormveskAnimator] reset"));
    pendingStep_.cancelAndClear();
    ++run_;
    phase_ = Phase::idle;
    flyerProgress_.clear();
    symbolScale_.set(1.0);
    symbolBrightness_.set(1.0);
    symbolOpacity_.set(1.0);
    chromeProgress_.set(0.0);
    emit changed();
}

void WormveskAnimator::runFullSequence(const std::vector<QString>& bundleIDs, std::function<void()> onComplete)
{
    setPhase(Phase::flyers);
    for (const QString& bundleID : bundleIDs) {
        flyerProgress_[bundleID].set(0.0);
    }
    emit changed();

    const quint64 run = run_;
    QPointer<WormveskAnimator> self(this);
    for (size_t i = 0; i < bundleIDs.size(); ++i) {
        const int index = static_cast<int>(i);
        scheduler_.asyncAfter(index * flightStagger, [self, bundleID = bundleIDs[i], index, run] {
            if (self) {
                self->beginFlight(bundleID, index, run);
            }
        });
    }
    schedule(landingWait(bundleIDs.size()), run,
             [this, run, onComplete = std::move(onComplete)] { beginCharging(run, onComplete); });
}

void WormveskAnimator::runReducedMotionSequence(std::function<void()> onComplete)
{
    setPhase(Phase::warping);
    const QDateTime now = clock_.now();
    symbolOpacity_.animate(0.0, now, reducedFadeDuration, CubicBezierCurve::easeInOut());
    chromeProgress_.animate(1.0, now, reducedFadeDuration, CubicBezierCurve::easeInOut());
    emit changed();
    const quint64 run = run_;
    schedule(reducedWait, run, [this, run, onComplete = std::move(onComplete)] {
        complete(run, QStringLiteral("[WormveskAnimator] reduced-motion done → onComplete"), onComplete);
    });
}

void WormveskAnimator::beginFlight(const QString& bundleID, int index, quint64 run)
{
    if (run != run_ || phase_ == Phase::idle) {
        return;
    }
    flyerProgress_[bundleID].animate(1.0, clock_.now(), flightDuration + flightLengthening * index, flightCurve);
    emit changed();
}

void WormveskAnimator::beginCharging(quint64 run, std::function<void()> onComplete)
{
    setPhase(Phase::charging);
    const QDateTime now = clock_.now();
    symbolBrightness_.animate(1.45, now, chargeDuration, chargeCurve);
    symbolScale_.animate(1.08, now, chargeDuration, chargeCurve);
    emit changed();
    schedule(chargeDuration, run, [this, run, onComplete = std::move(onComplete)] { beginWarping(run, onComplete); });
}

void WormveskAnimator::beginWarping(quint64 run, std::function<void()> onComplete)
{
    setPhase(Phase::warping);
    const QDateTime now = clock_.now();
    symbolScale_.animate(8.0, now, warpDuration, warpCurve);
    symbolOpacity_.animate(0.0, now, warpDuration, warpCurve);
    chromeProgress_.animate(1.0, now, warpDuration, warpCurve);
    emit changed();
    schedule(warpDuration, run, [this, run, onComplete = std::move(onComplete)] {
        complete(run, QStringLiteral("[WormveskAnimator] full sequence done → onComplete"), onComplete);
    });
}

void WormveskAnimator::complete(quint64 run, const QString& message, const std::function<void()>& onComplete)
{
    if (run != run_) {
        return;
    }
    pendingStep_ = {};
    logger_.log(VeskLogLevel::info, message);
    if (onComplete) {
        onComplete();
    }
}

void WormveskAnimator::schedule(double seconds, quint64 run, std::function<void()> step)
{
    QPointer<WormveskAnimator> self(this);
    pendingStep_ = scheduler_.asyncAfter(seconds, [self, run, step = std::move(step)] {
        if (self && run == self->run_) {
            step();
        }
    });
}

void WormveskAnimator::setPhase(Phase phase)
{
    phase_ = phase;
}

} // namespace vesk
