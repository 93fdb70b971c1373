#include "app/InstanceClaim.h"

namespace vesk {

namespace {

QString handOverLine(const QString& dataFolder, InstanceChannel::Answer answer)
{
    if (answer == InstanceChannel::Answer::inSession)
        return QStringLiteral("Vesk is already running with the data folder %1 and is in a focus session; "
                              "its main window comes back when the session ends")
            .arg(dataFolder);
    return QStringLiteral("Vesk is already running with the data folder %1; its main window was brought to the front")
        .arg(dataFolder);
}

} // namespace

InstanceClaim InstanceClaim::make(const QString& dataFolder, double waitSeconds, const AskRunningInstance& ask)
{
    InstanceClaim claim;
    QString error;
    claim.lock = InstanceLock::acquire(dataFolder, 0, &error);
    if (claim.lock) {
        claim.outcome = Outcome::locked;
        return claim;
    }

    const InstanceChannel::Answer answer = ask ? ask(dataFolder) : InstanceChannel::askForMainWindow(dataFolder);
    if (answer == InstanceChannel::Answer::shown || answer == InstanceChannel::Answer::inSession) {
        claim.outcome = Outcome::handedOver;
        claim.message = handOverLine(dataFolder, answer);
        return claim;
    }

    // An instance that is ending (a relaunch starts the new one first), or
    // one that cannot answer, gets its time to let go.
    claim.lock = InstanceLock::acquire(dataFolder, waitSeconds, &error);
    claim.outcome = claim.lock ? Outcome::locked : Outcome::refused;
    claim.message = claim.lock ? QString() : error;
    return claim;
}

} // namespace vesk
