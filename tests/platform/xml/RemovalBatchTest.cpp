// A pass that takes many subtrees out through libxml2 pointers frees them when it ends, unless
// a handle points into one of them: then all stay, as removed nodes stay for the DOM, with the
// namespaces their former ancestors declared.
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/RemovalBatch.h"

#include <gtest/gtest.h>

using namespace veldra::xml;

namespace {

const QString label = QStringLiteral(
    "<document xmlns='urn:hl7-org:v3'><component xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>"
    "<section><title>One</title><code code='34067-9' xsi:type='CE'/></section></component><id/></document>");

} // namespace

TEST(RemovalBatchTest, ABatchFreesWhatItTookOutUnlessAHandlePointsIntoIt)
{
    for (const bool handleKept : {false, true}) {
        SCOPED_TRACE(handleKept);
        Document doc;
        ASSERT_TRUE(doc.loadXml(label));
        const Cursor component(doc.selectSingleNode(QStringLiteral("document/component")));
        const Cursor section = component.firstChild();
        Node code = handleKept ? doc.selectSingleNode(QStringLiteral("//code")) : Node();
        {
            RemovalBatch batch;
            batch.remove(section.firstChild());  // the title
            batch.remove(section);
            EXPECT_FALSE(component.node().hasChildNodes());
            batch.remove(component);  // where the code's namespace is declared
        }
        EXPECT_EQ(doc.documentElement().xml(), QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><id/></document>"));
        if (handleKept) {
            EXPECT_EQ(code.getAttribute(QStringLiteral("xsi:type")), QStringLiteral("CE"));
            EXPECT_EQ(code.parentNode().nodeName(), QStringLiteral("section"));
            EXPECT_TRUE(code.parentNode().parentNode().isNull());
        }
    }
}

// The handles a subtree carries into another document count there: a batch in the document
// it came from frees what it takes out, one in the document it went to keeps it.
TEST(RemovalBatchTest, HandlesMovedWithTheirSubtreeDecideInTheirNewDocument)
{
    Document from;
    Document to;
    ASSERT_TRUE(from.loadXml(label));
    ASSERT_TRUE(to.loadXml(QStringLiteral("<document><part/></document>")));
    const Node code = from.selectSingleNode(QStringLiteral("//code"));
    const Node section = code.parentNode();
    to.documentElement().firstChild().appendChild(section);
    {
        RemovalBatch batch;
        batch.remove(Cursor(from.documentElement().firstChild()));
    }
    EXPECT_EQ(from.documentElement().xml(), QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><id/></document>"));
    const Cursor part(to.documentElement().firstChild());
    {
        RemovalBatch batch;
        batch.remove(part);
    }
    EXPECT_EQ(code.getAttribute(QStringLiteral("code")), QStringLiteral("34067-9"));
    EXPECT_EQ(code.parentNode().parentNode().nodeName(), QStringLiteral("part"));
    EXPECT_TRUE(code.parentNode().parentNode().parentNode().isNull());
}
