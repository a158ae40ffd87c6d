#include "CodeSystemsTestSupport.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <set>

using namespace veldra;

namespace {

int countOf(const db::Connection& connection, const QString& sql, const QStringList& parameters = {})
{
    db::Recordset rows;
    rows.open(connection, sql, parameters);
    return rows.text(QStringLiteral("n")).toInt();
}

QString queryPlan(const db::Connection& connection, const QString& sql)
{
    db::Recordset rows;
    rows.open(connection, QStringLiteral("EXPLAIN QUERY PLAN ") + sql, {QStringLiteral("x")});
    QStringList steps;
    for (; !rows.eof(); rows.moveNext())
        steps << rows.text(QStringLiteral("detail"));
    return steps.join(QLatin1Char('\n'));
}

// Faults in a source list are reported with the file and the line.
QString sourceListFault(const QString& fileName, const QString& text)
{
    test::TempDir dir;
    test::writeTextFile(dir.file(fileName), text);
    try {
        codedb::CodeLists lists;
        codedb::readSourceList(dir.file(fileName), lists);
    } catch (const VbError& e) {
        return e.description();
    }
    return QStringLiteral("no fault reported");
}

} // namespace

TEST(DatabaseBuildTest, CommittedListsGiveIndexedTablesThatIgnoreCase)
{
    const codedb::CodeLists lists = test::committedLists();
    for (const codedb::TableSpec* table : codedb::allTables())
        EXPECT_GT(lists.rowsOf(*table).size(), 100u) << table->name.toStdString();
    test::TempDir dir;
    codedb::writeDatabase(lists, dir.file(QStringLiteral("codes.sqlite")));

    db::Connection connection;
    connection.open(dir.file(QStringLiteral("codes.sqlite")), db::Connection::Access::ReadOnly);
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM UNII")), int(lists.unii.size()));
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM NCIThesaurus WHERE Field2 = ?1"),
                      {QStringLiteral("tablet, film coated")}),
              1);
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM LOINC WHERE LOINC_NUM = ?1"),
                      {QStringLiteral("42229-5")}),
              1);

    // An exact search looks both columns up in their indexes instead of reading the table.
    for (const auto& [table, code, name] : {std::tuple{"LOINC", "LOINC_NUM", "COMPONENT"},
                                           std::tuple{"NCIThesaurus", "Field1", "Field2"},
                                           std::tuple{"UNII", "UNII", "Name"}}) {
        const QString plan = queryPlan(connection, QStringLiteral("SELECT * FROM %1 WHERE %2 = ?1 OR %3 = ?1")
                                                       .arg(QLatin1String(table), QLatin1String(name), QLatin1String(code)));
        EXPECT_EQ(plan.count(QStringLiteral("USING INDEX")), 2) << plan.toStdString();
        EXPECT_FALSE(plan.contains(QStringLiteral("SCAN"))) << plan.toStdString();
    }
}

TEST(DatabaseBuildTest, EveryLoincAndUniiCodeIsShippedOnce)
{
    // A code with two rows would make an exact code search report several hits.
    const codedb::CodeLists lists = test::committedLists();
    for (const auto* rows : {&lists.loinc, &lists.unii}) {
        std::set<QString> codes;
        for (const codedb::Row& row : *rows)
            EXPECT_TRUE(codes.insert(row[0]->toUpper()).second) << row[0]->toStdString();
    }
}

TEST(DatabaseBuildTest, TheBuildPutsTheDatabaseIntoTheProgramFolder)
{
    db::Connection connection;
    connection.open(QDir(test::builtProgramDir()).filePath(QStringLiteral("SPLCodeSystems.sqlite")),
                    db::Connection::Access::ReadOnly);
    const codedb::CodeLists lists = test::committedLists();
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM LOINC")), int(lists.loinc.size()));
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM NCIThesaurus")), int(lists.nci.size()));
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM UNII")), int(lists.unii.size()));

    // The program folder gets the database only; the licence terms of the lists travel inside it.
    EXPECT_EQ(countOf(connection, QStringLiteral("SELECT count(*) AS n FROM SourceInfo")), int(lists.sources.size()));
    EXPECT_EQ(countOf(connection,
                      QStringLiteral("SELECT count(*) AS n FROM SourceInfo WHERE TableName = 'LOINC' AND Notice LIKE ?1"),
                      {QStringLiteral("%copyright (c) Regenstrief Institute%loinc.org/license%")}),
              2);
    EXPECT_EQ(countOf(connection,
                      QStringLiteral("SELECT count(*) AS n FROM SourceInfo WHERE TableName = 'NCIThesaurus' AND Notice LIKE ?1"),
                      {QStringLiteral("%CC BY 4.0%")}),
              countOf(connection, QStringLiteral("SELECT count(*) AS n FROM SourceInfo WHERE TableName = 'NCIThesaurus'")));
}

TEST(DatabaseBuildTest, ADistributionFileReplacesItsTableAndItsSources)
{
    codedb::CodeLists lists = test::committedLists();
    const std::size_t uniiRows = lists.unii.size();
    lists.replace(codedb::loincTable(), {test::row({"1-1", "ONE", "Ser"})}, {QStringLiteral("LOINC"), QStringLiteral("Loinc.csv"), QString()});
    EXPECT_EQ(lists.loinc.size(), 1u);
    EXPECT_EQ(lists.unii.size(), uniiRows);
    QStringList loincSources;
    for (const codedb::SourceNote& note : lists.sources) {
        if (note.table == QLatin1String("LOINC"))
            loincSources << note.source;
    }
    EXPECT_EQ(loincSources, QStringList{QStringLiteral("Loinc.csv")});
}

TEST(DatabaseBuildTest, SourceListFaultsNameTheFileAndLine)
{
    const QString header = QStringLiteral("# comment\nUNII\tName\n");
    EXPECT_EQ(sourceListFault(QStringLiteral("UNII-a.tsv"), QStringLiteral("UNII\tNAME\tX\n")),
              QStringLiteral("UNII-a.tsv, line 1: the header must be: UNII <tab> Name"));
    EXPECT_EQ(sourceListFault(QStringLiteral("UNII-a.tsv"), header + QStringLiteral("A1\tONE\n\nA2\n")),
              QStringLiteral("UNII-a.tsv, line 5: 1 cells where 2 are expected"));
    EXPECT_EQ(sourceListFault(QStringLiteral("UNII-a.tsv"), header + QStringLiteral("\tNO CODE\n")),
              QStringLiteral("UNII-a.tsv, line 3: a row without a code"));
    EXPECT_EQ(sourceListFault(QStringLiteral("UNII-a.tsv"), header + QStringLiteral("A1\tONE\nA1\tONE\n")),
              QStringLiteral("UNII-a.tsv, line 4: the row repeats an earlier one"));
    EXPECT_TRUE(sourceListFault(QStringLiteral("Colours.tsv"), header).contains(QStringLiteral("LOINC-, NCIThesaurus- or UNII-")));
}

TEST(DatabaseBuildTest, EmptyCellsBecomeNull)
{
    test::TempDir dir;
    test::writeTextFile(dir.file(QStringLiteral("LOINC-x.tsv")),
                        QStringLiteral("LOINC_NUM\tCOMPONENT\tSYSTEM\r\n1-1\tONE\t\r\n"));
    codedb::CodeLists lists;
    codedb::readSourceList(dir.file(QStringLiteral("LOINC-x.tsv")), lists);
    ASSERT_EQ(lists.loinc.size(), 1u);
    EXPECT_EQ(lists.loinc[0], test::row({"1-1", "ONE", nullptr}));
}

TEST(DatabaseBuildTest, FailedWriteLeavesTheExistingDatabase)
{
    test::TempDir dir;
    const QString target = dir.file(QStringLiteral("SPLCodeSystems.sqlite"));
    codedb::CodeLists lists;
    lists.unii = {test::row({"059QF0KO0R", "WATER"})};
    codedb::writeDatabase(lists, target);
    const QByteArray before = [&] { QFile f(target); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    // The temporary file cannot be made: a folder is in its way.
    QDir(dir.path()).mkdir(QStringLiteral("SPLCodeSystems.sqlite.part"));
    lists.unii.push_back(test::row({"R16CO5Y76E", "ASPIRIN"}));
    EXPECT_THROW(codedb::writeDatabase(lists, target), VbError);

    QFile after(target);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}
