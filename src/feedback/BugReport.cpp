#include "feedback/BugReport.h"

#include <QStringList>

namespace vesk {

bool BugReport::isValid() const
{
    return !title.trimmed().isEmpty() && !description.trimmed().isEmpty();
}

std::optional<QString> BugReport::trimmedContactEmail() const
{
    if (!contactEmail)
        return std::nullopt;
    QString trimmed = contactEmail->trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

QString BugReport::plainTextBody() const
{
    QStringList lines{description.trimmed(), QString(), QStringLiteral("—"),
                      QStringLiteral("Kategorie: ") + label(category)};
    if (const std::optional<QString> contact = trimmedContactEmail())
        lines << QStringLiteral("Kontakt: ") + *contact;
    lines << QStringLiteral("App-Version: %1 (%2)").arg(metadata.appVersion, metadata.build)
          << QStringLiteral("macOS: ") + metadata.osVersion
          << QStringLiteral("Monitore: ") + QString::number(metadata.monitorCount)
          << QStringLiteral("Zeitpunkt: ") + reportTimestampText(metadata.timestamp);
    return lines.join(QLatin1Char('\n'));
}

QString reportTimestampText(const QDateTime& timestamp)
{
    return timestamp.toUTC().toString(Qt::ISODate);
}

} // namespace vesk
