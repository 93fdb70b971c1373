#include "app/SettingsView.h"

#include "QtPrinters.h"
#include "app/ScreenFunctionTogglesView.h"
#include "app/ScreensSettingsView.h"
#include "core/AppVersion.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "feedback/BugReportView.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "settings/ScreenFunctionToggleSource.h"
#include "settings/VeskDefaultsStore.h"
#include "ui/AppliedApplicationLook.h"
#include "ui/ToggleSwitch.h"
#include "ui/VeskTheme.h"
#include "update/SoftwareUpdateControlling.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

class RecordingUpdates final : public SoftwareUpdateControlling {
public:
    bool canCheckForUpdates() const override { return canCheck; }
    void setCanCheckForUpdatesChangedHandler(std::function<void(bool)>) override { }
    void checkForUpdates() override { ++checks; }
    void setAutomaticallyChecksForUpdates(bool) override { ADD_FAILURE() << "the window never sets this"; }
    void setAutomaticallyDownloadsUpdates(bool) override { ADD_FAILURE() << "the window never sets this"; }

    bool canCheck = true;
    int checks = 0;
};

platform::DisplaySpec display(quint32 id, double x, const QString& name)
{
    platform::DisplaySpec spec;
    spec.displayID = id;
    spec.bounds = QRectF(x, 0, 1440, 900);
    spec.name = name;
    return spec;
}

// The settings window's view over a settings store in a fresh defaults
// folder, on a desktop with a built-in display (1, the main one) and an
// external one (2, "DELL U2720Q").
class SettingsViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::DesktopScenario scenario;
        scenario.displays = {display(1, 0, QStringLiteral("Built-in Display")),
                             display(2, 1440, QStringLiteral("DELL U2720Q"))};
        ASSERT_TRUE(desktop_.applyScenario(scenario).isEmpty());
    }

    std::unique_ptr<SettingsView> makeView(std::optional<QUrl> privacy = QUrl("https://vesk.example/vesk-privacy"))
    {
        const platform::PlatformInterfaces& platform = interfaces_;
        return std::make_unique<SettingsView>(SettingsView::Services{
            store_,
            updates_,
            {network_, scheduler_, scheduler_, platform.workspace, platform.screens},
            std::move(privacy),
        });
    }

    // What a new process would read: the defaults folder as it is on disk now.
    std::optional<QVariant> storedValue(const QString& key) const
    {
        return UserDefaults(QString::fromUtf8(UserDefaults::standardSuiteName), directory_.filePath("defaults"))
            .object(key);
    }

    template <typename Control>
    static Control* control(const SettingsView& view, const QString& key)
    {
        auto* found = view.findChild<Control*>(key);
        EXPECT_NE(found, nullptr) << key.toStdString();
        return found;
    }

    static void choose(QComboBox* picker, const QString& text)
    {
        const int row = picker->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        picker->setCurrentIndex(row);
        emit picker->activated(row);
    }

    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    platform::PlatformInterfaces interfaces_ = desktop_.interfaces();
    UserDefaults defaults_{QString::fromUtf8(UserDefaults::standardSuiteName), directory_.filePath("defaults")};
    VeskDefaultsStore store_{defaults_, [] { return QStringList{QStringLiteral("de-DE")}; }};
    RecordingUpdates updates_;
    QNetworkAccessManager network_;
};

struct ToggleCase {
    const char* key;
    bool initial;
};

class SettingsViewToggleTest : public SettingsViewTest, public ::testing::WithParamInterface<ToggleCase> { };

// Each switch shows the stored default and writes the opposite to disk the
// moment it is clicked, and back again.
TEST_P(SettingsViewToggleTest, EachSwitchWritesItsKeyAtOnce)
{
    const auto view = makeView();
    const QString key = QString::fromLatin1(GetParam().key);
    ToggleSwitch* toggle = control<ToggleSwitch>(*view, key);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->isChecked(), GetParam().initial);

    toggle->click();
    EXPECT_EQ(storedValue(key).value_or(QVariant()).toBool(), !GetParam().initial);
    EXPECT_EQ(store_.property(key.mid(5).toLatin1()).toBool(), !GetParam().initial);

    toggle->click();
    EXPECT_EQ(storedValue(key).value_or(QVariant()).toBool(), GetParam().initial);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsViewToggleTest,
    ::testing::Values(ToggleCase{"vesk.defaultHardcoreOn", false}, ToggleCase{"vesk.autoCheckForUpdates", true},
                      ToggleCase{"vesk.autoInstallUpdates", false}, ToggleCase{"vesk.reducedMotion", false},
                      ToggleCase{"vesk.soundEnabled", false}, ToggleCase{"vesk.analyticsEnabled", true}),
    [](const ::testing::TestParamInfo<ToggleCase>& testCase) {
        return QString::fromLatin1(testCase.param.key).mid(5).toStdString();
    });

TEST_F(SettingsViewTest, PickersListTheirRowsAndWriteTheChosenValueAtOnce)
{
    const auto view = makeView();
    QComboBox* language = control<QComboBox>(*view, "vesk.language");
    QComboBox* duration = control<QComboBox>(*view, "vesk.defaultDurationSeconds");
    QComboBox* aging = control<QComboBox>(*view, "vesk.stageVeskAgingMinutes");
    ASSERT_TRUE(language && duration && aging);

    auto rows = [](QComboBox* picker) {
        QStringList texts;
        for (int row = 0; row < picker->count(); ++row)
            texts.append(picker->itemText(row));
        return texts;
    };
    EXPECT_EQ(rows(language),
              QStringList({"System (Standard)", "Deutsch", "English", "Italiano", "Français", "Español"}));
    EXPECT_EQ(rows(duration), QStringList({"15 Min", "30 Min", "60 Min", "120 Min", "Unbegrenzt"}));
    EXPECT_EQ(rows(aging), QStringList({"3 Min", "5 Min", "10 Min", "15 Min"}));
    EXPECT_EQ(language->currentText(), "System (Standard)");
    EXPECT_EQ(duration->currentText(), "15 Min");
    EXPECT_EQ(aging->currentText(), "5 Min");

    choose(language, "English");
    EXPECT_EQ(storedValue("vesk.language"), QVariant("en"));
    choose(language, "System (Standard)");
    EXPECT_EQ(storedValue("vesk.language"), QVariant("system"));

    choose(duration, "Unbegrenzt");
    EXPECT_EQ(storedValue("vesk.defaultDurationSeconds").value_or(QVariant()).toLongLong(), 0);
    choose(aging, "15 Min");
    EXPECT_EQ(storedValue("vesk.stageVeskAgingMinutes").value_or(QVariant()).toLongLong(), 15);

    // After a restart the unlimited default is still chosen, not the fallback.
    UserDefaults relaunched(QString::fromUtf8(UserDefaults::standardSuiteName), directory_.filePath("defaults"));
    VeskDefaultsStore relaunchedStore(relaunched);
    EXPECT_EQ(relaunchedStore.defaultDurationSeconds(), 0);
    EXPECT_EQ(relaunchedStore.stageVeskAgingMinutes(), 15);
}

TEST_F(SettingsViewTest, ControlsFollowChangesMadeElsewhere)
{
    const auto view = makeView();
    store_.setDefaultDurationSeconds(3600);
    store_.setStageVeskAgingMinutes(10);
    store_.setLanguage(VeskLanguage::french);
    store_.setSoundEnabled(true);
    EXPECT_EQ(control<QComboBox>(*view, "vesk.defaultDurationSeconds")->currentText(), "60 Min");
    EXPECT_EQ(control<QComboBox>(*view, "vesk.stageVeskAgingMinutes")->currentText(), "10 Min");
    EXPECT_EQ(control<QComboBox>(*view, "vesk.language")->currentText(), "Français");
    EXPECT_TRUE(control<ToggleSwitch>(*view, "vesk.soundEnabled")->isChecked());
}

TEST_F(SettingsViewTest, CheckNowFollowsWhetherTheUpdaterCanCheck)
{
    updates_.canCheck = false;
    const auto view = makeView();
    QPushButton* checkNow = control<QPushButton>(*view, "checkForUpdates");
    ASSERT_NE(checkNow, nullptr);
    EXPECT_EQ(checkNow->text(), "Jetzt suchen");
    EXPECT_FALSE(checkNow->isEnabled());
    checkNow->click();
    EXPECT_EQ(updates_.checks, 0);

    updates_.canCheck = true;
    view->refreshUpdateButton();
    EXPECT_TRUE(checkNow->isEnabled());
    checkNow->click();
    EXPECT_EQ(updates_.checks, 1);
}

TEST_F(SettingsViewTest, TheFeedbackTabOpensTheBugReportSheetAndItsCloseActionClosesIt)
{
    const auto view = makeView();
    view->show();
    control<QPushButton>(*view, "reportProblem")->click();
    EXPECT_TRUE(view->isBugReportPresented());
    ASSERT_NE(view->bugReportSheet(), nullptr);
    auto* form = view->bugReportSheet()->findChild<BugReportView*>();
    ASSERT_NE(form, nullptr);

    // The form's own cancel button is its close action.
    QPushButton* cancel = nullptr;
    for (QPushButton* button : form->findChildren<QPushButton*>()) {
        if (button->text() == "Abbrechen")
            cancel = button;
    }
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    EXPECT_FALSE(view->isBugReportPresented());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(view->bugReportSheet(), nullptr);

    // Opened again: a fresh form.
    control<QPushButton>(*view, "reportProblem")->click();
    EXPECT_NE(view->bugReportSheet(), nullptr);
}

TEST_F(SettingsViewTest, ThePrivacyLinkOpensThePolicyAndIsAbsentWithoutAValidAddress)
{
    const auto view = makeView();
    auto* link = view->findChild<QPushButton*>("privacyPolicy");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), "Datenschutz");
    link->click();
    EXPECT_EQ(desktop_.workspace().openedURLs(), QList<QUrl>{QUrl("https://vesk.example/vesk-privacy")});

    for (const std::optional<QUrl>& address : {std::optional<QUrl>(), std::optional<QUrl>(QUrl("http://[::1"))}) {
        const auto without = makeView(address);
        EXPECT_EQ(without->findChild<QPushButton*>("privacyPolicy"), nullptr);
        // The rest of the page is there.
        EXPECT_NE(without->findChild<QPushButton*>("reportProblem"), nullptr);
        EXPECT_NE(without->findChild<ToggleSwitch*>("vesk.analyticsEnabled"), nullptr);
    }
}

TEST_F(SettingsViewTest, ARelabelKeepsTheTabAndTheBindings)
{
    const auto view = makeView();
    EXPECT_EQ(view->tabTitles(),
              QStringList({"Allgemein", "Darstellung", "Stage Vesk", "Bildschirme", "Sound", "Feedback"}));
    view->showTab(4);
    view->setLocalizer(Localizer(QLocale(QLocale::English)));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(view->currentTab(), 4);
    EXPECT_EQ(view->findChildren<ToggleSwitch*>("vesk.soundEnabled").size(), 1) << "the old pages are gone";
    control<ToggleSwitch>(*view, "vesk.soundEnabled")->click();
    EXPECT_EQ(storedValue("vesk.soundEnabled"), QVariant(true));
}

// The screens page over the same store the stage's own source reads.
TEST_F(SettingsViewTest, TheScreensPageListsEachDisplayWithItsDefaultsAndSharesTheStagesState)
{
    const auto view = makeView();
    ScreenFunctionTogglesView* page = view->screensPage()->toggles();
    EXPECT_EQ(page->sectionHeaders(), QStringList({"Hauptbildschirm", "DELL U2720Q"}));
    for (const VeskScreenFunction function : EnumCases<VeskScreenFunction>::values)
        EXPECT_TRUE(page->toggle(1, function)->isChecked()) << toRaw(function).toStdString();
    EXPECT_TRUE(page->toggle(2, VeskScreenFunction::appsBar)->isChecked());
    EXPECT_FALSE(page->toggle(2, VeskScreenFunction::targetMode)->isChecked());
    EXPECT_FALSE(page->toggle(2, VeskScreenFunction::controlBar)->isChecked());

    const ScreenFunctionToggleSource stageSource(store_, {});
    const std::vector<ScreenFunctionToggleSource::Screen> screens =
        ScreenFunctionToggleSource::listScreens(interfaces_.screens);
    ASSERT_EQ(screens.size(), 2U);
    const ScreenFunctionToggleSource::Screen external = screens[1];
    const ScreenFunctionToggleSource::Screen builtIn = screens[0];

    page->toggle(2, VeskScreenFunction::targetMode)->click();
    EXPECT_TRUE(stageSource.isEnabled(VeskScreenFunction::targetMode, external));
    EXPECT_EQ(storedValue("vesk.screenFunctionOverrides").value_or(QVariant()).toStringList(),
              QStringList{"2:targetMode"});
    page->toggle(1, VeskScreenFunction::appsBar)->click();
    EXPECT_FALSE(stageSource.isEnabled(VeskScreenFunction::appsBar, builtIn));

    // Back to the defaults: nothing is stored any more.
    page->toggle(2, VeskScreenFunction::targetMode)->click();
    page->toggle(1, VeskScreenFunction::appsBar)->click();
    EXPECT_EQ(storedValue("vesk.screenFunctionOverrides").value_or(QVariant()).toStringList(), QStringList());

    // The stage's panel writes; the page follows.
    stageSource.setEnabled(false, VeskScreenFunction::appsBar, external);
    EXPECT_FALSE(page->toggle(2, VeskScreenFunction::appsBar)->isChecked());
}

TEST_F(SettingsViewTest, AScreenWithoutNumberIsListedAsZeroAndAPluggedDisplayAppearsOnShow)
{
    desktop_.removeDisplay(1);
    ScreenFunctionTogglesView page(ScreenFunctionToggleSource(store_, {}), interfaces_.screens);
    EXPECT_EQ(page.sectionHeaders(), QStringList({"Hauptbildschirm"}));

    platform::DisplaySpec unnumbered = display(0, 1440, QStringLiteral("Projector"));
    unnumbered.displayID.reset();
    desktop_.addDisplay(unnumbered);
    page.show();
    EXPECT_EQ(page.sectionHeaders(), QStringList({"Hauptbildschirm", "Projector"}));
    ASSERT_NE(page.toggle(0, VeskScreenFunction::controlBar), nullptr);
    page.toggle(0, VeskScreenFunction::controlBar)->click();
    EXPECT_TRUE(store_.screenFunctionOverrides().contains("0:controlBar"));
}

TEST_F(SettingsViewTest, RendersTheSixTabs)
{
    // As Vesk shows them: with the application's look.
    const test::AppliedApplicationLook look;
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    setMainBundleInfoDictionary({{"CFBundleShortVersionString", "1.4.2"}, {"CFBundleVersion", "142"}});
    const auto view = makeView();
    setMainBundleInfoDictionary({});
    view->show();
    const QStringList names{"allgemein", "darstellung", "stage-vesk", "bildschirme", "sound", "feedback"};
    for (int tab = 0; tab < names.size(); ++tab) {
        view->showTab(tab);
        const QImage image = view->grab().toImage();
        EXPECT_EQ(image.size(), SettingsView::tabViewSize);
        EXPECT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/settings-%1.png").arg(names[tab])));
    }
}

TEST_F(SettingsViewTest, RendersTheSixTabsInEveryLanguage)
{
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    const auto view = makeView();
    view->show();
    for (const char* code : {"en", "it", "fr", "es"}) {
        view->setLocalizer(Localizer(QLocale(QString::fromLatin1(code))));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(view->tabTitles().contains("Allgemein")) << code;
        for (int tab = 0; tab < 6; ++tab) {
            view->showTab(tab);
            EXPECT_TRUE(view->grab().save(QStringLiteral(VESK_GALLERY_DIR "/settings-%1-%2.png").arg(code).arg(tab)));
        }
    }
}

// The language picker's open list, the toolkit's window, in Vesk's dark look
// with the chosen row in the sand selection.
TEST_F(SettingsViewTest, APickersOpenListIsDark)
{
    const test::AppliedApplicationLook look;
    const VeskTheme& theme = VeskTheme::shared();
    const auto view = makeView();
    view->show();
    QComboBox* language = control<QComboBox>(*view, "vesk.language");
    ASSERT_NE(language, nullptr);
    language->showPopup();
    QWidget* list = language->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    const QImage image = list->grab().toImage();
    EXPECT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/settings-language-list.png")));

    // Rows as the list shows them, at the right edge, clear of their texts.
    auto rowY = [&](int row) {
        const QRect shown = language->view()->visualRect(language->model()->index(row, 0));
        return language->view()->viewport()->mapTo(list, shown.center()).y();
    };
    EXPECT_EQ(image.pixelColor(image.width() - 8, rowY(language->count() - 1)), theme.panelTop);
    EXPECT_EQ(image.pixelColor(image.width() - 8, rowY(language->currentIndex())), theme.accent) << "the chosen row";
    language->hidePopup();
}

} // namespace
