#pragma once

#include "stage/StageVeskService.h"

#include "FixedScreens.h"
#include "LogCapture.h"

#include "core/ManualScheduler.h"

#include <QRegularExpression>
#include <QStringList>

#include <map>
#include <memory>
#include <set>

namespace vesk::test {

// A window manager that records every call and moves the windows of a small
// table of visible windows the way the system would: a frame write moves a
// visible window (unless it snaps back), hiding and closing take it off the
// screen.
class RecordingWindowManager final : public AXWindowManaging {
public:
    std::map<QString, Rect>* visible = nullptr;
    // Windows of hidden applications; raising an application shows them again.
    std::map<QString, Rect> hidden;
    QStringList calls;
    std::set<QString> snapsBack;
    std::set<QString> fullScreen;
    bool closes = true;

    bool setFrame(const QString& bundleID, const Rect& frame) override
    {
        calls << QStringLiteral("setFrame %1 %2").arg(bundleID, toString(frame));
        moveIfVisible(bundleID, frame);
        return true;
    }
    bool setPosition(const QString& bundleID, const Rect& frame) override
    {
        calls << QStringLiteral("setPosition %1 %2").arg(bundleID, toString(frame.origin()));
        // The window keeps its size; its top-left corner goes to the frame's.
        const auto shown = visible->find(bundleID);
        const auto off = hidden.find(bundleID);
        const Size size = shown != visible->end() ? shown->second.size()
                          : off != hidden.end()   ? off->second.size()
                                                  : frame.size();
        moveIfVisible(bundleID, Rect{frame.x, frame.maxY() - size.height, size.width, size.height});
        return true;
    }
    bool raise(const QString& bundleID) override
    {
        calls << QStringLiteral("raise ") + bundleID;
        if (const auto window = hidden.find(bundleID); window != hidden.end()) {
            (*visible)[bundleID] = window->second;
            hidden.erase(window);
        }
        return true;
    }
    bool setMinimized(const QString& bundleID, bool minimized) override
    {
        calls << QStringLiteral("setMinimized %1 %2").arg(bundleID).arg(minimized);
        return true;
    }
    WindowCounts minimizedWindowCounts(const QString&) override { return {}; }
    bool hide(const QString& bundleID) override
    {
        calls << QStringLiteral("hide ") + bundleID;
        if (const auto window = visible->find(bundleID); window != visible->end()) {
            hidden[bundleID] = window->second;
            visible->erase(window);
        }
        return true;
    }
    bool closeWindow(const QString& bundleID, std::optional<Point> point) override
    {
        calls << QStringLiteral("closeWindow %1 %2").arg(bundleID, point ? toString(*point) : QStringLiteral("nil"));
        if (closes)
            visible->erase(bundleID);
        return closes;
    }
    bool isFullScreen(const QString& bundleID) override { return fullScreen.contains(bundleID); }
    bool exitFullScreen(const QString& bundleID) override
    {
        calls << QStringLiteral("exitFullScreen ") + bundleID;
        fullScreen.erase(bundleID);
        return true;
    }

    // The calls of one kind ("setFrame com.a"), in order.
    QStringList callsStartingWith(const QString& prefix) const
    {
        return calls.filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
    }

private:
    void moveIfVisible(const QString& bundleID, const Rect& frame)
    {
        if (snapsBack.contains(bundleID))
            return;
        if (const auto window = visible->find(bundleID); window != visible->end())
            window->second = frame;
        else if (const auto off = hidden.find(bundleID); off != hidden.end())
            off->second = frame;
    }
};

// The stage on two displays side by side in virtual time: the primary
// 1440 × 900 (display 1, stage area (190, 80, 1220, 740)) and a 1920 × 1080
// one to its right (display 2, stage area (1630, 80, 1700, 920)).
class StageServiceScene {
public:
    static constexpr StageVeskScreenID first{1};
    static constexpr StageVeskScreenID second{2};

    ManualScheduler scheduler;
    FixedScreens screens;
    std::map<QString, Rect> visible;
    std::map<QString, AllowedWindowSpaceState> spaces;
    std::vector<AllowedWindowSnapshot> snapshots;
    bool trusted = true;
    std::shared_ptr<RecordingWindowManager> windowManager = std::make_shared<RecordingWindowManager>();
    LogCapture logs;
    std::unique_ptr<StageVeskService> service;
    QStringList fullyClosed;

    explicit StageServiceScene(bool twoDisplays = true)
    {
        screens.add(1, QRectF(0, 0, 1440, 900));
        if (twoDisplays)
            screens.add(2, QRectF(1440, 0, 1920, 1080));
        screens.main = screens.list.front();
        windowManager->visible = &visible;
        service = std::make_unique<StageVeskService>(
            windowManager, [this](const std::set<QString>& ids) { return visibleRects(ids); },
            [this](const QString& id) { return classify(id); },
            StageVeskServiceEnvironment{scheduler, scheduler, screens, [this] { return trusted; },
                                        [this] { return snapshots; }});
        service->setOnAppFullyClosed([this](const QString& id) { fullyClosed << id; });
    }

    std::map<QString, Rect> visibleRects(const std::set<QString>& ids) const
    {
        std::map<QString, Rect> result;
        for (const auto& [id, rect] : visible) {
            if (ids.contains(id))
                result[id] = rect;
        }
        return result;
    }

    AllowedWindowSpaceClassification classify(const QString& id) const
    {
        AllowedWindowSpaceClassification classification;
        classification.bundleID = id;
        const auto state = spaces.find(id);
        classification.state = state != spaces.end()  ? state->second
                               : visible.contains(id) ? AllowedWindowSpaceState::onActiveSpace
                                                      : AllowedWindowSpaceState::noWindows;
        return classification;
    }

    // Lets virtual time pass in burst-sized steps.
    void runFor(double seconds)
    {
        for (double passed = 0; passed < seconds - 1e-9; passed += 0.05)
            scheduler.advance(0.05);
    }

    QStringList stageLog() const { return logs.messages(QStringLiteral("StageVeskService")); }
    int logCount(const QString& fragment) const { return stageLog().filter(fragment).size(); }
    const StageVeskAppState& app(const QString& id) const { return service->state().apps.at(id); }
};

} // namespace vesk::test
