#pragma once

#include "SessionServicesFixture.h"

namespace vesk::test {

// A session manager over the recording doubles.
class SessionManagerFixture : public SessionServicesFixture {
protected:
    std::unique_ptr<SessionManager> manager;

    void SetUp() override { manager = std::make_unique<SessionManager>(services(), scheduler, scheduler); }

    void TearDown() override { manager.reset(); }

    void start(int durationSeconds = 60, bool hardcore = false,
               std::optional<QString> goal = QStringLiteral("Write the chapter"), int setupSeconds = 12)
    {
        manager->startSession(durationSeconds, {editorID, notesID}, {}, goal, hardcore, setupSeconds);
    }

    // Starts a session whose allowed window is visible at once.
    void startActive(int durationSeconds = 60, bool hardcore = false)
    {
        detector->visible = {notesID};
        start(durationSeconds, hardcore);
        ASSERT_TRUE(manager->isSessionActive());
        ASSERT_FALSE(manager->isStartingSession());
    }
};

} // namespace vesk::test
