#include "app/shared/SharedProcedures.h"
#include "LogTestSupport.h"
#include "platform/xml/tree/Document.h"

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

// The added breaks lay the file out: they stand between block tags only, so no text changes
// (a break beside an inline element or inside a word would read as a blank).
TEST_F(SharedProceduresXml, ParseXMLFragmentWithLineBreaks)
{
    const struct {
        const char* fragment;
        const char* laidOut;
    } cases[] = {
        {"<section><title>T</title></section>", "<section>\r\n<title>T</title>\r\n</section>"},
        {"<paragraph>C<sub>33</sub>H<sub>35</sub>FN</paragraph>", "<paragraph>C<sub>33</sub>H<sub>35</sub>FN</paragraph>"},
        {"<paragraph><content styleCode=\"bold\">A</content><content>B</content></paragraph>",
         "<paragraph><content styleCode=\"bold\">A</content><content>B</content></paragraph>"},
        {"<list><item>a<br/>b</item><item>c</item></list>", "<list>\r\n<item>a<br/>b</item>\r\n<item>c</item>\r\n</list>"},
    };
    for (const auto& c : cases) {
        QString xml = QString::fromUtf8(c.fragment);
        const xml::Node root = ParseXMLFragment(xml, true);
        ASSERT_FALSE(root.isNull()) << c.fragment;
        EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + QString::fromUtf8(c.laidOut)) << c.fragment;
        EXPECT_EQ(root.text(), [&] { xml::Document d; d.loadXml(QString::fromUtf8(c.fragment)); return d.documentElement().text(); }())
            << c.fragment;
    }
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
