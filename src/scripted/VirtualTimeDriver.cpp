#include "scripted/VirtualTimeDriver.h"

#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QCoreApplication>

#include <algorithm>

namespace vesk {

double VirtualTimeDriver::now() const
{
    return scheduler_.uptime();
}

void VirtualTimeDriver::advance(double seconds)
{
    advanceTo(now() + seconds);
}

void VirtualTimeDriver::advanceTo(double time)
{
    settle();
    while (now() < time) {
        scheduler_.advance(std::min(sliceSeconds, time - now()));
        // A quiet slice (ticks and timers whose effects stay on the main
        // thread) leaves nothing for the event loop to do.
        if (settleRequested_.exchange(false) || desktop_.workspace().waitForCompletions())
            settle();
    }
    settle();
}

void VirtualTimeDriver::settle()
{
    settleRequested_ = false;
    // Completions may queue work for the main queue, and that work may start
    // further launches; two rounds catch what the first one started.
    for (int round = 0; round < 2; ++round) {
        desktop_.workspace().waitForCompletions();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        scheduler_.runPending();
    }
}

} // namespace vesk
