#include "enforcement/WindowMaterializationOutcome.h"

namespace vesk {

QString WindowMaterializationOutcome::text() const
{
    switch (kind) {
    case Kind::requested:
        return QStringLiteral("requested");
    case Kind::unsupported:
        return QStringLiteral("unsupported");
    case Kind::failed:
        return QStringLiteral("failed(%1)").arg(message);
    }
    return {};
}

} // namespace vesk
