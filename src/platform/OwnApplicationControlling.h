#pragma once

#include "platform/OwnApplicationSpec.h"

#include <QMetaObject>
#include <QString>

#include <functional>

class QObject;

namespace vesk::platform {

// The answer of the application's delegate to a request to terminate.
enum class TerminateReply { now, cancel, later };

// Vesk's own process: its bundle entries and its termination, which goes
// through the application's delegate as on the platform.
class OwnApplicationControlling {
public:
    virtual ~OwnApplicationControlling() = default;

    virtual const OwnApplicationSpec& ownApplication() const = 0;
    // Replaces Vesk's bundle on disk with a release of the given version and
    // build; the running process reads the new entries, and the release takes
    // effect when Vesk is launched again.
    virtual void installOwnBundleUpdate(const QString& version, const QString& build) = 0;

    virtual void setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                        std::function<void()> willTerminate) = 0;
    // The request to terminate: asks the delegate, and on "now" runs the
    // will-terminate handler and ends the process. Returns whether it ended.
    virtual bool requestOwnTermination() = 0;
    // The delegate's late answer to a request it answered with "later".
    virtual void replyToOwnTerminationRequest(bool shouldTerminate) = 0;
    virtual bool isOwnApplicationTerminated() const = 0;
    // Calls `handler` once the will-terminate handler has run, for as long as
    // `receiver` lives.
    virtual QMetaObject::Connection observeOwnTermination(QObject* receiver, std::function<void()> handler) const = 0;
};

} // namespace vesk::platform
