#pragma once

#include "StageServiceScene.h"

#include "stage/StageVeskPanel.h"
#include "stage/StageVeskPanelEnvironment.h"
#include "stage/StageVeskSessionControlling.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>

namespace vesk::test {

// The session as a recording double: what the bars show of it is set by the
// test, what they ask of it is listed in `calls`.
class RecordingSessionControls final : public StageVeskSessionControlling {
public:
    std::optional<QString> goal;
    bool hardcore = false;
    QString clock = QStringLiteral("14:59");
    QStringList calls;

    void setHardcore(bool on)
    {
        hardcore = on;
        emit changed();
    }

    std::optional<QString> currentGoal() const override { return goal; }
    bool isHardcoreSession() const override { return hardcore; }
    QString remainingTimeText(const QDateTime&) const override { return clock; }
    void toggleQuickAccessPanel(StageVeskScreenID screen) override
    {
        calls << QStringLiteral("toggleQuickAccessPanel %1").arg(screen.rawValue);
    }
    void toggleBugReportPanel() override { calls << QStringLiteral("toggleBugReportPanel"); }
    void requestManualExitConfirmation() override { calls << QStringLiteral("requestManualExitConfirmation"); }
    void confirmManualExit(bool quitAllowedApps) override
    {
        calls << QStringLiteral("confirmManualExit %1").arg(quitAllowedApps);
    }
    void cancelManualExitConfirmation() override { calls << QStringLiteral("cancelManualExitConfirmation"); }
    void debugForceStop() override { calls << QStringLiteral("debugForceStop"); }
};

class FixedPointer final : public platform::PointerStateProviding {
public:
    QPointF location{700, 400};
    QPointF mouseLocation() const override { return location; }
    bool isMouseButtonDown(int) const override { return false; }
};

// The stage bars over the stage scene's two displays (the first is the main
// one), with a settings domain of their own in a temporary folder.
class StageBarsScene {
public:
    StageServiceScene stage;
    RecordingSessionControls session;
    FixedPointer pointer;
    QTemporaryDir root;
    UserDefaults defaults{UserDefaults::standardSuiteName, root.path()};
    std::vector<InstalledApp> installed;
    int controlRectsChanges = 0;
    std::unique_ptr<StageVeskPanel> panel;

    StageVeskPanelEnvironment environment()
    {
        return StageVeskPanelEnvironment{
            .screens = stage.screens,
            .pointer = pointer,
            .ownWindows = nullptr,
            .clock = stage.scheduler,
            .userDefaults = defaults,
            .preferredLanguages = [] { return QStringList{"de-DE"}; },
            .installedApps = [this] { return installed; },
        };
    }

    // A new panel with both sources, shown.
    StageVeskPanel& show()
    {
        panel = std::make_unique<StageVeskPanel>(environment());
        panel->setControlRectsChangedHandler([this] { ++controlRectsChanges; });
        panel->setSources(&session, stage.service.get());
        panel->show();
        return *panel;
    }

    // Lets the panels and views that were closed go.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

} // namespace vesk::test
