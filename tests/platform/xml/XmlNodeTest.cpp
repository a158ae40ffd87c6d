#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

using namespace veldra::xml;
using veldra::VbError;
using veldra::test::documentFrom;

namespace {

const char* kSpl =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<document xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "  <component>\n"
    "    <section ID=\"S1\"><title>One</title><code code=\"34067-9\" xsi:type=\"CE\"/></section>\n"
    "  </component>\n"
    "</document>\n";

} // namespace

TEST(XmlNodeTest, DeclarationIsTheFirstChildAndCarriesTheEncoding)
{
    Document doc = documentFrom(kSpl);
    ASSERT_TRUE(doc.hasDeclaration());
    const Node decl = doc.firstChild();
    EXPECT_EQ(decl.nodeName(), "xml");
    EXPECT_EQ(decl.nodeType(), NodeType::ProcessingInstruction);
    EXPECT_EQ(decl.getAttribute("encoding"), "UTF-8");
    EXPECT_EQ(decl.text(), "version=\"1.0\" encoding=\"UTF-8\"");
    EXPECT_EQ(decl.nextSibling(), doc.documentElement());
    EXPECT_EQ(doc.documentElement().previousSibling(), decl);
    EXPECT_EQ(decl.parentNode(), doc.asNode());
    EXPECT_EQ(doc.childNodes().length(), 2);

    decl.setAttribute("encoding", "ISO-8859-1");
    EXPECT_TRUE(doc.xml().startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document"));
    EXPECT_THROW(decl.setAttribute("encoding", "a\"b"), VbError);

    Document bare = documentFrom("<a/>");
    EXPECT_FALSE(bare.hasDeclaration());
    EXPECT_EQ(bare.firstChild().nodeName(), "a");
    bare.setDeclarationEncoding("UTF-8");
    EXPECT_EQ(bare.xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a/>\n");

    // A fragment wrapped the way fragments are parsed: the node after the declaration is its root.
    Document fragment = documentFrom("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<text>a<br/>b</text>\r\n");
    EXPECT_EQ(fragment.firstChild().nextSibling().nodeName(), "text");
}

TEST(XmlNodeTest, NamesKindsAndText)
{
    Document doc = documentFrom("<r xmlns:p=\"urn:p\"><p:e p:a=\"1\">x<![CDATA[<y>]]><!--c--><?pi data?>z</p:e></r>");
    const Node e = doc.documentElement().firstChild();
    EXPECT_EQ(e.nodeName(), "p:e");
    EXPECT_EQ(e.baseName(), "e");
    EXPECT_EQ(e.prefix(), "p");
    EXPECT_EQ(e.namespaceURI(), "urn:p");
    EXPECT_EQ(e.text(), "x<y>z");
    QStringList names;
    for (const Node& child : e.childNodes())
        names << child.nodeName();
    EXPECT_EQ(names, QStringList({"#text", "#cdata-section", "#comment", "pi", "#text"}));
    EXPECT_EQ(e.childNodes().item(2).nodeType(), NodeType::Comment);
    EXPECT_EQ(e.childNodes().item(2).text(), "c");
    EXPECT_EQ(doc.asNode().nodeName(), "#document");
    EXPECT_EQ(e.getAttributeNode("p:a").nodeName(), "p:a");
    EXPECT_EQ(e.getAttributeNode("p:a").namespaceURI(), "urn:p");
    EXPECT_TRUE(e.getAttributeNode("p:a").parentNode().isNull());
    EXPECT_FALSE(e.getAttributeNode("p:a").hasChildNodes());
}

TEST(XmlNodeTest, AttributesIncludingNamespaceDeclarations)
{
    Document doc = documentFrom(kSpl);
    const Node root = doc.documentElement();
    QStringList names;
    for (const Node& attr : root.attributes())
        names << attr.nodeName() + "=" + attr.text();
    EXPECT_EQ(names, QStringList({"xmlns=urn:hl7-org:v3", "xmlns:xsi=http://www.w3.org/2001/XMLSchema-instance"}));
    EXPECT_EQ(root.getAttribute("xmlns"), "urn:hl7-org:v3");

    const Node code = doc.selectSingleNode("//code");
    EXPECT_EQ(code.getAttribute("xsi:type"), "CE");
    EXPECT_TRUE(code.getAttribute("type").isNull());  // a qualified name is matched whole
    EXPECT_TRUE(code.getAttribute("missing").isNull());
    code.setAttribute("empty", "");
    EXPECT_FALSE(code.getAttribute("empty").isNull());
    EXPECT_TRUE(code.getAttribute("empty").isEmpty());
    EXPECT_TRUE(code.hasAttribute("empty"));

    code.setAttribute("code", "42");
    code.setAttribute("xsi:nil", "true");
    EXPECT_EQ(code.getAttribute("code"), "42");
    EXPECT_THROW(code.setAttribute("undeclared:x", "1"), VbError);
    EXPECT_THROW(code.setAttribute("1bad", "1"), VbError);
    code.removeAttribute("code");
    code.removeAttribute("not-there");
    EXPECT_FALSE(code.hasAttribute("code"));
    EXPECT_EQ(code.xml(), "<code xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xsi:type=\"CE\" empty=\"\" xsi:nil=\"true\"/>");

    // A declaration in use stays; an unused one goes.
    EXPECT_THROW(root.removeAttribute("xmlns:xsi"), VbError);
    root.setAttribute("xmlns:extra", "urn:extra");
    root.removeAttribute("xmlns:extra");
    EXPECT_FALSE(root.hasAttribute("xmlns:extra"));
    EXPECT_THROW(doc.createTextNode("t").setAttribute("a", "1"), VbError);
}

TEST(XmlNodeTest, AttributeNodesMadeByTheDocumentReplaceExistingOnes)
{
    Document doc = documentFrom("<r><e Word2SPLID=\"old\"/></r>");
    const Node e = doc.documentElement().firstChild();
    Node attr = doc.createAttribute("Word2SPLID");
    attr.setText("new & <id>");
    const Node replaced = e.setAttributeNode(attr);
    EXPECT_EQ(replaced.text(), "old");
    EXPECT_EQ(e.getAttribute("Word2SPLID"), "new & <id>");
    EXPECT_EQ(e.attributes().length(), 1);
    EXPECT_EQ(e.xml(), "<e Word2SPLID=\"new &amp; &lt;id&gt;\"/>");
    attr.setText("changed");  // the handle is the attribute on the element now
    EXPECT_EQ(e.getAttribute("Word2SPLID"), "changed");
    EXPECT_THROW(doc.createTextNode("x").setAttributeNode(doc.createAttribute("a")), VbError);
    Document other = documentFrom("<o/>");
    EXPECT_THROW(other.documentElement().setAttributeNode(doc.createAttribute("a")), VbError);

    // The declaration takes an "encoding" attribute node the same way.
    Document withDecl = documentFrom("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a/>");
    Node encoding = withDecl.createAttribute("encoding");
    encoding.setText("UTF-8");
    withDecl.firstChild().setAttributeNode(encoding);
    EXPECT_EQ(withDecl.firstChild().getAttribute("encoding"), "UTF-8");
}

TEST(XmlNodeTest, TreeMutations)
{
    Document doc = documentFrom("<r><a/><b/><c/></r>");
    const Node r = doc.documentElement();
    const Node a = r.firstChild();
    const Node b = a.nextSibling();
    const Node c = r.lastChild();

    const Node n = doc.createElement("n");
    EXPECT_TRUE(n.parentNode().isNull());
    EXPECT_EQ(r.insertBefore(n, b), n);
    EXPECT_EQ(r.xml(), "<r><a/><n/><b/><c/></r>");
    r.insertBefore(c, Node());  // no reference: append; moving within the tree
    r.insertBefore(c, a);
    EXPECT_EQ(r.xml(), "<r><c/><a/><n/><b/></r>");
    const Node old = r.replaceChild(doc.createTextNode("t"), n);
    EXPECT_EQ(old, n);
    EXPECT_TRUE(old.parentNode().isNull());
    EXPECT_EQ(r.xml(), "<r><c/><a/>t<b/></r>");
    // Adjacent text nodes stay separate nodes (handles on them stay valid).
    const Node t2 = r.insertBefore(doc.createTextNode("u"), b);
    EXPECT_EQ(r.childNodes().length(), 5);
    EXPECT_EQ(t2.text(), "u");
    r.removeChild(t2);
    r.removeChild(a);
    EXPECT_EQ(r.xml(), "<r><c/>t<b/></r>");
    a.setAttribute("still", "usable");
    b.appendChild(a);
    EXPECT_EQ(r.xml(), "<r><c/>t<b><a still=\"usable\"/></b></r>");

    EXPECT_THROW(a.appendChild(r), VbError);              // into itself
    EXPECT_THROW(a.appendChild(a), VbError);
    EXPECT_THROW(r.insertBefore(doc.createElement("x"), a), VbError);  // a is not r's child
    EXPECT_THROW(r.removeChild(a), VbError);
    EXPECT_THROW(doc.appendChild(doc.createElement("second")), VbError);
    EXPECT_THROW(doc.appendChild(doc.createTextNode("x")), VbError);
    EXPECT_THROW(doc.createTextNode("x").appendChild(doc.createElement("y")), VbError);
    EXPECT_THROW(r.appendChild(Node()), VbError);
    EXPECT_THROW(Node().nodeName(), VbError);
    EXPECT_THROW(doc.createElement("x:y"), VbError);
    EXPECT_THROW(doc.createElement("a b"), VbError);
    EXPECT_THROW(doc.createComment("a--b"), VbError);
}

TEST(XmlNodeTest, SetTextReplacesChildrenAndKeepsRemovedNodesUsable)
{
    Document doc = documentFrom("<r><p>a<b>bold</b>c</p></r>");
    const Node p = doc.documentElement().firstChild();
    const Node bold = p.childNodes().item(1);
    p.setText("plain");
    EXPECT_EQ(p.xml(), "<p>plain</p>");
    EXPECT_EQ(p.childNodes().length(), 1);
    EXPECT_EQ(bold.text(), "bold");  // taken out, still readable
    EXPECT_TRUE(bold.parentNode().isNull());
    p.setText("");
    EXPECT_FALSE(p.hasChildNodes());
    EXPECT_EQ(p.text(), "");
    EXPECT_THROW(p.setText(QString("bell") + QChar(7)), VbError);
    EXPECT_THROW(doc.asNode().setText("x"), VbError);
}

TEST(XmlNodeTest, CloneAndSnapshots)
{
    Document doc = documentFrom(kSpl);
    const Node section = doc.selectSingleNode("//section");
    const Node deep = section.cloneNode(true);
    const Node shallow = section.cloneNode(false);
    EXPECT_TRUE(deep.parentNode().isNull());
    EXPECT_EQ(deep.ownerDocument(), doc);
    EXPECT_EQ(deep.childNodes().length(), 2);
    EXPECT_FALSE(shallow.hasChildNodes());
    EXPECT_EQ(shallow.getAttribute("ID"), "S1");
    // The copy carries the namespaces it needs, also as text.
    EXPECT_EQ(deep.xml(), "<section xmlns=\"urn:hl7-org:v3\" ID=\"S1\"><title>One</title>"
                          "<code xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" code=\"34067-9\" xsi:type=\"CE\"/>"
                          "</section>");
    section.parentNode().insertBefore(deep, section);
    EXPECT_EQ(doc.selectNodes("//section").length(), 2);
    // Inserted where the namespaces are declared already, it declares nothing again.
    EXPECT_FALSE(doc.xml().contains("<section xmlns"));

    const NodeList before = doc.selectNodes("//section");
    section.parentNode().removeChild(section);
    EXPECT_EQ(before.length(), 2);  // a snapshot
    EXPECT_EQ(before.item(1).getAttribute("ID"), "S1");
    EXPECT_TRUE(before.item(2).isNull());
    EXPECT_TRUE(before.item(-1).isNull());
    EXPECT_EQ(doc.selectNodes("//section").length(), 1);

    const Node code = doc.selectSingleNode("//code");
    const Node attrCopy = code.getAttributeNode("xsi:type").cloneNode(true);
    EXPECT_EQ(attrCopy.nodeName(), "xsi:type");
    EXPECT_EQ(attrCopy.text(), "CE");
}

TEST(XmlNodeTest, NodesMoveBetweenDocumentsWithTheirNamespaces)
{
    Document target = documentFrom(kSpl);
    Node moved;
    {
        Document fragment = documentFrom("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<section xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                                   "<value xsi:type=\"PQ\" value=\"5\"/><text>t</text></section>");
        moved = fragment.documentElement();
    }  // the fragment's Document is gone; its node lives on through the handle
    const Node component = target.selectSingleNode("//component");
    component.appendChild(moved);
    EXPECT_EQ(moved.ownerDocument(), target);
    EXPECT_EQ(moved.parentNode(), component);
    EXPECT_EQ(target.selectNodes("//section").length(), 2);
    EXPECT_EQ(target.selectSingleNode("//value").getAttribute("xsi:type"), "PQ");

    const QString text = target.xml();
    EXPECT_FALSE(text.contains("xmlns=\"\""));  // no-namespace elements under the default namespace
    Document reloaded;
    ASSERT_TRUE(reloaded.loadXml(text)) << reloaded.parseError().reason.toStdString();
    EXPECT_EQ(reloaded.selectSingleNode("//value").namespaceURI(), "urn:hl7-org:v3");
    EXPECT_EQ(reloaded.selectSingleNode("//value").getAttribute("xsi:type"), "PQ");

    // The other way: an HL7 element moved into a document without namespaces keeps its own.
    Document plain = documentFrom("<root/>");
    const Node code = target.selectSingleNode("//code");
    plain.documentElement().appendChild(code);
    EXPECT_EQ(plain.xml(), "<root><code xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                           "code=\"34067-9\" xsi:type=\"CE\"/></root>\n");
    EXPECT_EQ(target.selectNodes("//code").length(), 0);

    // importNode copies and leaves the source alone.
    const Node imported = plain.importNode(target.selectSingleNode("//title"), true);
    EXPECT_EQ(imported.ownerDocument(), plain);
    EXPECT_EQ(target.selectNodes("//title").length(), 1);
    plain.documentElement().appendChild(imported);
    EXPECT_EQ(plain.selectNodes("//title").length(), 1);
}

// A copy keeps its names apart from its source's and from the documents its nodes move to:
// each side is edited, moved from and freed on its own.
TEST(XmlNodeTest, CopiesWriteAsTheirSourceAndTheirNodesLiveOnElsewhere)
{
    const QString withDoctype = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE root>\n<root a=\"1\">x</root>\n");
    const QString topLevel = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- before -->\n<?pi data?>\n") +
                             QString::fromLatin1(kSpl).section(QLatin1Char('\n'), 1) + QStringLiteral("<!-- after -->\n");
    for (const QString& text : {QString::fromLatin1(kSpl), topLevel, withDoctype}) {
        const Document source = documentFrom(text);
        Document copy;
        copy.loadCopy(source);
        EXPECT_EQ(copy.xml(), source.xml());
        EXPECT_EQ(copy.hasDeclaration(), source.hasDeclaration());
    }

    Document plain = documentFrom("<root/>");
    Node moved;
    Node removed;
    {
        Document source = documentFrom(kSpl);
        Document copy;
        copy.loadCopy(source);
        source = documentFrom("<other/>");  // the source goes first
        const Node section = copy.selectSingleNode("//section");
        section.setAttribute("ID", "S2");
        section.appendChild(copy.createElement("excerpt"));
        copy.documentElement().appendChild(copy.importNode(plain.documentElement(), true));
        removed = section.selectSingleNode("title");
        section.removeChild(removed);
        moved = section;
        plain.documentElement().appendChild(moved);
        EXPECT_EQ(copy.xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<document xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                              "<component/><root/></document>\n");
    }  // the copy's Document is gone
    EXPECT_EQ(plain.xml(), "<root><section xmlns=\"urn:hl7-org:v3\" ID=\"S2\"><code xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                           "code=\"34067-9\" xsi:type=\"CE\"/><excerpt/></section></root>\n");
    EXPECT_EQ(removed.nodeName(), "title");
    EXPECT_EQ(removed.text(), "One");
    plain.documentElement().removeChild(moved);
    EXPECT_EQ(plain.xml(), "<root/>\n");
}

TEST(XmlNodeTest, NodesOutliveDocumentHandlesAndReloads)
{
    Node title;
    Node attr;
    {
        Document doc = documentFrom(kSpl);
        title = doc.selectSingleNode("//title");
        attr = doc.selectSingleNode("//section/@ID");
        Document copy = doc;
        EXPECT_TRUE(copy.loadXml("<other/>"));  // both handles see the reload
        EXPECT_EQ(doc.documentElement().nodeName(), "other");
    }
    EXPECT_EQ(title.text(), "One");
    EXPECT_EQ(attr.text(), "S1");
    EXPECT_EQ(title.ownerDocument().documentElement().nodeName(), "document");

    Document doc;
    EXPECT_TRUE(doc.documentElement().isNull());
    EXPECT_FALSE(doc.hasChildNodes());
    doc.appendChild(doc.createElement("root"));
    EXPECT_EQ(doc.xml(), "<root/>\n");
    EXPECT_FALSE(doc.loadXml("<broken"));
    EXPECT_TRUE(doc.documentElement().isNull());  // a failed load leaves an empty document
}

// An imported subtree names the declarations in scope where it is inserted when they declare
// what its own label did, and declares what they do not; declarations within it stay its own.
TEST(XmlNodeTest, ImportedSubtreesNameTheDeclarationsInScopeWhereTheyAreInserted)
{
    const QString hl7 = "xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"urn:xsi\"";
    const struct {
        QString source;
        QString target;
        QString inserted;
    } rows[] = {
        {"<document " + hl7 + " xmlns:p0=\"urn:0\" xmlns:p1=\"urn:1\"><c><v xsi:type=\"PQ\"/></c></document>",
         "<document " + hl7 + "><b/></document>", "<document " + hl7 + "><b><c><v xsi:type=\"PQ\"/></c></b></document>"},
        {"<document " + hl7 + "><c><v xsi:type=\"PQ\"/></c></document>", "<document xmlns=\"urn:hl7-org:v3\"><b/></document>",
         "<document xmlns=\"urn:hl7-org:v3\"><b><c><v xmlns:xsi=\"urn:xsi\" xsi:type=\"PQ\"/></c></b></document>"},
        {"<r xmlns:p=\"urn:a\"><c><p:x/><t xmlns:p=\"urn:b\"><p:y/></t></c></r>", "<q xmlns:p=\"urn:a\"><b/></q>",
         "<q xmlns:p=\"urn:a\"><b><c><p:x/><t xmlns:p=\"urn:b\"><p:y/></t></c></b></q>"},
        {"<r xmlns:p=\"urn:a\"><c><p:x/></c></r>", "<q xmlns:p=\"urn:other\"><b/></q>",
         "<q xmlns:p=\"urn:other\"><b><c><p:x xmlns:p=\"urn:a\"/></c></b></q>"},
    };
    for (const auto& row : rows) {
        const Document source = documentFrom(row.source);
        const Document target = documentFrom(row.target);
        const Node body = target.documentElement().firstChild();
        body.appendChild(target.importNode(source.documentElement().firstChild(), true));
        EXPECT_EQ(target.xml(), row.inserted + "\n") << row.source.toStdString();
    }
}

TEST(XmlNodeTest, RemovedNodesKeepTheirNamespacesWhenTheirFormerAncestorsGo)
{
    Document doc = documentFrom("<r><a xmlns:p=\"urn:p\"><s x=\"1\"><p:c p:y=\"2\"/></s></a></r>");
    const Node a = doc.documentElement().firstChild();
    const Node s = a.removeChild(a.firstChild());
    doc.documentElement().setText("gone");  // frees a, which declared p
    EXPECT_EQ(s.xml(), "<s x=\"1\"><p:c xmlns:p=\"urn:p\" p:y=\"2\"/></s>");
    doc.documentElement().appendChild(s);
    EXPECT_EQ(doc.xml(), "<r>gone<s x=\"1\"><p:c xmlns:p=\"urn:p\" p:y=\"2\"/></s></r>\n");
    EXPECT_EQ(s.selectSingleNode("*").namespaceURI(), "urn:p");
}
