#include "enforcement/RunningApplicationControlling.h"

namespace vesk {

QString toRaw(ApplicationActivationPolicy policy)
{
    switch (policy) {
    case ApplicationActivationPolicy::regular:
        return QStringLiteral("regular");
    case ApplicationActivationPolicy::accessory:
        return QStringLiteral("accessory");
    case ApplicationActivationPolicy::prohibited:
        return QStringLiteral("prohibited");
    }
    return {};
}

} // namespace vesk
