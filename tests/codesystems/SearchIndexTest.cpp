#include "CodeSystemsTestSupport.h"
#include "LookupTestData.h"
#include "codesystems/SearchQuery.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

using namespace veldra;

namespace {

using codesystems::SearchedTable;

const SearchedTable searchedTables[] = {
    {QStringLiteral("LOINC"), QStringLiteral("LOINC_NUM,COMPONENT"), QStringLiteral("LOINC_NUM"), QStringLiteral("COMPONENT")},
    {QStringLiteral("NCIThesaurus"), QStringLiteral("Field1,Field2"), QStringLiteral("Field1"), QStringLiteral("Field2")},
    {QStringLiteral("UNII"), QStringLiteral("[Name],[UNII]"), QStringLiteral("UNII"), QStringLiteral("Name")},
};

QStringList hits(const db::Connection& connection, const SearchedTable& table, const codesystems::SearchQuery& query)
{
    db::Recordset rows;
    rows.open(connection, query.sql, query.parameters);
    QStringList listed;
    for (; !rows.eof(); rows.moveNext())
        listed << rows.text(table.codeColumn) + QLatin1Char('|') + rows.text(table.nameColumn);
    return listed;
}

// Every kind of term a user types, against the committed code lists and the small list
// whose rows hold the characters that mean something to SQL and to the index.
const char* const partialTerms[] = {
    "a", "ta", "tab", "tablet", "TABLET film", "tablet AND coated", "film tablet", "34067", "C429",
    "%", "50%", "a_b", "_", "\\", "back\\slash", "o'brien", "\"", "\"quoted\"", "alcohol solution",
    "  spaced   words ", "section", "ÉTHANOL", "zzzzzz",
};

} // namespace

// The trigram index only narrows the rows: indexed and plain searches list the same
// hits in the same order, for short terms that cannot use it and long ones that do.
TEST(SearchIndexTest, IndexedAndPlainSearchesListTheSameHits)
{
    for (const codedb::CodeLists& lists : {test::committedLists(), test::lookupTestLists()}) {
        test::CodeSystemsProgramFolder folder(lists);
        db::Connection connection;
        connection.open(folder.databasePath(), db::Connection::Access::ReadOnly);
        int found = 0;
        for (const SearchedTable& table : searchedTables) {
            for (const char* term : partialTerms) {
                const QString text = QString::fromUtf8(term);
                const QStringList indexed = hits(connection, table, codesystems::searchQuery(table, text, false, true));
                EXPECT_EQ(indexed, hits(connection, table, codesystems::searchQuery(table, text, false, false)))
                    << table.table.toStdString() << " '" << term << "'";
                found += indexed.size();
            }
        }
        EXPECT_GT(found, 0);
    }
}

TEST(SearchIndexTest, OnlyWordsOfThreeOrMoreCharactersNarrowThroughTheIndex)
{
    EXPECT_EQ(codesystems::trigramMatchExpression(QStringLiteral("ab")), QString());
    EXPECT_EQ(codesystems::trigramMatchExpression(QStringLiteral("Film AND coated ab")),
              QStringLiteral("\"Film\" AND \"coated\""));
    EXPECT_EQ(codesystems::trigramMatchExpression(QStringLiteral("say \"hi\"")), QStringLiteral("\"say\" AND \"\"\"hi\"\"\""));
    const SearchedTable unii = searchedTables[2];
    EXPECT_FALSE(codesystems::searchQuery(unii, QStringLiteral("water"), true).sql.contains(QStringLiteral("MATCH")));
    EXPECT_TRUE(codesystems::searchQuery(unii, QStringLiteral("water"), false).sql.contains(QStringLiteral("UNII_Search")));
}
