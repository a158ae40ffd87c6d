#include "platform/core/VbError.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Statement.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace veldra;

namespace {

class DbTest : public ::testing::Test {
protected:
    DbTest()
    {
        db::Connection create;
        create.open(path(), db::Connection::Access::ReadWriteCreate);
        create.execute(QStringLiteral("CREATE TABLE T (code TEXT, name TEXT COLLATE NOCASE);"
                                      "INSERT INTO T VALUES ('B2', 'beta'), ('A1', 'Alpha'), ('C3', NULL);"));
    }
    QString path() const { return dir.file(QStringLiteral("t.sqlite")); }

    test::TempDir dir;
};

} // namespace

TEST_F(DbTest, RecordsetKnowsItsCountAndReadsForward)
{
    db::Connection connection;
    connection.open(path(), db::Connection::Access::ReadOnly);
    db::Recordset rows;
    rows.open(connection, QStringLiteral("SELECT code, name FROM T ORDER BY name"));
    ASSERT_EQ(rows.recordCount(), 3);
    EXPECT_EQ(rows.field(QStringLiteral("code")), QStringLiteral("C3"));
    EXPECT_EQ(rows.field(QStringLiteral("NAME")), std::nullopt) << "NULL sorts first and reads as no value";
    EXPECT_EQ(rows.text(QStringLiteral("name")), QString());
    rows.moveNext();
    EXPECT_EQ(rows.text(QStringLiteral("name")), QStringLiteral("Alpha"));
    rows.moveNext();
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    EXPECT_THROW(rows.field(QStringLiteral("code")), VbError);
    EXPECT_THROW(rows.moveNext(), VbError);
}

TEST_F(DbTest, ParametersAreValuesNeverSql)
{
    db::Connection connection;
    connection.open(path(), db::Connection::Access::ReadOnly);
    db::Recordset rows;
    rows.open(connection, QStringLiteral("SELECT code FROM T WHERE name = ?1 OR code = ?1"), {QStringLiteral("x' OR '1'='1")});
    EXPECT_EQ(rows.recordCount(), 0);
    rows.open(connection, QStringLiteral("SELECT code FROM T WHERE name = ?1"), {QStringLiteral("ALPHA")});
    EXPECT_EQ(rows.recordCount(), 1);
    EXPECT_THROW(rows.field(QStringLiteral("name")), VbError) << "a column the query did not select";
}

TEST_F(DbTest, FailuresThrowWithTheirReason)
{
    db::Connection connection;
    db::Recordset rows;
    EXPECT_THROW(rows.open(connection, QStringLiteral("SELECT 1")), VbError) << "closed connection";

    connection.open(path(), db::Connection::Access::ReadOnly);
    EXPECT_THROW(connection.execute(QStringLiteral("DELETE FROM T")), VbError) << "read-only";
    try {
        rows.open(connection, QStringLiteral("SELECT nothing FROM Missing"));
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("SQLite"));
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("Query rejected: SELECT nothing FROM Missing (")));
    }

    db::Connection missing;
    EXPECT_THROW(missing.open(dir.file(QStringLiteral("none.sqlite")), db::Connection::Access::ReadOnly), VbError);
    EXPECT_FALSE(missing.isOpen());
}

TEST_F(DbTest, AQueryRunAgainGivesTheRowsOfItsNewParametersAlsoAfterAReopen)
{
    db::Connection connection;
    connection.open(path(), db::Connection::Access::ReadOnly);
    const QString query = QStringLiteral("SELECT code FROM T WHERE name = ?1");
    db::Recordset rows;
    for (int round = 0; round < 2; ++round) {
        rows.open(connection, query, {QStringLiteral("ALPHA")});
        EXPECT_EQ(rows.recordCount(), 1);
        rows.open(connection, query, {QStringLiteral("no such name")});
        EXPECT_EQ(rows.recordCount(), 0);
        {
            // The same query twice at once: each runs on its own.
            db::Statement first(connection, query);
            db::Statement second(connection, query);
            first.bind(1, QStringLiteral("ALPHA"));
            second.bind(1, QStringLiteral("no such name"));
            EXPECT_TRUE(first.step());
            EXPECT_FALSE(second.step());
        }
        connection.close();
        connection.open(path(), db::Connection::Access::ReadOnly);
    }
}
