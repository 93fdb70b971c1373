#pragma once

#include "stage/StageVeskScreenID.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

namespace vesk {

// The session as the stage bars see it: what they show of it and what their
// buttons ask of it. `changed` tells the bars to read it again (the goal, the
// hardcore flag, the clock). Main thread only.
class StageVeskSessionControlling : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~StageVeskSessionControlling() override = default;

    virtual std::optional<QString> currentGoal() const = 0;
    virtual bool isHardcoreSession() const = 0;
    // The countdown "mm:ss", or the elapsed "hh:mm:ss" of an open-ended session.
    virtual QString remainingTimeText(const QDateTime& now) const = 0;

    // Opens or closes the quick-access panel on the screen.
    virtual void toggleQuickAccessPanel(StageVeskScreenID screen) = 0;
    virtual void toggleBugReportPanel() = 0;
    // Only logs; the bar shows the confirmation itself.
    virtual void requestManualExitConfirmation() = 0;
    // Ends the session, quitting the allowed applications or leaving them open.
    virtual void confirmManualExit(bool quitAllowedApps) = 0;
    // Logs that the user stepped back from the exit.
    virtual void cancelManualExitConfirmation() = 0;
    // Ends even a hardcore session at once (development only).
    virtual void debugForceStop() = 0;

signals:
    void changed();
};

} // namespace vesk
