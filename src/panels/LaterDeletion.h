#pragma once

#include <QObject>

#include <memory>

namespace vesk {

// Deletes a window once control is back in the event loop: a panel may be
// dropped from within its own event handler (Escape runs its close callback).
struct LaterDeletion {
    void operator()(QObject* object) const
    {
        if (object)
            object->deleteLater();
    }
};

template <typename T>
using LaterDeletedPtr = std::unique_ptr<T, LaterDeletion>;

} // namespace vesk
