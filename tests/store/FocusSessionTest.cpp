#include "store/FocusSession.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

const QDateTime start(QDate(2026, 1, 5), QTime(9, 0, 0, 125), Qt::UTC);

} // namespace

TEST(FocusSession, NewRecordIsActiveWithoutEndOrReflection)
{
    const QUuid id = QUuid::createUuid();
    const FocusSession session =
        FocusSession::make(id, start, 1800, QString("  Write  \n"), {"a", "b", "a"}, {"a", "b", "c"});
    EXPECT_EQ(session.id, id);
    EXPECT_EQ(session.startedAt, start);
    EXPECT_EQ(session.durationSeconds, 1800);
    EXPECT_EQ(session.allowedAppBundleIDs, (QStringList{"a", "b", "a"}));
    EXPECT_EQ(session.allAllowedAppBundleIDs, (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(session.isActive);
    EXPECT_EQ(session.goalText, QString("Write"));
    EXPECT_FALSE(session.endedAt || session.endReason || session.goalStatus || session.veskHelpful || session.goalNote
                 || session.goalAnsweredAt);
    EXPECT_EQ(FocusSession::make(id, start, 0, QString(" \n "), {}, {}).goalText, std::nullopt);
}

TEST(FocusSession, ColumnsRoundTripEveryField)
{
    FocusSession session =
        FocusSession::make(QUuid::createUuid(), start, 0, QString("Ziel | \"quoted\""), {"x", "x", "y"}, {});
    session.endedAt = start.addSecs(61);
    session.isActive = false;
    session.endReason = "manualStop";
    session.goalStatus = GoalStatus::partial;
    session.veskHelpful = VeskHelpful::somewhat;
    session.goalNote = "note";
    session.goalAnsweredAt = start.addSecs(120);

    const QVariantList columns = session.toColumns();
    ASSERT_EQ(columns.size(), static_cast<qsizetype>(FocusSession::columns().size()));
    EXPECT_EQ(columns[0].toString(), session.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(columns[1].toString(), "2026-01-05T09:00:00.125Z");
    EXPECT_EQ(columns[4].toString(), R"(["x","x","y"])");
    EXPECT_EQ(columns[9].toString(), "partial");

    const StoreResult<FocusSession> decoded = FocusSession::fromColumns(columns);
    ASSERT_TRUE(decoded.ok()) << decoded.error().description.toStdString();
    EXPECT_EQ(decoded.value().toColumns(), columns);
}

TEST(FocusSession, UndecodableStoredValuesAreDataCorruption)
{
    const QVariantList good = FocusSession::make(QUuid::createUuid(), start, 900, {}, {}, {}).toColumns();
    struct Case {
        int column;
        QVariant stored;
    };
    const std::vector<Case> cases{
        {9, "maybe"},       // goalStatus
        {10, "Yes"},        // veskHelpful
        {0, "not-a-uuid"},  // id
        {1, QVariant()},    // startedAt is required
        {2, "yesterday"},   // endedAt
        {4, R"(["a", 1])"}, // a list element that is no text
        {5, "a,b"},         // not a list
    };
    for (const Case& c : cases) {
        QVariantList row = good;
        row[c.column] = c.stored;
        const StoreResult<FocusSession> decoded = FocusSession::fromColumns(row);
        ASSERT_FALSE(decoded.ok()) << c.column;
        EXPECT_TRUE(decoded.error().description.contains(FocusSession::columns()[c.column].name))
            << decoded.error().description.toStdString();
    }
}
