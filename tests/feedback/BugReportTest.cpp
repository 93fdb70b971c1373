#include "feedback/BugReport.h"

#include "core/Clock.h"
#include "platform/ScreenProviding.h"

#include <QVariantMap>

#include <gtest/gtest.h>

namespace vesk {
namespace {

BugReport reportWith(QString title, QString description, std::optional<QString> contact = std::nullopt)
{
    BugReport report;
    report.title = std::move(title);
    report.description = std::move(description);
    report.contactEmail = std::move(contact);
    report.metadata = {QStringLiteral("1.2"), QStringLiteral("45"), QStringLiteral("Debian GNU/Linux 12"), 3,
                       QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9, 640), Qt::UTC)};
    return report;
}

TEST(BugReportCategoryTest, RawValuesAreLowerCaseAndLabelsAreShown)
{
    EXPECT_EQ(bugReportCategoryFromRaw("bug"), BugReportCategory::bug);
    EXPECT_EQ(bugReportCategoryFromRaw("feedback"), BugReportCategory::feedback);
    EXPECT_EQ(bugReportCategoryFromRaw("idea"), BugReportCategory::idea);
    EXPECT_EQ(bugReportCategoryFromRaw("Bug"), std::nullopt);
    EXPECT_EQ(bugReportCategoryFromRaw(""), std::nullopt);
    EXPECT_EQ(label(BugReportCategory::idea), "Idee");
}

TEST(BugReportTest, ValidOnlyWithVisibleTitleAndDescription)
{
    struct Case {
        const char* title;
        const char* description;
        bool valid;
    };
    for (const Case& c : {Case{"", "x", false}, Case{" \n\t", "x", false}, Case{"x", " \n ", false},
                          Case{" a ", " b ", true}, Case{"Titel", "Beschreibung", true}}) {
        EXPECT_EQ(reportWith(c.title, c.description).isValid(), c.valid) << c.title << "|" << c.description;
    }
}

TEST(BugReportTest, PlainTextBodyWithoutContactHasEightLines)
{
    BugReport report = reportWith("Titel", "  Es hakt.\nZweite Zeile \n", QStringLiteral("  \n"));
    report.category = BugReportCategory::idea;
    EXPECT_EQ(report.plainTextBody(), QStringLiteral("Es hakt.\nZweite Zeile\n\n—\nKategorie: Idee\n"
                                                     "App-Version: 1.2 (45)\nmacOS: Debian GNU/Linux 12\n"
                                                     "Monitore: 3\nZeitpunkt: 2026-03-05T14:07:09Z"));
}

TEST(BugReportTest, PlainTextBodyCarriesTheTrimmedContact)
{
    const QStringList lines = reportWith("t", "d", QStringLiteral(" a@b.de ")).plainTextBody().split('\n');
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[4], "Kontakt: a@b.de");
}

TEST(BugReportMetadataTest, MissingOrNonTextVersionsBecomeQuestionMarks)
{
    class Screens final : public platform::ScreenProviding {
    public:
        std::vector<platform::ScreenInfo> screens() const override { return {{}, {}}; }
        std::optional<platform::ScreenInfo> mainScreen() const override { return std::nullopt; }
        std::optional<QRectF> displayBounds(quint32) const override { return std::nullopt; }
    } screens;
    class FixedClock final : public Clock {
    public:
        QDateTime now() const override { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC); }
    } clock;

    const QVariantMap info{{"CFBundleShortVersionString", "1.0"}, {"CFBundleVersion", QVariantList{1}}};
    const BugReportMetadata metadata = BugReportMetadata::current(screens, clock, info);
    EXPECT_EQ(metadata.appVersion, "1.0");
    EXPECT_EQ(metadata.build, "?");
    EXPECT_EQ(metadata.monitorCount, 2);
    EXPECT_EQ(metadata.timestamp, clock.now());
    EXPECT_FALSE(metadata.osVersion.isEmpty());
}

} // namespace
} // namespace vesk
