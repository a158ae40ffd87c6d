#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <algorithm>
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

// The words of a document as a reader of the rendered page sees them: text runs on through
// the inline elements of narrative text and breaks at every other element.
void collectWords(xmlNodePtr node, QString& text)
{
    static const QStringList inlineNames{"content", "linkHtml", "sub", "sup", "footnoteRef"};
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            text += QString::fromUtf8(reinterpret_cast<const char*>(child->content));
        } else if (child->type == XML_ELEMENT_NODE) {
            const bool breaks = !inlineNames.contains(QString::fromUtf8(reinterpret_cast<const char*>(child->name)));
            text += breaks ? QStringLiteral(" ") : QString();
            collectWords(child, text);
            text += breaks ? QStringLiteral(" ") : QString();
        }
    }
}

QStringList wordsOf(const QByteArray& xmlText)
{
    xmlDocPtr doc = xmlReadMemory(xmlText.constData(), int(xmlText.size()), nullptr, nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_HUGE);
    EXPECT_NE(doc, nullptr);
    QString text;
    if (doc)
        collectWords(reinterpret_cast<xmlNodePtr>(doc), text);
    xmlFreeDoc(doc);
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// "" when the two read alike, else where they part: the word read, the word expected and
// the words before it.
std::string firstDifference(const QStringList& read, const QStringList& expected)
{
    for (qsizetype i = 0; i < std::max(read.size(), expected.size()); ++i)
        if (read.value(i) != expected.value(i))
            return (read.value(i) + " for " + expected.value(i) + " after "
                    + expected.mid(std::max<qsizetype>(0, i - 8), std::min<qsizetype>(i, 8)).join(' '))
                .toStdString();
    return {};
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

TEST(XmlFixtureTest, EveryLabelReadsWordForWordAfterALoadAndSave)
{
    for (const QString& path : veldra::test::splDocumentFiles()) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList original = wordsOf(file.readAll());
        ASSERT_FALSE(original.isEmpty());
        Document doc;
        ASSERT_TRUE(doc.load(path));
        for (Layout layout : {Layout::AsIs, Layout::Indented})
            EXPECT_EQ(firstDifference(wordsOf(doc.xml(layout).toUtf8()), original), "");
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
