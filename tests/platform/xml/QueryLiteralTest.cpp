#include "platform/core/VbError.h"
#include "platform/xml/query/QueryLiteral.h"
#include "support/HostileValues.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::documentFrom;

namespace {

// One element per hostile value, plus one honest element that none of them may select.
xml::Document documentOfValues()
{
    xml::Document doc = documentFrom(QStringLiteral("<r><e v=\"honest\"/></r>"));
    for (const QString& value : test::hostileQueryValues())
        doc.documentElement().appendChild(doc.createElement(QStringLiteral("e"))).setAttribute(QStringLiteral("v"), value);
    return doc;
}

} // namespace

TEST(QueryLiteralTest, EveryPlaceholderFormSelectsOnlyTheElementCarryingTheValue)
{
    const xml::Document doc = documentOfValues();
    for (const QString& value : test::hostileQueryValues()) {
        for (const char* query : {"//e[@v=\"$V$\"]", "//e[@v='$V$']", "//e[@v=$V$]", "//e[@v=\"$V$\" or @v='$V$']"}) {
            const xml::NodeList found = doc.selectNodes(xml::withLiteral(QString::fromLatin1(query), QStringLiteral("$V$"), value));
            ASSERT_EQ(found.length(), 1) << query << " " << value.toStdString();
            EXPECT_EQ(found.item(0).getAttribute(QStringLiteral("v")), value);
        }
        EXPECT_EQ(doc.selectNodes(QStringLiteral("//e[@v=") + xml::queryLiteral(value) + QLatin1Char(']')).length(), 1);
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
