#pragma once

#include "RecordingAudioPlayer.h"
#include "SetupFixture.h"

#include "platform/PlatformInterfaces.h"
#include "platform/simulated/BundleSpec.h"
#include "setup/SessionSetupModel.h"
#include "setup/SessionStarting.h"
#include "store/CurrentAllowlist.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"

namespace vesk::test {

// One call of startSession with its six arguments.
struct StartCall {
    qint64 durationSeconds;
    std::set<QString> bundleIDs;
    std::map<QString, QUrl> applicationURLs;
    std::optional<QString> goal;
    bool hardcore;
    qint64 setupSeconds;
    double at;
};

class RecordingSessions final : public SessionStarting {
public:
    explicit RecordingSessions(const ManualScheduler& clock) : clock_(clock) { }
    bool isSessionActive() const override { return active; }
    void startSession(qint64 durationSeconds, const std::set<QString>& bundleIDs,
                      const std::map<QString, QUrl>& applicationURLs, const std::optional<QString>& goal, bool hardcore,
                      qint64 setupSeconds) override
    {
        calls.push_back({durationSeconds, bundleIDs, applicationURLs, goal, hardcore, setupSeconds, clock_.uptime()});
    }
    bool active = false;
    std::vector<StartCall> calls;

private:
    const ManualScheduler& clock_;
};

inline const QString editor = "com.example.editor";
inline const QString browser = "com.example.browser";
inline const QString mail = "com.example.mail";
inline const QString gone = "com.example.uninstalled";

// A setup model over three installed applications (and Vesk), both
// permissions granted, sound on, a store in the fixture's folder, and a
// session engine that records its starts.
class SetupModelScene : public SetupFixture {
protected:
    void SetUp() override
    {
        for (const auto& [path, id, name] : {std::tuple{"/Applications/Editor.app", editor, "Editor"},
                                             std::tuple{"/Applications/Browser.app", browser, "Browser"},
                                             std::tuple{"/Applications/Mail.app", mail, "Mail"},
                                             std::tuple{"/Applications/Vesk.app", QString("com.vesk.app"), "Vesk"}}) {
            platform::BundleSpec spec;
            spec.path = path;
            spec.bundleIdentifier = id;
            spec.name = name;
            ASSERT_TRUE(desktop.installBundle(spec));
        }
        desktop.setAccessibilityTrusted(true);
        desktop.setInputMonitoringGranted(true);
        settings.setSoundEnabled(true);
        auto opened = ModelContainer::open(storePath());
        ASSERT_TRUE(opened.ok());
        container = std::move(opened).value();
        model = makeModel();
    }

    std::unique_ptr<SessionSetupModel> makeModel(const QString& ownBundlePath = "/Applications/Vesk.app")
    {
        platform::PlatformInterfaces platform = desktop.interfaces();
        SessionSetupServices services{scheduler,
                                      scheduler,
                                      container->mainContext(),
                                      settings,
                                      reducedMotion,
                                      sessions,
                                      players,
                                      platform.files,
                                      platform.bundles,
                                      platform.permissions,
                                      platform.eventTaps,
                                      platform.workspace,
                                      platform.ownApplication,
                                      platform.applicationActivity,
                                      platform.systemInfo,
                                      desktop.urlForPlatformPath(ownBundlePath),
                                      [this] { ++settingsOpened; },
                                      [this] { ++updateChecks; }};
        return std::make_unique<SessionSetupModel>(services);
    }

    QString storePath() const { return root.filePath("VeskData.store"); }
    QUrl urlOf(const QString& name) const { return desktop.urlForPlatformPath("/Applications/" + name + ".app"); }

    // The record as the store file holds it, read through a new connection.
    CurrentAllowlist stored() const
    {
        auto opened = ModelContainer::open(storePath());
        EXPECT_TRUE(opened.ok());
        auto other = std::move(opened).value();
        return *CurrentAllowlist::fetchOrCreate(other->mainContext(), scheduler);
    }
    QStringList messages() const { return log.messages("SessionSetupView"); }
    int countOf(const QString& fragment) const { return log.count(fragment); }

    RecordingSessions sessions{scheduler};
    int settingsOpened = 0;
    int updateChecks = 0;
    RecordingAudioPlayerFactory players;
    std::unique_ptr<ModelContainer> container;
    std::unique_ptr<SessionSetupModel> model;
};

} // namespace vesk::test
