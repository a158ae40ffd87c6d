#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>
#include <libxml/xpath.h>

using namespace veldra::xml;
using veldra::VbError;
using veldra::test::documentFrom;

namespace {

QStringList names(const NodeList& nodes)
{
    QStringList result;
    for (const Node& node : nodes)
        result << node.nodeName() + (node.nodeType() == NodeType::Element ? QString() : "=" + node.text());
    return result;
}

// An SPL-like document: HL7 namespace, with a no-namespace element inserted by the builder.
const char* kMixed =
    "<document xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
    "<component><structuredBody>"
    "<component><section ID=\"A\"><title>First</title><code code=\"1\"/></section></component>"
    "<component><section ID=\"B\"><title>Second</title><code code=\"2\" xsi:type=\"CE\"/>"
    "<component><section ID=\"B1\"><title>Sub</title></section></component></section></component>"
    "</structuredBody></component></document>";

} // namespace

TEST(XmlQueryTest, UnprefixedNamesFindNamespacedAndPlainElements)
{
    Document doc = documentFrom(kMixed);
    const Node body = doc.selectSingleNode("//structuredBody");
    body.appendChild(doc.createElement("component")).appendChild(doc.createElement("section")).setAttribute("ID", "C");
    EXPECT_EQ(doc.selectNodes("//section").length(), 4);
    EXPECT_TRUE(doc.xml().contains("<component><section ID=\"C\"/></component>"));  // no xmlns=""
    EXPECT_EQ(doc.selectSingleNode("document/component/structuredBody/component[2]/section").getAttribute("ID"), "C");
    EXPECT_EQ(doc.selectSingleNode("document/component/structuredBody/component[1]/section").getAttribute("ID"), "B");
    EXPECT_TRUE(doc.selectSingleNode("document/component/structuredBody/component[3]").isNull());
    EXPECT_EQ(names(doc.selectNodes("//section[@ID='B']/title/text()")), QStringList({"#text=Second"}));
    EXPECT_EQ(names(doc.selectNodes("//section/code/@code")), QStringList({"code=1", "code=2"}));
    EXPECT_EQ(doc.selectNodes("//section[code/@code=2]").length(), 1);
    EXPECT_EQ(doc.selectNodes("//component[section[title='Sub']]").length(), 1);
    EXPECT_EQ(doc.selectNodes("//section[title='First' or title='Sub']").length(), 2);
    EXPECT_EQ(doc.selectNodes("//section[not(component)]").length(), 3);
    EXPECT_THROW(doc.selectNodes("//code[@xsi:type]"), VbError);  // the prefix is not bound for queries
}

TEST(XmlQueryTest, QueriesRunRelativeToTheirNode)
{
    Document doc = documentFrom(kMixed);
    const Node b = doc.selectSingleNode("//section[@ID='B']");
    EXPECT_EQ(b.selectSingleNode("title").text(), "Second");  // the first child of that name
    EXPECT_EQ(b.selectSingleNode(".//title").text(), "Second");
    EXPECT_EQ(b.selectNodes(".//title").length(), 2);
    EXPECT_EQ(b.selectNodes("//title").length(), 3);  // "//" searches the whole document
    EXPECT_EQ(b.selectSingleNode("..").nodeName(), "component");
    EXPECT_EQ(b.selectSingleNode("@ID").text(), "B");
    EXPECT_EQ(b.selectNodes("@*").length(), 1);
    EXPECT_EQ(b.selectSingleNode("/").nodeType(), NodeType::Document);
    // Unions come in document order.
    EXPECT_EQ(names(doc.selectNodes("//code | //title")),
              QStringList({"title", "code", "title", "code", "title"}));
    // A node out of the tree can be queried too.
    const Node copy = b.cloneNode(true);
    EXPECT_EQ(copy.selectNodes(".//section").length(), 1);
}

TEST(XmlQueryTest, PrefixedQueriesUseSelectionNamespaces)
{
    Document doc = documentFrom(kMixed);
    EXPECT_THROW(doc.selectNodes("//x:section"), VbError);
    doc.setSelectionNamespaces({{"x", "urn:hl7-org:v3"}, {"xsi", "http://www.w3.org/2001/XMLSchema-instance"}});
    EXPECT_EQ(doc.selectNodes("//x:section").length(), 3);
    EXPECT_EQ(doc.selectNodes("//x:code[@xsi:type='CE']").length(), 1);
    // Elements without a namespace are not in x.
    doc.documentElement().appendChild(doc.createElement("section"));
    EXPECT_EQ(doc.selectNodes("//x:section").length(), 3);
    EXPECT_EQ(doc.selectNodes("//section").length(), 4);
}

TEST(XmlQueryTest, CommentsAndBadQueries)
{
    Document doc = documentFrom("<r><!--one--><a><!--two--></a></r>");
    EXPECT_EQ(names(doc.selectNodes("//comment()")), QStringList({"#comment=one", "#comment=two"}));
    for (const Node& comment : doc.selectNodes("//comment()"))
        comment.parentNode().removeChild(comment);
    EXPECT_EQ(doc.xml(), "<r><a/></r>\n");
    try {
        doc.selectNodes("//a[position()=1]");
        FAIL() << "accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), veldra::err::XmlQuery);
        EXPECT_TRUE(e.description().contains("//a[position()=1]"));
    }
    EXPECT_THROW(doc.selectSingleNode(""), VbError);
    Document declared = documentFrom("<?xml version=\"1.0\"?><r/>");
    EXPECT_THROW(declared.firstChild().selectNodes("r"), VbError);  // the declaration is no context
}

TEST(XmlQueryTest, ResultsStayInDocumentOrderAfterAnOutsideEngineStampedTheTree)
{
    Document doc = documentFrom("<r><a/><b/><c/></r>");
    // An XSLT run stamps element positions into the tree it reads.
    xmlXPathOrderDocElems(doc.raw());
    const Node r = doc.documentElement();
    r.insertBefore(r.lastChild(), r.firstChild());
    EXPECT_EQ(names(doc.selectNodes("//c | //a")), QStringList({"c", "a"}));
}

// Queries refused for their depth or size, or for a NUL between quotes, are quoted as written
// with the reason, whichever step refuses them.
TEST(XmlQueryTest, RefusedQueriesNameTheReasonAndQuoteTheQuery)
{
    const auto repeated = [](const QString& part, int times, const QString& separator) {
        return QStringList(QList<QString>(times, part)).join(separator);
    };
    QString nulInQuotes = "a[@b='x";
    nulInQuotes += QChar(0);
    nulInQuotes += "y']";
    const struct {
        QString query;
        const char* reason;
    } cases[] = {
        {repeated("a", 20000, " | "), "nests deeper than the query engine allows"},
        {repeated("a", 20000, "/"), "nests deeper than the query engine allows"},
        {"a[" + repeated("b", 150000, " or ") + "]", "more than 100000 names, operators and values"},
        {nulInQuotes, "holds the character U+0000"},
    };
    const Document doc = documentFrom("<r><a>x\ty</a></r>");
    EXPECT_EQ(doc.selectNodes("//a[text()='x\ty']").length(), 1) << "a tab is text";
    EXPECT_EQ(doc.selectNodes("//a[text()='x\x01y' or text()=\"x\x1fy\"]").length(), 0) << "no text holds them";
    for (const auto& c : cases) {
        try {
            doc.selectNodes(c.query);
            ADD_FAILURE() << "accepted: " << c.reason;
        } catch (const VbError& e) {
            EXPECT_TRUE(e.description().startsWith("The query '" + c.query + "'")) << c.reason;
            EXPECT_TRUE(e.description().contains(c.reason)) << e.description().right(120).toStdString();
        }
    }
}
