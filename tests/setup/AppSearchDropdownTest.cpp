#include "SetupFixture.h"

#include "setup/AppSearchDropdown.h"
#include "setup/AppSearchResultsView.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace vesk::test {
namespace {

QImage iconOf(const QColor& color)
{
    QImage icon(InstalledApp::iconSize, InstalledApp::iconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(color);
    return icon;
}

InstalledApp app(const QString& id, const QString& name, const QColor& color = QColor(90, 140, 220))
{
    return {id, name, iconOf(color), QUrl::fromLocalFile("/Applications/" + name + ".app")};
}

std::vector<QString> namesOf(const std::vector<InstalledApp>& apps)
{
    std::vector<QString> names;
    for (const InstalledApp& each : apps)
        names.push_back(each.name);
    return names;
}

// In scan order: eight names with "note" somewhere, and a few without.
const std::vector<InstalledApp> catalogue{
    app("com.example.atlas", "Atlas"),
    app("com.example.banknotes", "Banknotes", QColor(220, 160, 60)),
    app("com.example.calendar", "Calendar", QColor(230, 80, 70)),
    app("com.example.keynote", "Keynote", QColor(70, 130, 230)),
    app("com.example.notebook", "NoteBook", QColor(240, 200, 80)),
    app("com.example.notes", "Notes", QColor(250, 220, 90)),
    app("com.example.notepad", "notepad", QColor(120, 200, 120)),
    app("com.example.footnote", "Footnote", QColor(160, 110, 220)),
    app("com.example.quicknote", "Quick NOTE", QColor(90, 200, 210)),
    app("com.example.notary", "Notary", QColor(200, 120, 160)),
    app("com.example.denoter", "Denoter", QColor(140, 140, 140)),
    app("com.note.mail", "Mail", QColor(60, 150, 240)),
};

TEST(AppSearchMatching, FollowsTheSearchRules)
{
    struct Case {
        const char* what;
        QString query;
        std::set<QString> selected;
        int limit;
        std::vector<QString> expected;
    };
    const std::vector<Case> cases{
        {"spaces only match nothing", "   \n ", {}, 6, {}},
        {"empty matches nothing", "", {}, 6, {}},
        {"a limit below one matches nothing", "note", {}, 0, {}},
        {"eight matches give the first six in scan order",
         "note",
         {},
         6,
         {"Banknotes", "Keynote", "NoteBook", "Notes", "notepad", "Footnote"}},
        {"any case, anywhere in the name, padding trimmed",
         "  NoTe\t",
         {},
         12,
         {"Banknotes", "Keynote", "NoteBook", "Notes", "notepad", "Footnote", "Quick NOTE", "Denoter"}},
        {"a selected app is never listed, even on an exact name",
         "Notes",
         {"com.example.notes", "com.example.banknotes"},
         6,
         {}},
        {"selected apps make room for later ones",
         "note",
         {"com.example.banknotes", "com.example.keynote"},
         6,
         {"NoteBook", "Notes", "notepad", "Footnote", "Quick NOTE", "Denoter"}},
        {"the bundle identifier is not searched", "com", {}, 6, {}},
        {"no ranking: containing before beginning keeps scan order",
         "not",
         {},
         3,
         {"Banknotes", "Keynote", "NoteBook"}},
    };
    for (const Case& testCase : cases) {
        EXPECT_EQ(namesOf(
                      AppSearchDropdown::matchingApps(catalogue, testCase.selected, testCase.query, testCase.limit)),
                  testCase.expected)
            << testCase.what;
    }
}

// Case is compared by the rules of the current locale, not letter by letter.
TEST(AppSearchMatching, ComparesCaseByTheCurrentLocale)
{
    const std::vector<InstalledApp> names{app("com.example.planer", "Straßenplaner"),
                                          app("com.example.guide", "istanbul guide"), app("com.example.mail", "Mail")};
    const QLocale before;
    const struct {
        QLocale::Language language;
        QString query;
        std::vector<QString> expected;
    } cases[] = {
        {QLocale::German, "STRASSEN", {"Straßenplaner"}},
        {QLocale::German, "straßen", {"Straßenplaner"}},
        {QLocale::Turkish, "İSTANBUL", {"istanbul guide"}},
        {QLocale::English, "MAIL", {"Mail"}},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(c.language));
        EXPECT_EQ(namesOf(AppSearchDropdown::matchingApps(names, {}, c.query, 6)), c.expected) << c.query.toStdString();
    }
    QLocale::setDefault(before);
}

class AppSearchDropdownTest : public SetupFixture {
protected:
    // The setup card's form: a host window with the field on top and content
    // under it, which the floating list covers.
    void buildHost(bool reservesSpace, bool showsPlus = true)
    {
        host = std::make_unique<QWidget>();
        host->setAttribute(Qt::WA_StyledBackground);
        host->setStyleSheet("background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(15, 15, 18), "
                            "stop: 1 rgb(10, 10, 12));");
        host->resize(360, 420);
        auto* column = new QVBoxLayout(host.get());
        column->setContentsMargins(20, 14, 20, 10);
        column->setSpacing(10);
        dropdown = new AppSearchDropdown({showsPlus, reservesSpace}, [this](const InstalledApp& picked) {
            picks.push_back(picked.id);
            if (acceptsPicks)
                selected.insert(picked.id);
            dropdown->setSelectedIDs(selected);
        });
        dropdown->setApps(catalogue);
        column->addWidget(dropdown);
        below = new QLabel("Content under the field: the selected tiles");
        below->setAlignment(Qt::AlignCenter);
        below->setStyleSheet("color: rgb(200, 190, 180); background: rgb(60, 50, 45);");
        below->setFixedHeight(300);
        column->addWidget(below);
        column->addStretch(1);
        host->show();
        QCoreApplication::processEvents();
    }

    void type(const QString& text)
    {
        dropdown->field()->setFocus();
        QTest::keyClicks(dropdown->field(), text);
        QCoreApplication::processEvents();
    }

    void clickRow(int row)
    {
        const QPoint center = dropdown->list()->rowRect(row).center().toPoint();
        QTest::mouseClick(dropdown->list(), Qt::LeftButton, {}, center);
        QCoreApplication::processEvents();
    }

    void save(const QString& name)
    {
        QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
        EXPECT_TRUE(host->grab().save(QStringLiteral(VESK_GALLERY_DIR "/") + name));
    }

    std::unique_ptr<QWidget> host;
    AppSearchDropdown* dropdown = nullptr;
    QLabel* below = nullptr;
    std::vector<QString> picks;
    std::set<QString> selected;
    bool acceptsPicks = true;
};

TEST_F(AppSearchDropdownTest, AnyTextOpensTheListAndOnlyTextShowsTheClearButton)
{
    buildHost(false);
    EXPECT_FALSE(dropdown->isListOpen());
    EXPECT_FALSE(dropdown->list()->isVisible());
    EXPECT_FALSE(dropdown->isClearButtonShown());

    type(" ");
    EXPECT_TRUE(dropdown->isListOpen());
    EXPECT_TRUE(dropdown->list()->isVisible());
    EXPECT_TRUE(dropdown->isClearButtonShown());
    EXPECT_TRUE(dropdown->list()->rows().empty()) << "the empty-state line, not rows";

    dropdown->clear();
    EXPECT_EQ(dropdown->field()->text(), "");
    EXPECT_FALSE(dropdown->list()->isVisible());
    EXPECT_FALSE(dropdown->isClearButtonShown());
}

TEST_F(AppSearchDropdownTest, TheFloatingListLiesSixPointsUnderTheFieldOverTheContent)
{
    buildHost(false);
    const QRect contentBefore = below->geometry();
    type("note");
    ASSERT_TRUE(dropdown->list()->isVisible());
    EXPECT_EQ(dropdown->list()->rows().size(), 6u);
    EXPECT_EQ(dropdown->list()->dividerCount(), 5);
    EXPECT_EQ(dropdown->list()->parentWidget(), host.get());
    const QRect list = dropdown->list()->geometry();
    EXPECT_EQ(list.top(), dropdown->mapTo(host.get(), QPoint(0, dropdown->height())).y() + 6);
    EXPECT_EQ(list.left(), 20);
    EXPECT_EQ(list.width(), dropdown->width());
    EXPECT_EQ(below->geometry(), contentBefore) << "the floating list takes no layout space";
    EXPECT_TRUE(list.intersects(below->geometry()));
    save("search-dropdown-six-rows.png");

    dropdown->field()->clear();
    type("xyz");
    EXPECT_TRUE(dropdown->list()->rows().empty());
    save("search-dropdown-no-match.png");
}

TEST_F(AppSearchDropdownTest, TheReservedListPushesTheContentDown)
{
    buildHost(true, false);
    const int contentTop = below->geometry().top();
    type("Mail");
    ASSERT_TRUE(dropdown->list()->isVisible());
    EXPECT_EQ(dropdown->list()->parentWidget(), dropdown);
    EXPECT_EQ(below->geometry().top(), contentTop + 6 + dropdown->list()->height());
    save("search-dropdown-reserved.png");
}

TEST_F(AppSearchDropdownTest, ARowClickPicksOnceAndEmptiesTheFieldEvenWhenRefused)
{
    buildHost(false);
    QSignalSpy texts(dropdown, &AppSearchDropdown::searchTextChanged);
    type("note");
    clickRow(2);
    EXPECT_EQ(picks, std::vector<QString>{"com.example.notebook"});
    EXPECT_EQ(dropdown->searchText(), "");
    EXPECT_EQ(dropdown->field()->text(), "");
    EXPECT_FALSE(dropdown->list()->isVisible());
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.last().at(0).toString(), "");

    dropdown->field()->clear();
    type("note");
    ASSERT_EQ(dropdown->list()->rows().size(), 6u);
    EXPECT_EQ(namesOf(dropdown->list()->rows()).front(), "Banknotes");
    EXPECT_EQ(namesOf(dropdown->list()->rows()).at(2), "Notes") << "the picked app is selected now";

    acceptsPicks = false; // a full selection refuses
    clickRow(0);
    EXPECT_EQ(picks.size(), 2u);
    EXPECT_EQ(dropdown->field()->text(), "");
    EXPECT_FALSE(dropdown->list()->isVisible());
}

TEST_F(AppSearchDropdownTest, DividersSitOnlyBetweenRows)
{
    buildHost(false);
    for (const auto& [query, rows] :
         {std::pair{"Not", 6}, std::pair{"ot", 6}, std::pair{"Ban", 1}, std::pair{"a", 6}}) {
        dropdown->setSearchText(query);
        EXPECT_EQ(static_cast<int>(dropdown->list()->rows().size()), rows) << query;
        EXPECT_EQ(dropdown->list()->dividerCount(), rows - 1) << query;
    }
    dropdown->setSearchText("Cal");
    dropdown->setSelectedIDs({});
    dropdown->setApps({app("a", "Calm"), app("b", "Calc"), app("c", "Call")});
    EXPECT_EQ(dropdown->list()->rows().size(), 3u);
    EXPECT_EQ(dropdown->list()->dividerCount(), 2);
}

} // namespace
} // namespace vesk::test
