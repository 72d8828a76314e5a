// The scoped transaction: a COMMIT that cannot finish leaves no open
// transaction behind, and a transaction begun inside another is a savepoint.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "kernel/sql/HCSqlDatabase.h"
#include "kernel/sql/HCSqlQuery.h"
#include "kernel/sql/HCSqlSchema.h"
#include "kernel/sql/HCSqlTransaction.h"
#include "support/TestSupport.h"

namespace {

class HCSqlTransactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string path = (dir.path() / "test.sqlite").string();
        ASSERT_TRUE(writer.open(path));
        ASSERT_TRUE(reader.open(path));
        ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "CREATE TABLE t (v INTEGER)"));
        HCSqlQuery::setBusySleeper([this](double) { ++waits; });
    }
    void TearDown() override { HCSqlQuery::setBusySleeper(nullptr); }

    std::string values()
    {
        HCSqlQuery query(reader.handle(), "SELECT group_concat(v) AS v FROM (SELECT v FROM t ORDER BY v)");
        return query.step() ? query.getTextValue("v").value_or("") : "?";
    }

    testsupport::TempDir dir;
    HCSqlDatabase writer;
    HCSqlDatabase reader;
    int waits = 0;
};

TEST_F(HCSqlTransactionTest, ABusyCommitRollsBackAndLaterWritesAreNotSwallowed)
{
    ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (1)"));
    {
        // A reader in the middle of its rows keeps the rollback journal's
        // COMMIT from taking the file.
        HCSqlQuery reading(reader.handle(), "SELECT v FROM t");
        ASSERT_TRUE(reading.step());

        HCSqlTransaction transaction(writer.handle());
        ASSERT_TRUE(transaction.begin());
        ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (2)"));
        EXPECT_FALSE(transaction.commit());
        EXPECT_EQ(waits, HCSqlQuery::kMaxBusyRetries);
        EXPECT_FALSE(transaction.isOpen());
        EXPECT_TRUE(sqlite3_get_autocommit(writer.handle()));
    }
    // The next write stands on its own and reaches the file.
    ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (3)"));
    EXPECT_EQ(values(), "1,3");
}

TEST_F(HCSqlTransactionTest, InsideAnotherTransactionItIsASavepointOfThatOne)
{
    HCSqlTransaction outer(writer.handle());
    ASSERT_TRUE(outer.begin());
    EXPECT_FALSE(outer.isSavepoint());
    EXPECT_FALSE(outer.begin());
    ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (1)"));
    {
        HCSqlTransaction kept(writer.handle());
        ASSERT_TRUE(kept.begin());
        EXPECT_TRUE(kept.isSavepoint());
        ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (2)"));
        EXPECT_TRUE(kept.commit());
    }
    {
        HCSqlTransaction dropped(writer.handle());
        ASSERT_TRUE(dropped.begin());
        ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (3)"));
    }
    // Nothing reaches the file before the outer commit.
    EXPECT_EQ(values(), "");
    EXPECT_TRUE(outer.commit());
    EXPECT_EQ(values(), "1,2");

    // An outer transaction that ends uncommitted takes its savepoints with it.
    {
        HCSqlTransaction abandoned(writer.handle());
        ASSERT_TRUE(abandoned.begin());
        HCSqlTransaction inner(writer.handle());
        ASSERT_TRUE(inner.begin());
        ASSERT_TRUE(HCSqlSchema::execute(writer.handle(), "INSERT INTO t VALUES (4)"));
        EXPECT_TRUE(inner.commit());
    }
    EXPECT_TRUE(sqlite3_get_autocommit(writer.handle()));
    EXPECT_EQ(values(), "1,2");
    EXPECT_FALSE(HCSqlTransaction(nullptr).begin());
}

}  // namespace
