#include "feedback/CrashDiagnostic.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vesk {

std::optional<CrashDiagnostic> CrashDiagnostic::fromPayload(const QByteArray& payload)
{
    const QJsonObject object = QJsonDocument::fromJson(payload).object();
    const auto crashes = static_cast<int>(object.value(QStringLiteral("crashDiagnostics")).toArray().size());
    const auto hangs = static_cast<int>(object.value(QStringLiteral("hangDiagnostics")).toArray().size());
    if (crashes == 0 && hangs == 0)
        return std::nullopt;
    return CrashDiagnostic{crashes, hangs, payload};
}

} // namespace vesk
