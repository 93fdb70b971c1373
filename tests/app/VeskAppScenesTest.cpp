#include "app/VeskApp.h"

#include "LogCapture.h"
#include "TestDesktop.h"
#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "app/SettingsWindow.h"
#include "core/AppVersion.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "settings/VeskDefaultsStore.h"
#include "update/RecordingUpdater.h"
#include "update/SoftwareUpdateService.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

class VeskAppScenesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty()); }

    // Each application has a data folder of its own: two on one folder are
    // one too many.
    std::unique_ptr<VeskApp> makeApp()
    {
        const QString store = directory_.filePath(QStringLiteral("data%1/VeskData.store").arg(appsMade_++));
        VeskAppEnvironment environment{desktop_.interfaces(),
                                       scheduler_,
                                       scheduler_,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                       store,
                                       directory_.filePath("defaults")};
        environment.makeUpdater = [this](platform::UpdateUserDriver&) {
            return std::make_unique<test::RecordingUpdater>(calls_);
        };
        auto app = std::make_unique<VeskApp>(environment);
        EXPECT_TRUE(app->isReady());
        return app;
    }

    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    test::UpdaterCalls calls_;
    int appsMade_ = 0;
};

TEST_F(VeskAppScenesTest, ShowingTheMainWindowPushesTheStoredUpdatePreferencesAndChangesFollow)
{
    const auto app = makeApp();
    // Different values for the two settings, so that each must reach its own setter.
    app->defaultsStore().setAutoCheckForUpdates(false);
    app->defaultsStore().setAutoInstallUpdates(true);
    calls_.preferences.clear();

    app->launch();
    EXPECT_EQ(calls_.preferences, (std::vector<QString>{"check=false", "download=true"}));

    calls_.preferences.clear();
    app->defaultsStore().setAutoCheckForUpdates(true);
    EXPECT_EQ(calls_.preferences, (std::vector<QString>{"check=true"}));
    app->defaultsStore().setAutoInstallUpdates(false);
    EXPECT_EQ(calls_.preferences, (std::vector<QString>{"check=true", "download=false"}));

    // Shown again: pushed again.
    calls_.preferences.clear();
    app->mainWindow()->hide();
    app->mainWindow()->show();
    EXPECT_EQ(calls_.preferences, (std::vector<QString>{"check=true", "download=false"}));
    EXPECT_EQ(calls_.built, 1) << "one update service for the application's life";
}

TEST_F(VeskAppScenesTest, TheUpdateCommandChecksAndIsDisabledWhileNoCheckIsPossible)
{
    const auto app = makeApp();
    QAction* command = app->mainWindow()->checkForUpdatesAction();
    EXPECT_EQ(command->text(), "Nach Updates suchen…");
    EXPECT_TRUE(command->isEnabled());

    test::LogCapture log;
    command->trigger();
    EXPECT_EQ(calls_.checks, 1);
    EXPECT_EQ(log.messages(QStringLiteral("SoftwareUpdateService")), QStringList{"User-initiated update check"});

    // The command follows the service's ability to check.
    ASSERT_TRUE(calls_.canCheckChanged);
    // So does the settings window's "Jetzt suchen".
    auto* checkNow = app->settingsWindow()->findChild<QPushButton*>("checkForUpdates");
    ASSERT_NE(checkNow, nullptr);
    calls_.canCheck = false;
    calls_.canCheckChanged(false);
    EXPECT_FALSE(command->isEnabled());
    EXPECT_FALSE(checkNow->isEnabled());
    calls_.canCheck = true;
    calls_.canCheckChanged(true);
    EXPECT_TRUE(command->isEnabled());
    EXPECT_TRUE(checkNow->isEnabled());
    checkNow->click();
    EXPECT_EQ(calls_.checks, 2);

    calls_.canCheck = false;
    const auto unableToCheck = makeApp();
    EXPECT_FALSE(unableToCheck->mainWindow()->checkForUpdatesAction()->isEnabled());
}

TEST_F(VeskAppScenesTest, TheLanguageSettingSetsTheLocaleOfBothWindows)
{
    const auto app = makeApp();
    app->defaultsStore().setLanguage(VeskLanguage::french);
    EXPECT_EQ(app->mainWindow()->locale().language(), QLocale::French);
    EXPECT_EQ(app->settingsWindow()->locale().language(), QLocale::French);
    app->defaultsStore().setLanguage(VeskLanguage::german);
    EXPECT_EQ(app->mainWindow()->locale().language(), QLocale::German);
}

// The user picks a language in the settings window: the setting is stored,
// and the window is labelled again in that language while the picker that
// caused it is still handling its choice.
TEST_F(VeskAppScenesTest, ALanguageChosenInTheSettingsWindowRelabelsIt)
{
    const auto app = makeApp();
    app->showSettings();
    auto* language = app->settingsWindow()->findChild<QComboBox*>("vesk.language");
    ASSERT_NE(language, nullptr);
    const int english = language->findText("English");
    language->setCurrentIndex(english);
    emit language->activated(english);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(app->defaultsStore().language(), VeskLanguage::english);
    EXPECT_EQ(app->settingsWindow()->view().localizer().locale().language(), QLocale::English);
    const auto pickers = app->settingsWindow()->findChildren<QComboBox*>("vesk.language");
    ASSERT_EQ(pickers.size(), 1) << "the old pages are gone";
    EXPECT_EQ(pickers.front()->currentText(), "English");
}

TEST_F(VeskAppScenesTest, TheMainWindowHasItsDefaultSizeAndTheVersionTextsComeFromTheBundle)
{
    platform::OwnApplicationSpec own = desktop_.ownApplication();
    own.version = QStringLiteral("2.5.0");
    own.build.reset();
    desktop_.setOwnApplication(own);
    const auto app = makeApp();
    EXPECT_EQ(app->mainWindow()->size(), QSize(MainWindow::defaultWidth, MainWindow::defaultHeight));
    EXPECT_EQ(appVersionString(), "2.5.0");
    EXPECT_EQ(appBuildString(), "?") << "a bundle without a build entry";
}

TEST_F(VeskAppScenesTest, TheApplicationMenuOpensWithTheAboutItemShowingTheVersionAndBuild)
{
    platform::OwnApplicationSpec own = desktop_.ownApplication();
    own.version = QStringLiteral("2.5.0");
    own.build = QStringLiteral("418");
    desktop_.setOwnApplication(own);
    const auto app = makeApp();

    const QMenu* applicationMenu = app->mainWindow()->menuBar()->actions().at(0)->menu();
    ASSERT_NE(applicationMenu, nullptr);
    EXPECT_EQ(applicationMenu->title(), "VESK");
    QStringList items;
    for (const QAction* action : applicationMenu->actions())
        items << (action->isSeparator() ? QStringLiteral("—") : action->text());
    EXPECT_EQ(items, (QStringList{"Über VESK", "Nach Updates suchen…", "Einstellungen…", "—", "VESK beenden"}));

    EXPECT_FALSE(app->aboutWindow()->isVisible());
    app->mainWindow()->aboutAction()->trigger();
    EXPECT_TRUE(app->aboutWindow()->isVisible());
    EXPECT_EQ(app->aboutWindow()->windowTitle(), "Über VESK");
    QStringList texts;
    for (const QLabel* label : app->aboutWindow()->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_EQ(texts, (QStringList{"VESK", "Version 2.5.0 (418)", "© 2026 VESK. Alle Rechte vorbehalten."}));
}

} // namespace

namespace {

TEST_F(VeskAppScenesTest, TheSettingsAndAboutWindowsAreListedWhileShown)
{
    auto app = makeApp();
    auto shownWindows = [this] {
        // The platform places a new window on a later turn of the event loop.
        QCoreApplication::processEvents();
        std::vector<QSizeF> sizes;
        for (const platform::OwnWindowInfo& window : desktop_.ownWindows()) {
            if (window.visible && !window.isPanel)
                sizes.push_back(window.frame.size());
        }
        return sizes;
    };
    EXPECT_TRUE(shownWindows().empty()) << "nothing is shown before the launch";

    app->showSettings();
    EXPECT_EQ(shownWindows(), std::vector<QSizeF>{QSizeF(app->settingsWindow()->frameGeometry().size())});
    app->showAbout();
    EXPECT_EQ(shownWindows().size(), 2u);
    app->settingsWindow()->hide();
    EXPECT_EQ(shownWindows(), std::vector<QSizeF>{QSizeF(app->aboutWindow()->frameGeometry().size())});

    app.reset();
    EXPECT_TRUE(desktop_.ownWindows().empty()) << "the entries go with the application";
}

} // namespace

namespace {

// Where no window manager places them they open where the main window
// stands, and Ctrl+W closes them as it closes the main window.
TEST_F(VeskAppScenesTest, SettingsAndAboutOpenInTheMiddleOfTheMainDisplayAndControlWClosesThem)
{
    const auto app = makeApp();
    app->launch();
    app->showSettings();
    app->showAbout();
    const QPoint middle = app->mainWindow()->geometry().center();
    for (QWidget* window : std::initializer_list<QWidget*>{app->settingsWindow(), app->aboutWindow()}) {
        const QPoint offset = window->geometry().center() - middle;
        // Off by no more than the frame the platform draws around a window.
        EXPECT_LE(offset.manhattanLength(), 8) << window->windowTitle().toStdString();
    }

    for (QWidget* window : std::initializer_list<QWidget*>{app->settingsWindow(), app->aboutWindow()}) {
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
    }
    EXPECT_TRUE(app->mainWindow()->isVisible());
}

TEST_F(VeskAppScenesTest, ControlCommaOpensTheSettingsFromTheMainWindow)
{
    const auto app = makeApp();
    app->launch();
    QApplication::setActiveWindow(app->mainWindow());
    QTest::keyClick(app->mainWindow(), Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_TRUE(app->settingsWindow()->isVisible());
}

} // namespace
