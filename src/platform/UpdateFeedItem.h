#pragma once

#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>

namespace vesk::platform {

// One release as the update feed describes it.
struct UpdateFeedItem {
    QString versionString;
    QString displayVersionString;
    std::uint64_t contentLength = 0;
    // The release notes as HTML, none when the feed has none.
    std::optional<QString> itemDescription;
    QUrl archiveURL;

    bool operator==(const UpdateFeedItem&) const = default;
};

} // namespace vesk::platform
