#pragma once

#include <QUrl>

namespace vesk {

// Whether the updater may ask this address for a feed or an archive: https,
// or plain http to this machine only (127.0.0.0/8, ::1, "localhost"), where
// no one between could change what arrives.
bool isAllowedUpdateAddress(const QUrl& url);

} // namespace vesk
