#pragma once

#include "enforcement/WindowMaterializing.h"

namespace vesk {

// Knows no application it could ask for a new window.
class NoOpWindowMaterializer final : public WindowMaterializing {
public:
    WindowMaterializationOutcome materialize(const QString&, const std::optional<QUrl>&, const QString&) override
    {
        return WindowMaterializationOutcome::unsupported();
    }
};

} // namespace vesk
