#pragma once

#include <QMetaObject>

#include <functional>

class QObject;

namespace vesk::platform {

// Tells when the displays change: added, removed, moved or resized.
class ScreenChangeObserving {
public:
    virtual ~ScreenChangeObserving() = default;
    // Calls `handler` on the main thread after every change, for as long as
    // `receiver` lives or until the connection is disconnected.
    virtual QMetaObject::Connection observeScreenParameters(QObject* receiver, std::function<void()> handler) const = 0;
};

} // namespace vesk::platform
