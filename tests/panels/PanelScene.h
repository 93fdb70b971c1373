#pragma once

#include "DesktopSpecs.h"
#include "LogCapture.h"
#include "core/ManualScheduler.h"
#include "panels/PanelEnvironment.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vesk::test {

// A simulated desktop in virtual time with one 1440 × 900 display (its
// visible frame (0, 0, 1440, 875) below the menu bar) and the editor in
// front, for Vesk's panels to stand on.
class PanelScene : public ::testing::Test {
protected:
    PanelScene()
    {
        platform::DisplaySpec main = display(1, QRectF(0, 0, 1440, 900));
        main.visibleFrame = QRectF(0, 0, 1440, 875);
        desktop.addDisplay(main);
        platform::ApplicationSpec editor;
        editor.bundleIdentifier = QStringLiteral("com.example.editor");
        editorPID = desktop.addRunningApplication(editor);
        desktop.activate(editorPID, 0);
    }

    // The panels a test closed are deleted while the desktop they stood on is still here.
    ~PanelScene() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Our window in the window list, none when it is not listed.
    std::optional<platform::OwnWindowInfo> listed(std::optional<quint32> number) const
    {
        for (const auto& window : desktop.ownWindows()) {
            if (number && window.number == *number)
                return window;
        }
        return std::nullopt;
    }

    // The Cocoa point as a click posted through the desktop's event system.
    platform::EventOutcome clickAtCocoa(QPointF cocoaPoint)
    {
        return desktop.events().click(desktop.quartzPoint(cocoaPoint));
    }

    LogCapture logs;
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    PanelEnvironment environment{desktop.interfaces().screens, desktop.pointer(), desktop};
    platform::ProcessID editorPID = 0;
};

} // namespace vesk::test
