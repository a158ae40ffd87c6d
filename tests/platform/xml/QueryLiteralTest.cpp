#include "platform/core/VbError.h"
#include "platform/xml/query/CompiledQueryCache.h"
#include "platform/xml/query/QueryLiteral.h"
#include "support/HostileValues.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

using namespace veldra;
using veldra::test::documentFrom;

namespace {

// One element per hostile value, plus one honest element that none of them may select.
xml::Document documentOfValues()
{
    xml::Document doc = documentFrom(QStringLiteral("<r><e v=\"honest\"/></r>"));
    for (const QString& value : test::hostileTreeValues())
        doc.documentElement().appendChild(doc.createElement(QStringLiteral("e"))).setAttribute(QStringLiteral("v"), value);
    return doc;
}

const char* const placeholderForms[] = {"//e[@v=\"$V$\"]", "//e[@v='$V$']", "//e[@v=$V$]", "//e[@v=\"$V$\" or @v='$V$']",
                                        "//e[not(@v!=$V$)]", "//e[@v=concat($V$, '')]"};

} // namespace

// However many quotes of either kind a value holds, and however long it is, it is one text.
TEST(QueryLiteralTest, EveryPlaceholderFormSelectsOnlyTheElementCarryingTheValue)
{
    const xml::Document doc = documentOfValues();
    for (const QString& value : test::hostileTreeValues()) {
        SCOPED_TRACE(value.left(40).toStdString() + " of " + std::to_string(value.size()));
        for (const char* query : placeholderForms) {
            const xml::NodeList found = doc.selectNodes(xml::withLiteral(QString::fromLatin1(query), QStringLiteral("$V$"), value));
            ASSERT_EQ(found.length(), 1) << query;
            EXPECT_EQ(found.item(0).getAttribute(QStringLiteral("v")), value);
        }
        EXPECT_EQ(doc.selectNodes(QStringLiteral("//e[@v=") + xml::queryLiteral(value) + QLatin1Char(']')).length(), 1);
        EXPECT_EQ(doc.selectNodes(QStringLiteral("//e[@v!=") + xml::queryLiteral(value) + QLatin1Char(']')).length(),
                  test::hostileTreeValues().size());
    }
}

// A text no tree holds selects nothing, as an honest value that nothing carries does; NUL,
// which no text holds, is refused with the reason.
TEST(QueryLiteralTest, ATextNoTreeHoldsSelectsNothingAndNulIsRefused)
{
    const xml::Document doc = documentOfValues();
    for (const QString& value : test::unstorableQueryValues()) {
        for (const char* query : placeholderForms) {
            EXPECT_EQ(doc.selectNodes(xml::withLiteral(QString::fromLatin1(query), QStringLiteral("$V$"), value)).length(), 0)
                << query << " " << value.toStdString();
        }
    }
    try {
        doc.selectNodes(QStringLiteral("//e[@v=") + xml::queryLiteral(QStringLiteral("a'\"") + QChar(0)) + QLatin1Char(']'));
        ADD_FAILURE() << "NUL accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), err::XmlQuery);
        EXPECT_TRUE(e.description().contains(QStringLiteral("U+0000"))) << e.description().toStdString();
    }
}

// Each evaluation reads its own texts, from a cached query or a fresh one, after a refusal
// too; values that differ keep the cache within its bounds.
TEST(QueryLiteralTest, TextsAreBoundForOneEvaluationAndKeepTheCacheBounded)
{
    const xml::Document doc = documentFrom(QStringLiteral("<r><e v=\"a'&quot;\"/><e v=\"b'&quot;\"/></r>"));
    const xml::detail::CompiledQueryCache& cache = xml::detail::CompiledQueryCache::ofThisThread();
    for (int round = 0; round < 3 * int(xml::detail::CompiledQueryCache::queriesKept); ++round) {
        const QString value = round % 3 == 0 ? QStringLiteral("a'\"") : round % 3 == 1 ? QStringLiteral("b'\"")
                                                                                        : QStringLiteral("%1'\"").arg(round);
        const xml::NodeList found = doc.selectNodes(QStringLiteral("//e[@v=") + xml::queryLiteral(value) + QLatin1Char(']'));
        ASSERT_EQ(found.length(), round % 3 == 2 ? 0 : 1) << round;
        if (round % 3 != 2) {
            EXPECT_EQ(found.item(0).getAttribute(QStringLiteral("v")), value);
        }
        if (round == 1) {
            const QString deep = QStringList(QList<QString>(6000, QStringLiteral("f"))).join(QStringLiteral(" | "));
            EXPECT_THROW(doc.selectNodes(QStringLiteral("//e[@v=") + xml::queryLiteral(value) + QStringLiteral("] | ") + deep),
                         VbError);
        }
        EXPECT_LE(cache.count(), xml::detail::CompiledQueryCache::queriesKept);
        EXPECT_LE(cache.characters(), xml::detail::CompiledQueryCache::charactersKept);
    }
}

TEST(QueryLiteralTest, OnlyAnXmlNameStandsAsANameInAQuery)
{
    for (const char* name : {"section", "x:code", "_a.b-c"})
        EXPECT_EQ(xml::queryName(QString::fromLatin1(name)), QString::fromLatin1(name));
    for (const char* notName : {"", "a/b", "*", "a[1]", "a|//*", "a b", "1a", "a'b", ":a"}) {
        try {
            xml::queryName(QString::fromLatin1(notName));
            ADD_FAILURE() << notName << " was taken as a name";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), err::XmlQuery);
            EXPECT_TRUE(e.description().contains(QStringLiteral("is not an XML name"))) << e.description().toStdString();
        }
    }
}
