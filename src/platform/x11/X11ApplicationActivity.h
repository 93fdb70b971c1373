#pragma once

#include "platform/ApplicationActivity.h"
#include "platform/Identifiers.h"

namespace vesk::platform {

class X11WindowCache;

// Vesk's activity on the X11 desktop: active while one of its own windows
// is `_NET_ACTIVE_WINDOW`. The process ends when Qt is about to quit.
class X11ApplicationActivity final : public ApplicationActivity {
    Q_OBJECT

public:
    X11ApplicationActivity(const X11WindowCache& cache, ProcessID ownPID, QObject* parent = nullptr);

    bool isActive() const override;

private:
    void update();
    void terminate();

    const X11WindowCache& cache_;
    const ProcessID ownPID_;
    bool active_ = false;
    bool terminated_ = false;
};

} // namespace vesk::platform
