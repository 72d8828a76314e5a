#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstring>

#include "kernel/sql/HCSqlDatabase.h"
#include "kernel/sql/HCSqlQuery.h"
#include "support/TestSupport.h"

namespace {

class HCSqlQueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.open((dir.path() / "test.sqlite").string()));
        run("CREATE TABLE scores (user_id INTEGER, name TEXT, score INTEGER, ratio DOUBLE, blob BLOB)");
    }

    void run(const std::string& sql)
    {
        HCSqlQuery query(db.handle(), sql);
        ASSERT_TRUE(query.isPrepared()) << sql;
        query.execute();
        ASSERT_EQ(query.result(), 0) << sql;
    }

    int count(const std::string& where = "1")
    {
        HCSqlQuery query(db.handle(), "SELECT COUNT(*) AS n FROM scores WHERE " + where);
        return query.step() ? query.getInt("n") : -1;
    }

    testsupport::TempDir dir;
    HCSqlDatabase db;
};

}  // namespace

TEST_F(HCSqlQueryTest, BindsByNameWithOrWithoutTheColonAndStoresHostileTextVerbatim)
{
    HCSqlQuery insert(db.handle(), "INSERT INTO scores (user_id, name, score) VALUES (:user_id, :name, :score)");
    EXPECT_TRUE(insert.bind("user_id", "7"));
    EXPECT_TRUE(insert.bind(":name", std::optional<std::string>("x'); DROP TABLE scores; --")));
    EXPECT_TRUE(insert.bind("score", std::string("9007199254740993")));
    EXPECT_FALSE(insert.bind("nope", "1"));
    EXPECT_FALSE(insert.execute());
    EXPECT_EQ(insert.result(), 0);

    HCSqlQuery select(db.handle(), "SELECT * FROM scores WHERE user_id = :user_id");
    select.bind("user_id", "7");
    ASSERT_TRUE(select.step());
    EXPECT_EQ(select.result(), 100);
    EXPECT_STREQ(select.getText("name"), "x'); DROP TABLE scores; --");
    // Text bound into an INTEGER column is stored as a 64-bit integer.
    EXPECT_EQ(select.getInt64("score"), 9007199254740993LL);
    EXPECT_EQ(select.getInt("USER_ID"), 7);
    EXPECT_FALSE(select.step());
    EXPECT_TRUE(select.hasReachedEnd());
}

TEST_F(HCSqlQueryTest, NullsUnknownColumnsAndReadsOffARowGiveNothingAndBlobsKeepTheirZeros)
{
    const char payload[] = {'a', 0, 'b', '\xff', 0};
    HCSqlQuery insert(db.handle(), "INSERT INTO scores (user_id, name, ratio, blob) VALUES (1, :name, :ratio, :blob)");
    insert.bind("name", std::nullopt);
    insert.bind("ratio", nullptr);
    EXPECT_TRUE(insert.bind("blob", payload, sizeof payload));
    insert.execute();
    run("INSERT INTO scores (user_id) VALUES (2)");

    HCSqlQuery select(db.handle(), "SELECT * FROM scores ORDER BY user_id");
    EXPECT_EQ(select.getText("name"), nullptr);  // not stepped yet
    ASSERT_TRUE(select.step());
    EXPECT_EQ(select.getTextValue("name"), std::nullopt);
    EXPECT_EQ(select.getDouble("ratio"), 0.0);
    EXPECT_FALSE(select.getBool("score"));
    EXPECT_EQ(select.getText("missing"), nullptr);
    EXPECT_EQ(select.getInt64(nullptr), 0);
    const char* bytes = nullptr;
    unsigned length = 0;
    ASSERT_TRUE(select.getBlob("blob", bytes, length));
    ASSERT_EQ(length, sizeof payload);
    EXPECT_EQ(std::memcmp(bytes, payload, length), 0);
    ASSERT_TRUE(select.step());
    length = 99;
    EXPECT_FALSE(select.getBlob("blob", bytes, length));
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_FALSE(select.step());
    EXPECT_EQ(select.getInt("user_id"), 0);  // past the end

    HCSqlQuery unprepared;
    EXPECT_FALSE(unprepared.step());
    EXPECT_EQ(unprepared.result(), SQLITE_MISUSE);
    EXPECT_FALSE(unprepared.bind("x", "1"));
}

TEST_F(HCSqlQueryTest, BindingsSurviveResetQueryAndTheEndRewindsTheStatement)
{
    HCSqlQuery insert(db.handle(), "INSERT INTO scores (user_id, name) VALUES (:user_id, :name)");
    insert.bind("user_id", "3");
    insert.bind("name", "same");
    insert.execute();
    insert.resetQuery();
    insert.execute();
    // Without resetQuery the end of the statement has already rewound it.
    insert.execute();
    EXPECT_EQ(count("user_id = 3 AND name = 'same'"), 3);

    HCSqlQuery select(db.handle(), "SELECT user_id FROM scores WHERE name = :name");
    select.bind("name", "same");
    int rows = 0;
    while (select.step()) ++rows;
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(select.result(), 0);
    EXPECT_TRUE(select.step());  // rewound at the end: runs again from the first row
}

TEST_F(HCSqlQueryTest, ErrorsAreKeptAsTheSqliteCode)
{
    run("CREATE UNIQUE INDEX one_user ON scores (user_id)");
    run("INSERT INTO scores (user_id) VALUES (1)");
    HCSqlQuery duplicate(db.handle(), "INSERT INTO scores (user_id) VALUES (1)");
    EXPECT_FALSE(duplicate.execute());
    EXPECT_EQ(duplicate.result(), SQLITE_CONSTRAINT);
    EXPECT_TRUE(duplicate.hasReachedEnd());

    HCSqlQuery bad;
    EXPECT_FALSE(bad.reset(db.handle(), "SELEKT nonsense"));
    EXPECT_EQ(bad.result(), SQLITE_ERROR);
    EXPECT_FALSE(bad.execute());
    EXPECT_FALSE(bad.reset(nullptr, "SELECT 1"));
    EXPECT_FALSE(bad.reset(db.handle(), ""));
    EXPECT_TRUE(bad.reset(db.handle(), "SELECT 1 AS one"));
    EXPECT_TRUE(bad.step());
    EXPECT_EQ(bad.getInt("one"), 1);
    bad.destroyQueryNow();
    EXPECT_FALSE(bad.isPrepared());
    EXPECT_FALSE(bad.step());
}

// Two connections on one file, as the main thread and the request thread
// use the offline database: one holds a write transaction while the other
// writes.
class HCSqlQueryBusyTest : public HCSqlQueryTest {
protected:
    void SetUp() override
    {
        HCSqlQueryTest::SetUp();
        ASSERT_TRUE(other.open((dir.path() / "test.sqlite").string()));
        HCSqlQuery begin(other.handle(), "BEGIN IMMEDIATE");
        begin.execute();
        ASSERT_EQ(begin.result(), 0);
        HCSqlQuery write(other.handle(), "INSERT INTO scores (user_id) VALUES (1)");
        write.execute();
        ASSERT_EQ(write.result(), 0);
    }
    void TearDown() override { HCSqlQuery::setBusySleeper(nullptr); }

    void commitOther()
    {
        HCSqlQuery commit(other.handle(), "COMMIT");
        commit.execute();
        ASSERT_EQ(commit.result(), 0);
    }

    testsupport::ScopedManualClock clock;
    HCSqlDatabase other;
};

TEST_F(HCSqlQueryBusyTest, BusyStepWaitsOnTheClockAndSucceedsOnceTheOtherCommits)
{
    int waits = 0;
    HCSqlQuery::setBusySleeper([&](double seconds) {
        EXPECT_DOUBLE_EQ(seconds, 0.2);
        clock.advance(seconds);
        if (++waits == 3) commitOther();
    });
    double start = clock.now();
    HCSqlQuery insert(db.handle(), "INSERT INTO scores (user_id) VALUES (:user_id)");
    insert.bind("user_id", "2");
    EXPECT_FALSE(insert.execute());
    EXPECT_EQ(insert.result(), 0);
    EXPECT_EQ(waits, 3);
    EXPECT_NEAR(clock.now() - start, 0.6, 1e-5);
    EXPECT_EQ(count(), 2);
}

TEST_F(HCSqlQueryBusyTest, GivesUpAfterTwentyRetriesOnTheClockKeepingTheBusyCodeAndBindings)
{
    double start = clock.now();
    HCSqlQuery insert(db.handle(), "INSERT INTO scores (user_id) VALUES (:user_id)");
    insert.bind("user_id", "2");
    EXPECT_FALSE(insert.execute());
    EXPECT_EQ(insert.result(), SQLITE_BUSY);
    EXPECT_TRUE(insert.hasReachedEnd());
    EXPECT_NEAR(clock.now() - start, 20 * 0.2, 1e-5);

    commitOther();
    insert.resetQuery();
    EXPECT_FALSE(insert.execute());
    EXPECT_EQ(insert.result(), 0);
    EXPECT_EQ(count("user_id = 2"), 1);
}
