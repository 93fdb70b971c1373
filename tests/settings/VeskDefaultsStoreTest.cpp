#include "settings/VeskDefaultsStore.h"

#include "LogCapture.h"

#include <QFile>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk;
using Style = VeskDefaultsStore::WormveskStylePreference;

namespace {

class VeskDefaultsStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<VeskDefaultsStore> makeStore(QStringList preferred = {"de-CH", "en-US"})
    {
        return std::make_unique<VeskDefaultsStore>(*defaults, [preferred] { return preferred; });
    }

    // A new process: a fresh domain object over the same files.
    void relaunch()
    {
        defaults.reset();
        defaults = std::make_unique<UserDefaults>(UserDefaults::standardSuiteName, root.path());
    }

    QStringList storeLog() const { return log.messages("VeskDefaultsStore"); }

    // One byte of the file goes bad, as on a failing disk.
    static void spoilOneByte(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
        ASSERT_TRUE(file.seek(0));
        ASSERT_TRUE(file.putChar('\xff'));
    }

    QTemporaryDir root;
    std::unique_ptr<UserDefaults> defaults =
        std::make_unique<UserDefaults>(UserDefaults::standardSuiteName, root.path());
    test::LogCapture log;
};

} // namespace

TEST_F(VeskDefaultsStoreTest, AnEmptyDomainReadsEveryDefaultAndWritesOnlyTheSoundMigration)
{
    const auto store = makeStore();
    EXPECT_EQ(store->defaultDurationSeconds(), 900);
    EXPECT_FALSE(store->defaultHardcoreOn());
    EXPECT_EQ(store->language(), VeskLanguage::system);
    EXPECT_FALSE(store->soundEnabled());
    EXPECT_FALSE(store->reducedMotion());
    EXPECT_EQ(store->wormveskStyle(), Style::system);
    EXPECT_EQ(store->stageVeskAgingMinutes(), 5);
    EXPECT_TRUE(store->screenFunctionOverrides().empty());
    EXPECT_TRUE(store->analyticsEnabled());
    EXPECT_FALSE(store->analyticsNoticeShown());
    EXPECT_TRUE(store->autoCheckForUpdates());
    EXPECT_FALSE(store->autoInstallUpdates());

    EXPECT_EQ(defaults->dictionaryRepresentation(),
              (QVariantMap{{"vesk.soundEnabled", false}, {"vesk.soundDefaultMigratedV1", true}}));
    EXPECT_TRUE(storeLog().isEmpty());
}

TEST_F(VeskDefaultsStoreTest, SoundIsSwitchedOffOnceThenTheUsersChoiceIsKept)
{
    defaults->setBool("vesk.soundEnabled", true);
    {
        const auto store = makeStore();
        EXPECT_FALSE(store->soundEnabled());
        EXPECT_FALSE(defaults->boolForKey("vesk.soundEnabled"));
        EXPECT_TRUE(defaults->boolForKey("vesk.soundDefaultMigratedV1"));
        store->setSoundEnabled(true);
    }
    relaunch();
    EXPECT_TRUE(makeStore()->soundEnabled());

    // Migrated, but the sound key itself is gone: off.
    defaults->removeObject("vesk.soundEnabled");
    EXPECT_FALSE(makeStore()->soundEnabled());
    EXPECT_FALSE(defaults->objectExists("vesk.soundEnabled"));
}

TEST_F(VeskDefaultsStoreTest, StoredValuesAndTheirFallbacks)
{
    struct Case {
        const char* key;
        QVariant stored;
        const char* property;
        QVariant expected;
    };
    const std::vector<Case> cases{
        {"vesk.defaultDurationSeconds", 1800, "defaultDurationSeconds", qint64(1800)},
        // "Unbegrenzt" stays unlimited across a relaunch.
        {"vesk.defaultDurationSeconds", 0, "defaultDurationSeconds", qint64(0)},
        {"vesk.defaultDurationSeconds", -30, "defaultDurationSeconds", qint64(900)},
        {"vesk.defaultDurationSeconds", "soon", "defaultDurationSeconds", qint64(900)},
        // A value of another type is no duration, whatever it would convert to.
        {"vesk.defaultDurationSeconds", true, "defaultDurationSeconds", qint64(900)},
        {"vesk.defaultDurationSeconds", "1800", "defaultDurationSeconds", qint64(900)},
        {"vesk.defaultDurationSeconds", 90.5, "defaultDurationSeconds", qint64(900)},
        {"vesk.defaultDurationSeconds", 1800.0, "defaultDurationSeconds", qint64(1800)},
        {"vesk.stageVeskAgingMinutes", true, "stageVeskAgingMinutes", qint64(5)},
        {"vesk.stageVeskAgingMinutes", 12, "stageVeskAgingMinutes", qint64(12)},
        {"vesk.stageVeskAgingMinutes", 0, "stageVeskAgingMinutes", qint64(5)},
        {"vesk.stageVeskAgingMinutes", -1, "stageVeskAgingMinutes", qint64(5)},
        {"vesk.language", "fr", "language", QVariant::fromValue(VeskLanguage::french)},
        {"vesk.language", "ru", "language", QVariant::fromValue(VeskLanguage::system)},
        {"vesk.language", "DE", "language", QVariant::fromValue(VeskLanguage::system)},
        {"vesk.language", 3, "language", QVariant::fromValue(VeskLanguage::system)},
        {"vesk.wormveskStyle", "solar", "wormveskStyle", QVariant::fromValue(Style::solar)},
        {"vesk.wormveskStyle", "neon", "wormveskStyle", QVariant::fromValue(Style::system)},
        {"vesk.defaultHardcoreOn", true, "defaultHardcoreOn", true},
        {"vesk.reducedMotion", true, "reducedMotion", true},
        {"vesk.analyticsEnabled", false, "analyticsEnabled", false},
        {"vesk.analyticsNoticeShown", true, "analyticsNoticeShown", true},
        {"vesk.autoCheckForUpdates", false, "autoCheckForUpdates", false},
        {"vesk.autoInstallUpdates", true, "autoInstallUpdates", true},
        {"vesk.screenFunctionOverrides", QVariantList{"2:targetMode", "1:controlBar"}, "screenFunctionOverrides",
         QVariant::fromValue(std::set<QString>{"1:controlBar", "2:targetMode"})},
        {"vesk.screenFunctionOverrides", QVariantList{"2:targetMode", 7}, "screenFunctionOverrides",
         QVariant::fromValue(std::set<QString>{})},
        {"vesk.screenFunctionOverrides", "2:targetMode", "screenFunctionOverrides",
         QVariant::fromValue(std::set<QString>{})},
    };
    for (const Case& c : cases) {
        defaults->setObject(c.key, c.stored);
        const auto store = makeStore();
        EXPECT_EQ(store->property(c.property), c.expected) << c.key << " = " << c.stored.toString().toStdString();
        defaults->removeObject(c.key);
    }
}

TEST_F(VeskDefaultsStoreTest, AssignmentsWriteThroughAndNotifyOnlyOnChange)
{
    struct Case {
        const char* property;
        const char* key;
        QVariant value;
        QVariant stored;
    };
    const std::vector<Case> cases{
        {"defaultDurationSeconds", "vesk.defaultDurationSeconds", qint64(0), qint64(0)},
        {"defaultHardcoreOn", "vesk.defaultHardcoreOn", true, true},
        {"language", "vesk.language", QVariant::fromValue(VeskLanguage::italian), "it"},
        {"soundEnabled", "vesk.soundEnabled", true, true},
        {"reducedMotion", "vesk.reducedMotion", true, true},
        {"wormveskStyle", "vesk.wormveskStyle", QVariant::fromValue(Style::cosmic), "cosmic"},
        {"stageVeskAgingMinutes", "vesk.stageVeskAgingMinutes", qint64(-3), qint64(-3)},
        {"analyticsEnabled", "vesk.analyticsEnabled", false, false},
        {"analyticsNoticeShown", "vesk.analyticsNoticeShown", true, true},
        {"autoCheckForUpdates", "vesk.autoCheckForUpdates", false, false},
        {"autoInstallUpdates", "vesk.autoInstallUpdates", true, true},
        {"screenFunctionOverrides", "vesk.screenFunctionOverrides",
         QVariant::fromValue(std::set<QString>{"3:appsBar", "1:targetMode"}),
         QVariantList{"1:targetMode", "3:appsBar"}},
    };
    const auto store = makeStore();
    ASSERT_EQ(store->metaObject()->propertyCount() - store->metaObject()->propertyOffset(),
              static_cast<int>(cases.size()));
    for (const Case& c : cases) {
        const QMetaProperty property = store->metaObject()->property(store->metaObject()->indexOfProperty(c.property));
        QSignalSpy changed(store.get(), property.notifySignal());
        ASSERT_TRUE(store->setProperty(c.property, c.value)) << c.property;
        EXPECT_EQ(changed.count(), 1) << c.property;
        EXPECT_EQ(store->property(c.property), c.value) << c.property;
        EXPECT_EQ(defaults->object(c.key), c.stored) << c.property;

        // The same value again: written again, nobody notified.
        defaults->removeObject(c.key);
        store->setProperty(c.property, c.value);
        EXPECT_EQ(changed.count(), 1) << c.property;
        EXPECT_EQ(defaults->object(c.key), c.stored) << c.property;
    }
}

TEST_F(VeskDefaultsStoreTest, FourSettingsLogEveryAssignment)
{
    const auto store = makeStore({"pt-BR", "fr-FR"});
    store->setLanguage(VeskLanguage::system);
    store->setLanguage(VeskLanguage::spanish);
    store->setAnalyticsEnabled(true);
    store->setAnalyticsEnabled(false);
    store->setAutoCheckForUpdates(true);
    store->setAutoInstallUpdates(false);
    store->setSoundEnabled(true);
    store->setDefaultDurationSeconds(60);
    EXPECT_EQ(storeLog(), (QStringList{
                              "UI language changed — selected=system, resolved=fr",
                              "UI language changed — selected=es, resolved=es",
                              "Analytics preference changed — enabled=true",
                              "Analytics preference changed — enabled=false",
                              "Auto-check for updates changed — enabled=true",
                              "Auto-install updates changed — enabled=false",
                          }));
}

TEST_F(VeskDefaultsStoreTest, ScreenFunctionsFollowTheirDefaultsAndOverrides)
{
    const auto store = makeStore();
    const quint32 mainDisplay = 1;
    const quint32 secondDisplay = 2;
    for (VeskScreenFunction function : allCases<VeskScreenFunction>()) {
        EXPECT_TRUE(store->isScreenFunctionEnabled(function, mainDisplay, true)) << toRaw(function).toStdString();
        EXPECT_EQ(store->isScreenFunctionEnabled(function, secondDisplay, false),
                  function == VeskScreenFunction::appsBar)
            << toRaw(function).toStdString();
    }

    struct Step {
        bool enabled;
        VeskScreenFunction function;
        quint32 display;
        bool isMain;
        std::set<QString> overridesAfter;
    };
    const std::vector<Step> steps{
        {true, VeskScreenFunction::targetMode, secondDisplay, false, {"2:targetMode"}},
        {true, VeskScreenFunction::targetMode, secondDisplay, false, {"2:targetMode"}},
        {false, VeskScreenFunction::targetMode, mainDisplay, true, {"1:targetMode", "2:targetMode"}},
        {false, VeskScreenFunction::appsBar, secondDisplay, false, {"1:targetMode", "2:appsBar", "2:targetMode"}},
        {false, VeskScreenFunction::targetMode, secondDisplay, false, {"1:targetMode", "2:appsBar"}},
        {true, VeskScreenFunction::targetMode, mainDisplay, true, {"2:appsBar"}},
        {false, VeskScreenFunction::controlBar, secondDisplay, false, {"2:appsBar"}},
    };
    QSignalSpy changed(store.get(), &VeskDefaultsStore::screenFunctionOverridesChanged);
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        store->setScreenFunction(step.enabled, step.function, step.display, step.isMain);
        EXPECT_EQ(store->screenFunctionOverrides(), step.overridesAfter) << "step " << i;
        EXPECT_EQ(store->isScreenFunctionEnabled(step.function, step.display, step.isMain), step.enabled)
            << "step " << i;
        const QStringList written = defaults->stringArrayForKey("vesk.screenFunctionOverrides").value_or(QStringList{});
        EXPECT_EQ(std::set<QString>(written.begin(), written.end()), step.overridesAfter) << "step " << i;
        // Every call notifies, changed or not.
        EXPECT_EQ(changed.count(), static_cast<int>(i + 1));
    }
    EXPECT_FALSE(store->isScreenFunctionEnabled(VeskScreenFunction::appsBar, secondDisplay, false));
    EXPECT_EQ(VeskDefaultsStore::overrideToken(4294967295u, VeskScreenFunction::controlBar), "4294967295:controlBar");
}

TEST_F(VeskDefaultsStoreTest, SettingsSurviveARelaunch)
{
    {
        const auto store = makeStore();
        store->setDefaultDurationSeconds(0);
        store->setDefaultHardcoreOn(true);
        store->setLanguage(VeskLanguage::english);
        store->setSoundEnabled(true);
        store->setReducedMotion(true);
        store->setWormveskStyle(Style::solar);
        store->setStageVeskAgingMinutes(15);
        store->setAnalyticsEnabled(false);
        store->setAnalyticsNoticeShown(true);
        store->setAutoCheckForUpdates(false);
        store->setAutoInstallUpdates(true);
        store->setScreenFunction(true, VeskScreenFunction::controlBar, 5, false);
    }
    relaunch();
    const auto store = makeStore();
    EXPECT_EQ(store->defaultDurationSeconds(), 0);
    EXPECT_TRUE(store->defaultHardcoreOn());
    EXPECT_EQ(store->language(), VeskLanguage::english);
    EXPECT_TRUE(store->soundEnabled());
    EXPECT_TRUE(store->reducedMotion());
    EXPECT_EQ(store->wormveskStyle(), Style::solar);
    EXPECT_EQ(store->stageVeskAgingMinutes(), 15);
    EXPECT_FALSE(store->analyticsEnabled());
    EXPECT_TRUE(store->analyticsNoticeShown());
    EXPECT_FALSE(store->autoCheckForUpdates());
    EXPECT_TRUE(store->autoInstallUpdates());
    EXPECT_TRUE(store->isScreenFunctionEnabled(VeskScreenFunction::controlBar, 5, false));
}

TEST_F(VeskDefaultsStoreTest, AnotherInstanceSeesAChangeOnlyWhenBuiltAgain)
{
    const auto first = makeStore();
    const auto second = makeStore();
    first->setReducedMotion(true);
    EXPECT_FALSE(second->reducedMotion());
    EXPECT_TRUE(makeStore()->reducedMotion());
}

TEST_F(VeskDefaultsStoreTest, ABadByteInTheSettingsFileKeepsEverySettingFromTheLastGoodCopy)
{
    {
        const auto store = makeStore();
        store->setAnalyticsEnabled(false);
        store->setLanguage(VeskLanguage::french);
        store->setDefaultDurationSeconds(1800);
    }
    spoilOneByte(defaults->filePath());
    relaunch();

    const auto store = makeStore();
    EXPECT_FALSE(store->analyticsEnabled());
    EXPECT_EQ(store->language(), VeskLanguage::french);
    EXPECT_EQ(store->defaultDurationSeconds(), 1800);
}

TEST_F(VeskDefaultsStoreTest, SettingsThatCannotBeReadAtAllNeverSwitchAnalyticsOn)
{
    makeStore()->setAnalyticsEnabled(false);
    spoilOneByte(defaults->filePath());
    spoilOneByte(UserDefaults::lastGoodCopyPath(defaults->filePath()));
    relaunch();
    {
        const auto store = makeStore();
        EXPECT_FALSE(store->analyticsEnabled());
        EXPECT_EQ(store->defaultDurationSeconds(), 900) << "the rest starts from the defaults";
        const QStringList lines = storeLog().filter("Settings could not be read");
        ASSERT_EQ(lines.size(), 1) << storeLog().join('\n').toStdString();
        EXPECT_TRUE(lines.at(0).startsWith("Settings could not be read; analytics stay off until switched on — "
                                           "reason=not valid JSON"))
            << lines.at(0).toStdString();
    }
    // The next launch reads the settings again, and analytics are still off
    // until the user switches them on.
    relaunch();
    EXPECT_FALSE(makeStore()->analyticsEnabled());
    makeStore()->setAnalyticsEnabled(true);
    relaunch();
    EXPECT_TRUE(makeStore()->analyticsEnabled());
}
