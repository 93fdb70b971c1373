#include "analytics/client/ClientIdentity.h"

#include <QCryptographicHash>

namespace vesk::telemetry {

QString userHash(const QString& userIdentifier, const QString& salt)
{
    const QByteArray digest = QCryptographicHash::hash((userIdentifier + salt).toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex());
}

QString clientSuiteName(const QString& appID)
{
    return QStringLiteral("com.telemetry.") + userHash(appID, QString()).left(12);
}

} // namespace vesk::telemetry
