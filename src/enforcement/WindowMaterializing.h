#pragma once

#include "enforcement/WindowMaterializationOutcome.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace vesk {

// Asks an application for a new window on the current Space.
class WindowMaterializing {
public:
    virtual ~WindowMaterializing() = default;
    virtual WindowMaterializationOutcome materialize(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                                                     const QString& reason) = 0;
};

} // namespace vesk
