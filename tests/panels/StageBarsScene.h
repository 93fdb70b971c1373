#pragma once

#include "FakeSession.h"
#include "stage/StageServiceScene.h"

#include "panels/StageVeskPanel.h"
#include "panels/StageVeskPanelEnvironment.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>

namespace vesk::test {

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
    FakeSession session;
    FixedPointer pointer;
    QTemporaryDir root;
    UserDefaults defaults{UserDefaults::standardSuiteName, root.path()};
    std::vector<InstalledApp> installed;
    int controlRectsChanges = 0;
    // Whether the display composites see-through windows.
    bool composites = false;
    std::unique_ptr<StageVeskPanel> panel;

    StageVeskPanelEnvironment environment()
    {
        return StageVeskPanelEnvironment{
            .screens = stage.screens,
            .pointer = pointer,
            .ownWindows = nullptr,
            .clock = stage.scheduler,
            .scheduler = stage.scheduler,
            .userDefaults = defaults,
            .preferredLanguages = [] { return QStringList{"de-DE"}; },
            .installedApps = [this] { return installed; },
            .displayComposites = [this] { return composites; },
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
