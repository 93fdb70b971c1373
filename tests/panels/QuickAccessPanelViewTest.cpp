#include "PanelsFixture.h"

#include "panels/QuickAccessAppTile.h"
#include "panels/QuickAccessPanelView.h"
#include "setup/AppSearchDropdown.h"
#include "setup/AppSearchResultsView.h"
#include "ui/FilledButton.h"
#include "ui/TextLabel.h"

#include <QEnterEvent>
#include <QLineEdit>

namespace vesk::test {
namespace {

using Visibility = AllowedAppVisibility;

class QuickAccessPanelViewTest : public PanelsFixture {
protected:
    QuickAccessPanelView& makeView(const Localizer& localizer = Localizer())
    {
        view = std::make_unique<QuickAccessPanelView>(
            session, [this] { ++closes; }, installedApps(), scheduler, scheduler, localizer);
        view->show();
        return *view;
    }

    QStringList tileNames() const
    {
        QStringList names;
        for (QuickAccessAppTile* tile : view->tiles())
            names << tile->app().name;
        return names;
    }

    QuickAccessAppTile* tile(const QString& name) const
    {
        for (QuickAccessAppTile* tile : view->tiles()) {
            if (tile->app().name == name)
                return tile;
        }
        return nullptr;
    }

    static void hover(QuickAccessAppTile* tile)
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(tile, &enter);
    }

    void type(const QString& text)
    {
        QLineEdit* field = view->search()->field();
        field->setFocus();
        QTest::keyClicks(field, text);
    }

    std::unique_ptr<QuickAccessPanelView> view;
    int closes = 0;
};

TEST_F(QuickAccessPanelViewTest, ShowsEverySessionAppCountedWhetherRunningOrNot)
{
    session.setAllowlist(DynamicAllowlistState({"com.example.notes", "org.example.editor"}, {"com.example.mail"}));
    session.visibilities = {{"com.example.notes", Visibility::visible}, {"com.example.mail", Visibility::onOtherSpace}};
    QuickAccessPanelView& panel = makeView();
    EXPECT_EQ(tileNames(), QStringList({"editor", "Mail", "Notes"}));
    EXPECT_EQ(tile("editor")->app().visibility, Visibility::notRunning);
    EXPECT_EQ(panel.countText()->text(), "3 Apps im Vesk");
    EXPECT_FALSE(panel.emptyText()->isVisible());

    // The timeline picks up a new state without a signal.
    session.visibilities = {{"com.example.notes", Visibility::minimized}};
    scheduler.advance(0.5);
    EXPECT_EQ(tile("Notes")->app().visibility, Visibility::minimized);
}

TEST_F(QuickAccessPanelViewTest, AnEmptySessionSaysSo)
{
    QuickAccessPanelView& panel = makeView();
    EXPECT_TRUE(panel.tiles().empty());
    EXPECT_TRUE(panel.emptyText()->isVisible());
    EXPECT_EQ(panel.emptyText()->text(), "Keine Apps im Vesk.");
    EXPECT_EQ(panel.countText()->text(), "0 Apps im Vesk");
}

// The count takes each language's plural form.
TEST_F(QuickAccessPanelViewTest, TheCountReadsInTheLanguagesPluralForms)
{
    const struct {
        QLocale::Language language;
        QString one;
        QString two;
    } cases[] = {
        {QLocale::German, "1 Apps im Vesk", "2 Apps im Vesk"},
        {QLocale::English, "1 app in the Vesk", "2 apps in the Vesk"},
        {QLocale::French, "1 app dans le Vesk", "2 apps dans le Vesk"},
        {QLocale::Spanish, "1 app en el Vesk", "2 apps en el Vesk"},
        {QLocale::Italian, "1 app nel Vesk", "2 app nel Vesk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QLocale::languageToString(c.language).toStdString());
        session.setAllowlist(DynamicAllowlistState({"com.example.notes"}, {}));
        QuickAccessPanelView& panel = makeView(Localizer(QLocale(c.language)));
        EXPECT_EQ(panel.countText()->text(), c.one);
        session.setAllowlist(DynamicAllowlistState({"com.example.notes"}, {"com.example.mail"}));
        scheduler.advance(0.5);
        EXPECT_EQ(panel.countText()->text(), c.two);
    }
}

TEST_F(QuickAccessPanelViewTest, OnlyAnAddedAppTheSessionLetsGoCanBeRemoved)
{
    session.setAllowlist(DynamicAllowlistState({"com.example.notes"}, {"com.example.mail", "com.example.writer"}));
    session.removable = {"com.example.mail", "com.example.notes"}; // the original one is never asked about
    makeView();
    EXPECT_FALSE(tile("Notes")->canRemove());
    EXPECT_FALSE(tile("Writer")->canRemove());
    ASSERT_TRUE(tile("Mail")->canRemove());

    QuickAccessAppTile* mail = tile("Mail");
    hover(mail);
    click(mail, mail->removeButtonRect().center().toPoint());
    EXPECT_EQ(session.calls, QStringList({"removeApp(com.example.mail)"}));
    EXPECT_EQ(tileNames(), QStringList({"Notes", "Writer"}));
}

TEST_F(QuickAccessPanelViewTest, ATileOnAnotherSpaceRestoresAndAVisibleOneDoesNothing)
{
    session.setAllowlist(DynamicAllowlistState({"com.example.notes", "com.example.mail"}, {}));
    session.visibilities = {{"com.example.notes", Visibility::visible}, {"com.example.mail", Visibility::onOtherSpace}};
    makeView();
    click(tile("Notes"));
    click(tile("Mail"));
    EXPECT_EQ(session.calls, QStringList({"restoreAllowedApp(com.example.mail)"}));
}

TEST_F(QuickAccessPanelViewTest, ASearchPickAddsTheAppOnceForTheTargetScreenAndClearsTheField)
{
    session.setAllowlist(DynamicAllowlistState({"com.example.notes"}, {}));
    session.setQuickAccessTarget(StageVeskScreenID{2});
    QuickAccessPanelView& panel = makeView();

    type("e");
    // Notes is in the session already; the others with an "e" are listed.
    std::vector<QString> listed;
    for (const InstalledApp& app : panel.search()->matches())
        listed.push_back(app.name);
    EXPECT_EQ(listed, (std::vector<QString>{"Browser", "Terminal", "Writer"}));

    AppSearchResultsView* list = panel.search()->list();
    ASSERT_TRUE(list->isVisible());
    click(list, list->rowRect(2).center().toPoint());
    EXPECT_EQ(session.calls, QStringList({"addApp(com.example.writer, file:///Applications/Writer.app, 2)"}));
    EXPECT_TRUE(panel.search()->searchText().isEmpty());
    EXPECT_TRUE(panel.search()->field()->text().isEmpty());
    EXPECT_EQ(tileNames(), QStringList({"Notes", "Writer"}));
    EXPECT_EQ(panel.countText()->text(), "2 Apps im Vesk");

    type("writ");
    EXPECT_TRUE(panel.search()->matches().empty()) << "an app in the session is not offered again";
}

TEST_F(QuickAccessPanelViewTest, CloseAndDoneBothClose)
{
    QuickAccessPanelView& panel = makeView();
    EXPECT_EQ(panel.closeButton()->accessibleName(), "Panel schliessen");
    click(panel.closeButton());
    click(panel.doneButton());
    EXPECT_EQ(closes, 2);
    EXPECT_TRUE(session.calls.isEmpty());
}

TEST_F(QuickAccessPanelViewTest, RendersMixedStatesWithTheFallbackName)
{
    session.setAllowlist(DynamicAllowlistState({"com.example.notes", "com.example.mail", "org.example.editor"},
                                               {"com.example.writer", "com.example.browser"}));
    session.removable = {"com.example.writer"};
    session.visibilities = {{"com.example.notes", Visibility::visible},
                            {"com.example.mail", Visibility::onOtherSpace},
                            {"com.example.writer", Visibility::occluded},
                            {"com.example.browser", Visibility::minimized}};
    QuickAccessPanelView& panel = makeView();
    hover(tile("Writer"));
    scheduler.advance(0.2);
    render(panel, "quick-access-mixed");

    type("a");
    render(panel, "quick-access-search");
}

TEST_F(QuickAccessPanelViewTest, RendersInEveryLanguage)
{
    for (const char* code : {"en", "it", "fr", "es"}) {
        render(makeView(Localizer(QLocale(QString::fromLatin1(code)))), QStringLiteral("quick-access-%1").arg(code));
        view.reset();
    }
}

} // namespace
} // namespace vesk::test
