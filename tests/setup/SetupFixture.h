#pragma once

#include "LogCapture.h"
#include "settings/VeskDefaultsStore.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "ui/ReducedMotion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vesk::test {

// What the setup screen's models need, in virtual time: the clock and
// scheduler, the simulated desktop, the settings store, reduced motion from
// both, and a capture of the log.
class SetupFixture : public ::testing::Test {
protected:
    // Advances virtual time to `seconds` after the fixture's start.
    void advanceTo(double seconds) { scheduler.advance(seconds - scheduler.uptime()); }

    LogCapture log;
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.filePath("desktop")};
    UserDefaults defaults{UserDefaults::standardSuiteName, root.filePath("defaults")};
    VeskDefaultsStore settings{defaults, [] { return QStringList{"de-DE"}; }};
    ReducedMotion reducedMotion{desktop, settings};
};

} // namespace vesk::test
