#pragma once

#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "settings/VeskDefaultsStore.h"
#include "ui/ReducedMotion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vesk::test {

// What a view of the toolkit needs, in virtual time: the clock and scheduler,
// the simulated desktop's reduce-motion setting and the settings store,
// joined in one ReducedMotion.
class UiFixture : public ::testing::Test {
protected:
    // The date `seconds` after the art's reference date, 2001-01-01.
    static QDateTime referenceDatePlus(double seconds)
    {
        return QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC).addMSecs(static_cast<qint64>(seconds * 1000));
    }

    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.filePath("desktop")};
    UserDefaults defaults{UserDefaults::standardSuiteName, root.filePath("defaults")};
    VeskDefaultsStore settings{defaults, [] { return QStringList{"de-DE"}; }};
    ReducedMotion reducedMotion{desktop.reduceMotion(), settings};
};

} // namespace vesk::test
