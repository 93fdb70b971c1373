#pragma once

#include <QMetaObject>

#include <functional>

class QObject;

namespace vesk::platform {

// The system's accessibility setting that asks applications to reduce motion.
class ReduceMotionProviding {
public:
    virtual ~ReduceMotionProviding() = default;
    virtual bool shouldReduceMotion() const = 0;
    // Calls `handler` on the main thread after every change of the setting,
    // for as long as `receiver` lives or until the connection is disconnected.
    virtual QMetaObject::Connection observeReduceMotion(QObject* receiver, std::function<void()> handler) const = 0;
};

} // namespace vesk::platform
