#include "ui/ReducedMotion.h"

#include "platform/ReduceMotionProviding.h"
#include "settings/VeskDefaultsStore.h"

namespace vesk {

ReducedMotion::ReducedMotion(const platform::ReduceMotionProviding& system, const VeskDefaultsStore& settings,
                             QObject* parent)
    : QObject(parent)
    , system_(system)
    , settings_(settings)
{
    isOn_ = system_.shouldReduceMotion() || settings_.reducedMotion();
    system_.observeReduceMotion(this, [this] { update(); });
    connect(&settings_, &VeskDefaultsStore::reducedMotionChanged, this, &ReducedMotion::update);
}

void ReducedMotion::update()
{
    const bool on = system_.shouldReduceMotion() || settings_.reducedMotion();
    if (on == isOn_)
        return;
    isOn_ = on;
    emit changed();
}

} // namespace vesk
