#pragma once

#include "session/ApplicationCapabilityDetecting.h"

namespace vesk {

// Reads no bundle: no application counts as handling web links.
class NoOpApplicationCapabilityDetector final : public ApplicationCapabilityDetecting {
public:
    bool supportsWebURLSchemes(const QUrl&) const override { return false; }
};

} // namespace vesk
