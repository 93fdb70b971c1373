#pragma once

#include "setup/SessionStarting.h"

namespace vesk {

class SessionManager;

// The session manager as the setup screen sees it: whether a session runs,
// and starting one with the setup screen's choices.
class SessionManagerSessionStarting final : public SessionStarting {
public:
    explicit SessionManagerSessionStarting(SessionManager& manager) : manager_(manager) { }

    bool isSessionActive() const override;
    void startSession(qint64 durationSeconds, const std::set<QString>& bundleIDs,
                      const std::map<QString, QUrl>& applicationURLs, const std::optional<QString>& goal, bool hardcore,
                      qint64 setupSeconds) override;

private:
    SessionManager& manager_;
};

} // namespace vesk
