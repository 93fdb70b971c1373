#pragma once

#include "app/InstanceChannel.h"
#include "app/InstanceLock.h"

#include <QString>

#include <functional>
#include <memory>

namespace vesk {

// What a start makes of its data folder: it takes the folder's lock, or it
// hands over to the instance that holds it (which brings its main window
// forward), or it is refused.
struct InstanceClaim {
    enum class Outcome { locked, handedOver, refused };
    // Asks the holder of a data folder for its main window.
    using AskRunningInstance = std::function<InstanceChannel::Answer(const QString& dataFolder)>;

    Outcome outcome = Outcome::refused;
    std::unique_ptr<InstanceLock> lock;
    // Handed over: the line that says so; refused: the reason.
    QString message;

    // Takes the lock of `dataFolder` at once if it is free. Otherwise asks
    // its holder (through `ask`; none: over the folder's InstanceChannel);
    // one that is ending or does not answer is given `waitSeconds` to let go.
    static InstanceClaim make(const QString& dataFolder, double waitSeconds, const AskRunningInstance& ask = {});
};

} // namespace vesk
