#pragma once

#include "LogCapture.h"
#include "ui/UiFixture.h"

namespace vesk::test {

// What the setup screen's models need, in virtual time: the toolkit's fixture
// (clock and scheduler, simulated desktop, settings store, reduced motion)
// and a capture of the log.
class SetupFixture : public UiFixture {
protected:
    // Advances virtual time to `seconds` after the fixture's start.
    void advanceTo(double seconds) { scheduler.advance(seconds - scheduler.uptime()); }

    LogCapture log;
};

} // namespace vesk::test
