#include "platform/xml/Document.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <functional>

using namespace veldra::xml;
using veldra::test::fixture;

namespace {

// What plain libxml2 XPath with local-name() tests selects in the file: the string values.
QStringList plainXPathValues(const QString& path, const char* xpath)
{
    xmlDocPtr doc = xmlReadFile(QFile::encodeName(path).constData(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR);
    EXPECT_NE(doc, nullptr);
    QStringList values;
    if (!doc)
        return values;
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(xpath), ctx);
    if (result && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            xmlChar* value = xmlNodeGetContent(result->nodesetval->nodeTab[i]);
            values << QString::fromUtf8(reinterpret_cast<const char*>(value));
            xmlFree(value);
        }
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
    return values;
}

QStringList texts(const NodeList& nodes)
{
    QStringList values;
    for (const Node& node : nodes)
        values << node.text();
    return values;
}

// A structural description of the tree: kind, name, namespace, sorted attributes, text.
QString signature(const Node& node)
{
    QString out;
    std::function<void(const Node&, int)> walk = [&](const Node& n, int depth) {
        QStringList attributes;
        for (const Node& attr : n.attributes())
            attributes << attr.nodeName() + "=" + attr.text();
        attributes.sort();
        out += QString(depth, ' ') + QString::number(int(n.nodeType())) + " " + n.nodeName() + " {"
            + n.namespaceURI() + "} " + attributes.join(' ');
        if (n.nodeType() != NodeType::Element && n.nodeType() != NodeType::Document)
            out += " [" + n.text() + "]";
        out += "\n";
        for (const Node& child : n.childNodes())
            walk(child, depth + 1);
    };
    walk(node, 0);
    return out;
}

} // namespace

TEST(XmlFixtureTest, RealSplDocumentsLoadAndQueryLikePlainXPath)
{
    const QStringList files = veldra::test::splDocumentFiles();
    ASSERT_GE(files.size(), 10);
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        Document doc;
        ASSERT_TRUE(doc.load(path)) << doc.parseError().reason.toStdString();
        EXPECT_EQ(doc.hasDeclaration(), veldra::test::readTextFile(path).startsWith("<?xml "));
        EXPECT_EQ(doc.documentElement().nodeName(), "document");
        EXPECT_EQ(doc.documentElement().namespaceURI(), "urn:hl7-org:v3");

        EXPECT_EQ(doc.selectNodes("//section").length(),
                  plainXPathValues(path, "//*[local-name()='section']").size());
        EXPECT_EQ(texts(doc.selectNodes("//section/code/@code")),
                  plainXPathValues(path, "//*[local-name()='section']/*[local-name()='code']/@code"));
        EXPECT_EQ(texts(doc.selectNodes("//manufacturedProduct/name")),
                  plainXPathValues(path, "//*[local-name()='manufacturedProduct']/*[local-name()='name']"));

        const NodeList components = doc.selectNodes("document/component/structuredBody/component");
        const Node second = doc.selectSingleNode("document/component/structuredBody/component[1]");
        if (components.length() >= 2) {
            EXPECT_EQ(second, components.item(1));
            EXPECT_EQ(second.previousSibling(), doc.selectSingleNode("document/component/structuredBody/component[0]"));
        }
    }
}

TEST(XmlFixtureTest, CountsMatchXmllint)
{
    // Values from xmllint --xpath with local-name() tests on the same files.
    Document lipitor;
    ASSERT_TRUE(lipitor.load(fixture("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    EXPECT_EQ(lipitor.selectNodes("//section").length(), 110);
    EXPECT_EQ(lipitor.selectNodes("//section/code/@code").length(), 110);
    EXPECT_EQ(lipitor.selectNodes("//manufacturedProduct/name").length(), 4);
    EXPECT_EQ(lipitor.selectNodes("/document/component/structuredBody/component").length(), 38);
    Document cough;
    ASSERT_TRUE(cough.load(fixture("spl-documents/openfda-cough-otc/cough.xml")));
    EXPECT_EQ(cough.selectNodes("//section").length(), 19);
    EXPECT_EQ(cough.selectNodes("document/component/structuredBody/component").length(), 11);
}

TEST(XmlFixtureTest, RoundTripsGiveTheSameTree)
{
    for (const QString& path : veldra::test::splDocumentFiles()) {
        SCOPED_TRACE(path.toStdString());
        Document doc;
        ASSERT_TRUE(doc.load(path));
        const QString original = signature(doc.asNode());
        for (Layout layout : {Layout::AsIs, Layout::Indented}) {
            Document again;
            ASSERT_TRUE(again.loadXml(doc.xml(layout))) << again.parseError().reason.toStdString();
            EXPECT_EQ(signature(again.asNode()), original);
        }
    }
}

TEST(XmlFixtureTest, NarrativeSpacesSurviveLoading)
{
    Document lipitor;
    ASSERT_TRUE(lipitor.load(fixture("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    // "<br/> <br/>LIPITOR<sup>®</sup> (atorvastatin calcium)" in the document title.
    EXPECT_TRUE(lipitor.selectSingleNode("/document/title").text().contains(QString("LIPITOR") + QChar(0xAE)
                                                                            + " (atorvastatin calcium)"));
    // Element-only content has no whitespace nodes left.
    const Node author = lipitor.selectSingleNode("/document/author");
    EXPECT_EQ(author.firstChild().nodeName(), "time");
    EXPECT_EQ(lipitor.selectNodes("/document/author//text()").length(),
              lipitor.selectNodes("/document/author//name").length());
}
