#include "app/SharedProcedures.h"
#include "LogTestSupport.h"
#include "platform/xml/Document.h"

using namespace veldra;
using veldra::test::LogTestFixture;

using SharedProceduresXml = LogTestFixture;

TEST_F(SharedProceduresXml, ParseXMLFragmentReturnsTheFragmentsRoot)
{
    QString xml = "<section><title>T</title><text>a &amp; b</text></section>";
    const xml::Node root = ParseXMLFragment(xml, false);
    ASSERT_FALSE(root.isNull());
    EXPECT_EQ(root.nodeName(), "section");
    EXPECT_EQ(root.firstChild().nodeName(), "title");
    EXPECT_EQ(root.firstChild().nextSibling().text(), "a & b");
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                   "<section><title>T</title><text>a &amp; b</text></section>");
    EXPECT_EQ(logWindow(), nullptr) << "a good fragment writes nothing to the log";

    // The node outlives the call and can be put into another document.
    xml::Document target;
    ASSERT_TRUE(target.loadXml("<document/>"));
    target.documentElement().appendChild(root);
    EXPECT_EQ(target.documentElement().firstChild().nodeName(), "section");
}

TEST_F(SharedProceduresXml, ParseXMLFragmentWithLineBreaks)
{
    QString xml = "<section><title>T</title></section>";
    const xml::Node root = ParseXMLFragment(xml, true);
    ASSERT_FALSE(root.isNull());
    EXPECT_EQ(root.nodeName(), "section");
    EXPECT_EQ(root.firstChild().nodeName(), "title") << "the added breaks are layout only";
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<section>\r\n<title>\r\nT</title>\r\n</section>\r\n");
}

TEST_F(SharedProceduresXml, BrokenFragmentGivesNoNodeAndOneErrorLine)
{
    for (const char* broken : {"<a><b></a>", "", "plain text", "<?xml version=\"1.0\"?><a/>"}) {
        closeLog();
        QString xml = broken;
        EXPECT_TRUE(ParseXMLFragment(xml, false).isNull()) << broken;
        ASSERT_NE(logWindow(), nullptr) << broken;
        const QStringList lines = text().split('\n', Qt::SkipEmptyParts);
        const QStringList errors = lines.filter(QRegularExpression("^Error {10}"));
        ASSERT_EQ(errors.size(), 1) << broken;
        EXPECT_TRUE(errors[0].startsWith("Error" + QString(10, ' ') + QString(10, ' ') + "MSXML: ")) << broken;
        EXPECT_GT(errors[0].size(), QString("Error").size() + 27) << "the parser's reason follows";
    }
}
