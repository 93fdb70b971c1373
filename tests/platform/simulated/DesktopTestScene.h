#pragma once

#include "DesktopSpecs.h"
#include "core/ManualScheduler.h"
#include "platform/WindowListProviding.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vesk::platform::testing {

// A simulated desktop in virtual time, under a temporary root, built from a
// scenario given in code: two displays side by side (the second one lower),
// an editor and a browser with one window each on the first display.
class DesktopTestScene : public ::testing::Test {
protected:
    static DisplaySpec display(quint32 id, QRectF bounds, int spaces = 1) { return test::display(id, bounds, spaces); }

    static WindowSpec window(QString title, QRectF bounds)
    {
        WindowSpec spec;
        spec.title = std::move(title);
        spec.bounds = bounds;
        return spec;
    }

    static BundleSpec bundle(QString path, QString identifier, QString name)
    {
        BundleSpec spec;
        spec.path = std::move(path);
        spec.bundleIdentifier = std::move(identifier);
        spec.name = std::move(name);
        return spec;
    }

    static DesktopScenario twoDisplayScenario()
    {
        DesktopScenario scenario;
        scenario.displays = {display(1, QRectF(0, 0, 1440, 900), 2), display(2, QRectF(1440, 0, 1920, 1080))};
        scenario.bundles = {bundle("/Applications/Editor.app", "com.example.editor", "Editor"),
                            bundle("/Applications/Browser.app", "com.example.browser", "Browser")};
        scenario.bundles[1].urlSchemes = {"http", "https"};
        ApplicationSpec editor;
        editor.bundleIdentifier = "com.example.editor";
        editor.windows = {window("notes.txt", QRectF(100, 100, 600, 400))};
        ApplicationSpec browser;
        browser.bundleIdentifier = "com.example.browser";
        browser.windows = {window("Start Page", QRectF(300, 200, 800, 500))};
        scenario.applications = {editor, browser};
        scenario.frontmost = "com.example.browser";
        return scenario;
    }

    void build(const DesktopScenario& scenario)
    {
        ASSERT_TRUE(root.isValid());
        desktop = std::make_unique<SimulatedDesktop>(scheduler, root.path());
        const QString error = desktop->applyScenario(scenario);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }

    void SetUp() override { build(twoDisplayScenario()); }

    ProcessID pidOf(const QString& bundleID) const
    {
        const DesktopApplication* app = desktop->runningApplication(bundleID);
        return app ? app->pid : 0;
    }

    WindowNumber firstWindowOf(const QString& bundleID) const
    {
        const auto windows = desktop->windowsOf(pidOf(bundleID));
        return windows.empty() ? 0 : windows.front()->number;
    }

    // Titles of the listed windows with layer 0, front to back.
    QStringList listedTitles(int options) const
    {
        QStringList titles;
        for (const QVariantMap& entry : desktop->copyWindowInfo(options)) {
            if (entry.value(kWindowLayer).toInt() == 0)
                titles.append(entry.value(kWindowName).toString());
        }
        return titles;
    }

    bool listed(WindowNumber number, int options) const
    {
        for (const QVariantMap& entry : desktop->copyWindowInfo(options)) {
            if (entry.value(kWindowNumber).toUInt() == number)
                return true;
        }
        return false;
    }

    static constexpr int onScreen = WindowListOnScreenOnly | WindowListExcludeDesktopElements;
    static constexpr int allWindows = WindowListExcludeDesktopElements;

    QTemporaryDir root;
    ManualScheduler scheduler;
    std::unique_ptr<SimulatedDesktop> desktop;
};

} // namespace vesk::platform::testing
