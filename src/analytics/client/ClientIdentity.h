#pragma once

#include <QString>

namespace vesk::telemetry {

// The hash that hides a user identifier: SHA-256 of the identifier followed
// by the salt (UTF-8), as 64 lower-case hexadecimal digits.
QString userHash(const QString& userIdentifier, const QString& salt);

// The client's own defaults suite for an application: "com.telemetry."
// followed by the first 12 digits of the application identifier's hash.
QString clientSuiteName(const QString& appID);

} // namespace vesk::telemetry
