#pragma once

#include <QJsonObject>
#include <QUrl>

#include <optional>

namespace vesk {

// Where Vesk reaches its services over the network. A service without an
// address is not reached at all: analytics signals stay in the client's cache
// (and its file), reports the user writes go to the file fallback, automatic
// crash reports are not sent, and the updater does not start.
struct ServiceEndpoints {
    // The analytics client's ingestion base URL.
    std::optional<QUrl> analytics;
    // The report endpoint of bug reports and crash diagnostics.
    std::optional<QUrl> reports;
    // The update feed.
    std::optional<QUrl> updateFeed;

    // A launch by the user: each service's built-in address, unless the
    // environment names another (VESK_ANALYTICS_BASE_URL,
    // VESK_BUG_REPORT_ENDPOINT, VESK_UPDATE_FEED_URL; the report endpoint's
    // variable set but empty leaves reports without an address).
    static ServiceEndpoints configured();
    // Only what those variables name (set and not empty); none otherwise.
    static ServiceEndpoints namedByEnvironment();

    // {"analytics": url or null, "reports": …, "updates": …}
    QJsonObject toJson() const;
    bool operator==(const ServiceEndpoints&) const = default;
};

} // namespace vesk
