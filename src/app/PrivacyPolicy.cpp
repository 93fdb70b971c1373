#include "app/PrivacyPolicy.h"

#include <QString>

namespace vesk {

namespace {

// The host is deployment configuration; the path is fixed.
const QString kPrivacyPolicyAddress = QStringLiteral("https://vesk.app/vesk-privacy");

} // namespace

const std::optional<QUrl>& privacyPolicyURL()
{
    static const std::optional<QUrl> url = []() -> std::optional<QUrl> {
        const QUrl parsed(kPrivacyPolicyAddress, QUrl::StrictMode);
        if (!parsed.isValid())
            return std::nullopt;
        return parsed;
    }();
    return url;
}

} // namespace vesk
