#include "SetupModelScene.h"

#include "platform/simulated/DesktopWorkspace.h"

namespace vesk::test {
namespace {

using Phase = WormveskAnimator::Phase;

using SessionSetupModelTest = SetupModelScene;

TEST_F(SessionSetupModelTest, AStartFliesThreeAppsAndHandsTheChoicesToTheSession)
{
    model->handleAppear();
    model->setSelectedBundleIDs({editor, browser, mail});
    ASSERT_EQ(players.made.size(), 1u);
    EXPECT_TRUE(players.made[0]->isPlaying()) << "the selection loop starts";
    model->setSessionGoalText("  goal \n");
    scheduler.advance(27.24);

    std::vector<std::pair<Phase, double>> phases;
    QObject::connect(&model->animator(), &WormveskAnimator::changed, [&] {
        if (phases.empty() || phases.back().first != model->animator().phase()) {
            phases.emplace_back(model->animator().phase(), scheduler.uptime() - 27.24);
        }
    });
    model->triggerAbsorption();
    EXPECT_FALSE(model->isStartReady());
    scheduler.advance(0.5);
    model->triggerAbsorption();
    scheduler.advance(1.0);
    model->triggerAbsorption();
    scheduler.advance(5);

    ASSERT_EQ(phases.size(), 3u);
    EXPECT_NEAR(phases[1].second, 1.39, 1e-9);
    EXPECT_NEAR(phases[2].second, 1.71, 1e-9);
    ASSERT_EQ(sessions.calls.size(), 1u);
    const StartCall& call = sessions.calls[0];
    EXPECT_NEAR(call.at - 27.24, 2.76, 1e-9);
    EXPECT_EQ(call.durationSeconds, 900);
    EXPECT_EQ(call.bundleIDs, (std::set<QString>{editor, browser, mail}));
    EXPECT_EQ(call.applicationURLs,
              (std::map<QString, QUrl>{{editor, urlOf("Editor")}, {browser, urlOf("Browser")}, {mail, urlOf("Mail")}}));
    EXPECT_EQ(call.goal, std::optional<QString>("goal"));
    EXPECT_FALSE(call.hardcore);
    EXPECT_EQ(call.setupSeconds, 30);

    EXPECT_TRUE(
        messages().contains("[SessionSetupView] triggerAbsorption — apps=3 duration=900 hardcore=false style=cosmic"));
    EXPECT_EQ(countOf("[SessionSetupView] triggerAbsorption ignored — animator not idle, phase=flyers"), 1);
    EXPECT_EQ(countOf("[SessionSetupView] triggerAbsorption ignored — animator not idle, phase=charging"), 1);
    EXPECT_EQ(log.messages("SetupSoundService"),
              (QStringList{"[SetupSoundService] enabled=true", "[SetupSoundService] selection-loop started",
                           "[SetupSoundService] vesk-start playing"}));
    EXPECT_EQ(stored().goalText, std::optional<QString>("goal")) << "saved before the start";
}

TEST_F(SessionSetupModelTest, TheFlightsFollowTheScanOrderAndLeaveOutUninstalledApps)
{
    model->handleAppear();
    model->setSelectedBundleIDs({mail, gone, editor});
    model->triggerAbsorption();
    scheduler.runPending();
    std::vector<QString> flying;
    for (const auto& [id, progress] : model->animator().flyerProgress()) {
        flying.push_back(id);
    }
    EXPECT_EQ(flying, (std::vector<QString>{editor, mail}));
    // Scan order (by name): Editor, Mail; the later one starts 0.08 s later.
    EXPECT_DOUBLE_EQ(model->animator().flyerProgress().at(editor).target(), 1.0);
    EXPECT_DOUBLE_EQ(model->animator().flyerProgress().at(mail).target(), 0.0);
    scheduler.advance(3);
    ASSERT_EQ(sessions.calls.size(), 1u);
    EXPECT_EQ(sessions.calls[0].bundleIDs, (std::set<QString>{mail, gone, editor}));
    EXPECT_EQ(sessions.calls[0].applicationURLs.count(gone), 0u);
    EXPECT_EQ(sessions.calls[0].applicationURLs.size(), 2u);
}

TEST_F(SessionSetupModelTest, TheStartIsRefusedInOrder)
{
    struct Case {
        std::set<QString> selection;
        bool inputMonitoring;
        bool accessibility;
        QString warning;
    };
    const std::vector<Case> cases{
        {{}, false, false, "[SessionSetupView] triggerAbsorption ignored — no apps selected"},
        {{editor}, false, false, "[SessionSetupView] triggerAbsorption ignored — Input Monitoring missing"},
        {{editor}, true, false, "[SessionSetupView] triggerAbsorption ignored — Accessibility missing"},
    };
    for (const Case& c : cases) {
        log.clear();
        desktop.setInputMonitoringGranted(c.inputMonitoring);
        desktop.setAccessibilityTrusted(c.accessibility);
        model->handleAppear();
        model->setSelectedBundleIDs(c.selection);
        model->triggerAbsorption();
        EXPECT_TRUE(messages().contains(c.warning)) << c.warning.toStdString();
        EXPECT_EQ(model->animator().phase(), Phase::idle);
        EXPECT_FALSE(model->activeStyle().has_value());
        EXPECT_FALSE(log.contains("vesk-start playing"));
    }
    scheduler.advance(60);
    EXPECT_TRUE(sessions.calls.empty());
}

TEST_F(SessionSetupModelTest, ReducedMotionStartsTheSessionAfterTheFade)
{
    desktop.setReduceMotion(true);
    model->handleAppear();
    model->setSelectedBundleIDs({editor});
    scheduler.advance(29.08);
    model->triggerAbsorption();
    EXPECT_EQ(model->animator().phase(), Phase::warping);
    scheduler.advance(0.41);
    EXPECT_TRUE(sessions.calls.empty());
    scheduler.advance(0.01);
    ASSERT_EQ(sessions.calls.size(), 1u);
    EXPECT_EQ(sessions.calls[0].setupSeconds, 30) << "29.5 s round away from zero";
    EXPECT_TRUE(model->animator().flyerProgress().empty());
}

TEST_F(SessionSetupModelTest, SetupSecondsRoundHalvesUpAndNeverGoNegative)
{
    desktop.setReduceMotion(true);
    struct Case {
        double secondsBeforePress;
        qint64 expected;
    };
    for (const Case c : {Case{28.98, 29}, Case{29.08, 30}, Case{-100, 0}}) {
        sessions.calls.clear();
        model->handleAppear();
        model->setSelectedBundleIDs({editor});
        if (c.secondsBeforePress >= 0) {
            scheduler.advance(c.secondsBeforePress);
        } else {
            scheduler.setDate(scheduler.now().addSecs(-100)); // the clock is set backwards
        }
        model->triggerAbsorption();
        scheduler.advance(0.42);
        ASSERT_EQ(sessions.calls.size(), 1u);
        EXPECT_EQ(sessions.calls[0].setupSeconds, c.expected) << c.secondsBeforePress;
    }
}

TEST_F(SessionSetupModelTest, AStyleFixedAtThePressStaysWhileTheAppearanceChanges)
{
    model->handleAppear();
    model->setSelectedBundleIDs({editor});
    EXPECT_EQ(model->currentStyle(), WormveskStyle::cosmic);
    model->triggerAbsorption();
    desktop.setDarkAppearance(true);
    EXPECT_EQ(model->currentStyle(), WormveskStyle::cosmic);
    model->handleAppear();
    EXPECT_EQ(model->currentStyle(), WormveskStyle::solar) << "the next appearance clears the fixed style";
}

TEST_F(SessionSetupModelTest, APastedGoalIsCutAndSavedOnce)
{
    model->handleAppear();
    const QString pasted = QString("x").repeated(99) + "y";
    model->setSessionGoalText(pasted);
    EXPECT_EQ(model->sessionGoalText(), pasted.left(80));
    scheduler.advance(0.39);
    EXPECT_EQ(countOf("goal draft saved"), 0);
    scheduler.advance(0.01);
    EXPECT_EQ(countOf("[SessionSetupView] goal draft saved — hasGoal=true, count=80"), 1);
    EXPECT_EQ(stored().goalText, std::optional<QString>(pasted.left(80)));

    // Emoji sequences count as one character each and are never cut apart.
    const QString family = QString::fromUtf8("👨‍👩‍👧");
    model->setSessionGoalText(family.repeated(81));
    EXPECT_EQ(model->sessionGoalText(), family.repeated(80));
}

TEST_F(SessionSetupModelTest, TypingSavesOnceAfterTheLastKeystrokeAndSpacesAreNoGoal)
{
    struct Case {
        QStringList keystrokes;
        std::optional<QString> storedGoal;
    };
    const std::vector<Case> cases{
        {{"F", "Fo", "Foc", "Focus"}, "Focus"},
        {{" ", "  ", "  \n "}, std::nullopt},
        {{"  ship it \n"}, "ship it"},
    };
    for (const Case& c : cases) {
        model->handleAppear();
        log.clear();
        for (const QString& text : c.keystrokes) {
            model->setSessionGoalText(text);
            scheduler.advance(0.3);
        }
        scheduler.advance(0.1);
        EXPECT_EQ(countOf("goal draft saved"), 1) << c.keystrokes.join('|').toStdString();
        EXPECT_EQ(stored().goalText, c.storedGoal);
    }
}

TEST_F(SessionSetupModelTest, DisappearingSavesAGoalStillWaitingToBeSaved)
{
    model->handleAppear();
    model->setSessionGoalText("Write the report");
    scheduler.advance(0.1);
    model->handleDisappear();
    EXPECT_EQ(stored().goalText, std::optional<QString>("Write the report"));
    scheduler.advance(1);
    EXPECT_EQ(countOf("goal draft saved"), 1) << "saved once, not again when the delay would have run out";
}

TEST_F(SessionSetupModelTest, TheSelectionIsStoredAndAFailedSaveIsLogged)
{
    model->handleAppear();
    model->setSelectedBundleIDs({editor, browser});
    QStringList ids = stored().appBundleIDs;
    ids.sort();
    EXPECT_EQ(ids, (QStringList{browser, editor}));

    model->setSelectedBundleIDs({});
    EXPECT_TRUE(stored().appBundleIDs.isEmpty());
    EXPECT_TRUE(log.contains("[SetupSoundService] selection-loop fading out"));

    container->mainContext().setFaultInjector([](StoreOperation operation) -> std::optional<StoreError> {
        if (operation == StoreOperation::save) {
            return StoreError{"disk full"};
        }
        return std::nullopt;
    });
    model->setSelectedBundleIDs({mail});
    EXPECT_TRUE(messages().contains("[SessionSetupView] failed to save selection: disk full"));
}

TEST_F(SessionSetupModelTest, ReappearingKeepsSelectionAndGoalButResetsDurationAndHardcore)
{
    {
        // A selection stored earlier, naming an application no longer installed.
        auto record = CurrentAllowlist::fetchOrCreate(container->mainContext(), scheduler);
        record->setApps({gone, editor}, scheduler);
        record->setGoal(QString("Stored goal"), scheduler);
        ASSERT_TRUE(container->mainContext().save().ok());
    }
    settings.setDefaultDurationSeconds(3600);
    settings.setDefaultHardcoreOn(true);
    model->handleAppear();
    EXPECT_EQ(model->selectedBundleIDs(), (std::set<QString>{gone, editor}));
    EXPECT_EQ(model->sessionGoalText(), "Stored goal");
    ASSERT_EQ(model->selectedApps().size(), 1u);
    EXPECT_EQ(model->selectedApps()[0].id, editor);

    model->setSelectedBundleIDs({browser});
    model->setSessionGoalText("New goal");
    model->setSessionDuration(900);
    model->setSessionHardcore(false);
    model->handleDisappear();
    model->handleAppear();
    EXPECT_EQ(model->selectedBundleIDs(), std::set<QString>{browser});
    EXPECT_EQ(model->sessionGoalText(), "New goal");
    EXPECT_EQ(model->sessionDuration(), 3600);
    EXPECT_TRUE(model->sessionHardcore());
}

TEST_F(SessionSetupModelTest, ThePermissionPollRunsAtMostThirtyRoundsAndStopsOnTheGrant)
{
    model->handleAppear();
    EXPECT_EQ(scheduler.pendingCount(), 0) << "both granted: no poll";

    desktop.setAccessibilityTrusted(false);
    log.clear();
    model->handleAppear();
    scheduler.advance(120);
    EXPECT_EQ(countOf("Accessibility permission refreshed — reason=poll"), 30);

    log.clear();
    model->refreshAccessibilityPermission("appear");
    model->schedulePermissionPoll(30, 1.0);
    scheduler.advance(5.5);
    desktop.setAccessibilityTrusted(true);
    scheduler.advance(60);
    EXPECT_EQ(countOf("reason=poll"), 2 * 5 + 2) << "five rounds without, the sixth sees the grant";
    EXPECT_TRUE(messages().contains(
        "[SessionSetupView] Accessibility permission changed — reason=poll, granted=true, bundleID=com.vesk.app, "
        "version=1.0.0, build=1, bundleURL="
        + urlOf("Vesk").path()));
    EXPECT_TRUE(model->isStartReady() == false) << "nothing selected yet";
}

TEST_F(SessionSetupModelTest, ThePollPausesWhileTheAnimationRuns)
{
    model->handleAppear();
    model->setSelectedBundleIDs({editor});
    model->triggerAbsorption();
    desktop.setInputMonitoringGranted(false);
    log.clear();
    model->schedulePermissionPoll(30, 1.0);
    scheduler.advance(10);
    EXPECT_EQ(countOf("reason=poll"), 0);
}

TEST_F(SessionSetupModelTest, InputMonitoringFallsBackToTheProbeWhenThePreflightLags)
{
    desktop.setInputMonitoringPreflightLags(true);
    model->handleAppear();
    EXPECT_TRUE(model->hasInputMonitoringPermission());
    desktop.setInputMonitoringGranted(false);
    model->refreshInputMonitoringPermission("appear");
    EXPECT_FALSE(model->hasInputMonitoringPermission());
    EXPECT_TRUE(log.contains("[SessionSetupView] Input Monitoring permission changed — reason=appear, granted=false"));
}

TEST_F(SessionSetupModelTest, BecomingActiveRefreshesThePermissions)
{
    model->handleAppear();
    desktop.setInputMonitoringGranted(false);
    desktop.activate(desktop.ownPID(), 0);
    EXPECT_FALSE(model->hasInputMonitoringPermission());
    EXPECT_TRUE(log.contains("Input Monitoring permission changed — reason=appBecameActive, granted=false"));
    scheduler.advance(1);
    EXPECT_TRUE(log.contains("Input Monitoring permission refreshed — reason=poll"));
}

TEST_F(SessionSetupModelTest, ThePermissionButtonAsksForAccessibilityFirst)
{
    desktop.setAccessibilityTrusted(false);
    desktop.setInputMonitoringGranted(false);
    model->handleAppear();
    model->requestMissingPermissions();
    EXPECT_EQ(desktop.accessibilityPromptCount(), 1);
    EXPECT_EQ(desktop.inputMonitoringRequestCount(), 0);
    EXPECT_TRUE(messages().contains("[SessionSetupView] permission banner — requesting missing permissions + opening "
                                    "System Settings, inputMonitoring=false, accessibility=false"));

    desktop.setAccessibilityTrusted(true);
    scheduler.advance(1);
    EXPECT_TRUE(model->hasAccessibilityPermission());
    model->requestMissingPermissions();
    EXPECT_EQ(desktop.accessibilityPromptCount(), 1);
    EXPECT_EQ(desktop.inputMonitoringRequestCount(), 1);
    EXPECT_EQ(desktop.workspace().openedURLs(),
              (QList<QUrl>{QUrl("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"),
                           QUrl("x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent")}));
    EXPECT_TRUE(log.contains("reason=permissionButton"));
}

TEST_F(SessionSetupModelTest, TheRelaunchStartsANewInstanceBeforeTerminating)
{
    model->handleAppear();
    model->relaunchApp();
    EXPECT_FALSE(desktop.isOwnTerminationPending() || desktop.isOwnApplicationTerminated());
    for (int i = 0; i < 20 && !(desktop.isOwnTerminationPending() || desktop.isOwnApplicationTerminated()); ++i) {
        scheduler.advance(0.1);
        desktop.workspace().waitForCompletions();
        scheduler.runPending();
    }
    ASSERT_EQ(desktop.workspace().openRequests().size(), 1u);
    EXPECT_EQ(desktop.workspace().openRequests()[0].applicationURL, urlOf("Vesk"));
    EXPECT_TRUE(desktop.workspace().openRequests()[0].configuration.createsNewApplicationInstance);
    EXPECT_NE(desktop.runningApplication("com.vesk.app"), nullptr) << "the new instance runs";
    EXPECT_TRUE(desktop.isOwnTerminationPending() || desktop.isOwnApplicationTerminated());
}

TEST_F(SessionSetupModelTest, AFailedRelaunchIsLoggedAndTheAppRunsOn)
{
    model = makeModel("/Applications/Missing.app");
    model->handleAppear();
    model->relaunchApp();
    for (int i = 0; i < 5; ++i) {
        scheduler.advance(0.1);
        desktop.workspace().waitForCompletions();
        scheduler.runPending();
    }
    EXPECT_TRUE(log.contains("[SessionSetupView] relaunch failed: "));
    EXPECT_FALSE(desktop.isOwnTerminationPending() || desktop.isOwnApplicationTerminated());
}

TEST_F(SessionSetupModelTest, SoundFollowsTheSettingAndFadesWhenTheSessionShows)
{
    model->handleAppear();
    model->setSelectedBundleIDs({editor});
    settings.setSoundEnabled(false);
    EXPECT_FALSE(players.made[0]->isPlaying());
    settings.setSoundEnabled(true);
    model->setSelectedBundleIDs({editor, mail});
    model->handleActiveSessionShown();
    EXPECT_TRUE(log.contains("[SetupSoundService] fadeOutAll — sound3=0.6s sound1=4.0s"));
    sessions.active = true;
    model->handleDisappear();
    EXPECT_TRUE(players.made.back()->isPlaying()) << "while a session starts the sounds linger";
    sessions.active = false;
    model->handleAppear();
    model->handleDisappear();
    EXPECT_FALSE(players.made.back()->isPlaying()) << "no session: stopped at once";
}

} // namespace
} // namespace vesk::test
