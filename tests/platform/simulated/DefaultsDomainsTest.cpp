#include "platform/simulated/DefaultsDomains.h"

#include "core/FileIO.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;
using namespace vesk::platform;

namespace {

const QString kDock = QStringLiteral("com.apple.dock");

class DefaultsDomainsTest : public ::testing::Test {
protected:
    void TearDown() override { setFileWriteFaultInjector({}); }

    QString file() const { return folder.filePath("desktop/defaults-domains.json"); }

    // What a desktop built now over the file would hold.
    std::map<QString, QVariantMap> stored() const
    {
        const InputFileContents contents = readInputFile(file());
        EXPECT_TRUE(contents.ok()) << contents.error.toStdString();
        return DefaultsDomains::decode(contents.data).value_or(std::map<QString, QVariantMap>{});
    }

    static DesktopScenario scenarioWithDock(const QVariantMap& dock)
    {
        DesktopScenario scenario;
        scenario.displays = {DisplaySpec{}};
        scenario.displays[0].bounds = QRectF(0, 0, 1440, 900);
        scenario.defaults[kDock] = dock;
        return scenario;
    }

    QTemporaryDir folder;
    ManualScheduler scheduler;
};

TEST_F(DefaultsDomainsTest, EveryChangeIsInTheFileWithItsType)
{
    DefaultsDomains domains;
    EXPECT_FALSE(domains.keepInFile(file()));
    domains.setValue(kDock, "autohide", true);
    domains.setValue(kDock, "autohide-delay", 1000.0);
    domains.setValue(kDock, "tilesize", qlonglong(48));
    domains.setValue("com.apple.screencapture", "location", QStringLiteral("~/Pictures"));
    domains.setValue("com.apple.screencapture", "show-thumbnail", false);
    EXPECT_TRUE(domains.remove("com.apple.screencapture", "show-thumbnail"));

    const std::map<QString, QVariantMap> expected{
        {kDock, {{"autohide", true}, {"autohide-delay", 1000.0}, {"tilesize", qlonglong(48)}}},
        {"com.apple.screencapture", {{"location", QStringLiteral("~/Pictures")}}}};
    const std::map<QString, QVariantMap> inFile = stored();
    EXPECT_EQ(inFile, expected);
    // A whole real number stays a real number, and an integer an integer.
    EXPECT_EQ(inFile.at(kDock).value("autohide-delay").typeId(), QMetaType::Double);
    EXPECT_EQ(inFile.at(kDock).value("tilesize").typeId(), QMetaType::LongLong);

    DefaultsDomains later;
    EXPECT_TRUE(later.keepInFile(file()));
    EXPECT_EQ(later.domainNames(), (QStringList{"com.apple.dock", "com.apple.screencapture"}));
    EXPECT_EQ(later.domain(kDock), expected.at(kDock));

    EXPECT_TRUE(later.removeDomain(kDock));
    EXPECT_EQ(stored().count(kDock), 0u);
}

// The next desktop over the file is the same machine: what a killed Vesk
// changed is still changed there, whatever the scenario says.
TEST_F(DefaultsDomainsTest, AScenariosDomainsAreOnlyTheFirstState)
{
    {
        SimulatedDesktop desktop(scheduler, folder.filePath("desktop"));
        EXPECT_FALSE(desktop.keepDefaultsDomainsIn(file()));
        ASSERT_TRUE(desktop.applyScenario(scenarioWithDock({{"autohide", false}})).isEmpty());
        EXPECT_EQ(stored().at(kDock), (QVariantMap{{"autohide", false}}));
        EXPECT_EQ(desktop.commandRunner()
                      .run(DesktopCommandRunner::defaultsPath, {"write", kDock, "autohide", "-bool", "true"})
                      .exitStatus,
                  0);
        desktop.crashOwnProcess();
    }
    SimulatedDesktop desktop(scheduler, folder.filePath("desktop"));
    EXPECT_TRUE(desktop.keepDefaultsDomainsIn(file()));
    ASSERT_TRUE(desktop.applyScenario(scenarioWithDock({{"autohide", false}, {"tilesize", 64}})).isEmpty());
    EXPECT_EQ(desktop.defaults().domain(kDock), (QVariantMap{{"autohide", true}}));
    EXPECT_EQ(desktop.appliedDockPreferences(), (QVariantMap{{"autohide", true}}))
        << "the running Dock started with them";
}

TEST_F(DefaultsDomainsTest, AnUnreadableFileIsMovedAsideAndTheScenarioSeedsANewOne)
{
    QDir().mkpath(folder.filePath("desktop"));
    for (const QByteArray& content :
         {QByteArray("{not json"), QByteArray(R"({"com.apple.dock": {"autohide": true}})")}) {
        SCOPED_TRACE(content.toStdString());
        QDir(folder.filePath("desktop")).removeRecursively();
        QDir().mkpath(folder.filePath("desktop"));
        ASSERT_FALSE(writeFileAtomically(file(), content));

        SimulatedDesktop desktop(scheduler, folder.filePath("desktop"));
        EXPECT_FALSE(desktop.keepDefaultsDomainsIn(file()));
        ASSERT_TRUE(desktop.applyScenario(scenarioWithDock({{"autohide", false}})).isEmpty());
        EXPECT_EQ(desktop.defaults().domain(kDock), (QVariantMap{{"autohide", false}}));
        EXPECT_EQ(stored().at(kDock), (QVariantMap{{"autohide", false}}));

        const QStringList aside =
            QDir(folder.filePath("desktop")).entryList({"defaults-domains.json.unreadable-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1);
        QFile kept(QDir(folder.filePath("desktop")).filePath(aside[0]));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), content) << "nothing is written over it";
    }
}

TEST_F(DefaultsDomainsTest, AFailedWriteKeepsTheValueAndTheNextChangeWritesEverything)
{
    DefaultsDomains domains;
    domains.keepInFile(file());
    domains.setValue(kDock, "autohide", false);

    setFileWriteFaultInjector([](const QString&) { return std::optional<QString>("No space left on device"); });
    domains.setValue(kDock, "autohide", true);
    EXPECT_EQ(domains.value(kDock, "autohide"), QVariant(true));
    EXPECT_EQ(stored().at(kDock), (QVariantMap{{"autohide", false}})) << "the file is whole, as it was";

    setFileWriteFaultInjector({});
    domains.setValue(kDock, "mcx-expose-disabled", true);
    EXPECT_EQ(stored().at(kDock), (QVariantMap{{"autohide", true}, {"mcx-expose-disabled", true}}));
}

} // namespace
