// A cursor reads the tree as the node handles show it, on real labels, and a lookup on
// nothing gives nothing all along a chain.
#include "platform/core/VbError.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/NodeList.h"
#include "platform/xml/tree/UnorderedWalk.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <vector>

using namespace veldra::xml;
using veldra::test::fixture;

namespace {

// Each element with its attributes and its text nodes, one line each, as the handles read them.
void describeByHandles(const Node& element, QStringList& lines)
{
    QString line = element.nodeName();
    for (const Node& attribute : element.attributes())
        if (!attribute.nodeName().startsWith(QLatin1String("xmlns")))
            line += QLatin1Char(' ') + attribute.nodeName() + QLatin1Char('=') + attribute.text();
    for (Node child = element.firstChild(); child; child = child.nextSibling())
        if (child.nodeType() == NodeType::Text || child.nodeType() == NodeType::CData)
            line += QLatin1Char('|') + child.text();
    lines << line;
    for (Node child = element.firstChild(); child; child = child.nextSibling())
        if (child.nodeType() == NodeType::Element)
            describeByHandles(child, lines);
}

QStringList describeByCursor(const Document& doc)
{
    QStringList lines;
    forEachElement(Cursor(doc.asNode()), [&lines](Cursor element) {
        QString line = element.qualifiedName();
        for (Cursor attribute = element.firstAttribute(); attribute; attribute = attribute.nextAttribute())
            line += QLatin1Char(' ') + attribute.qualifiedName() + QLatin1Char('=') + attribute.text();
        for (Cursor child = element.firstChild(); child; child = child.nextSibling())
            if (child.type() == NodeType::Text || child.type() == NodeType::CData)
                line += QLatin1Char('|') + child.text();
        lines << line;
    });
    return lines;
}

} // namespace

TEST(CursorTest, AWalkReadsWhatTheHandlesRead)
{
    for (const char* label : {"spl-documents/openfda-lipitor-rx/lipitor-orig.xml", "spl-documents/openfda-cough-otc/cough.xml"}) {
        SCOPED_TRACE(label);
        Document doc;
        ASSERT_TRUE(doc.load(fixture(label)));
        QStringList expected;
        describeByHandles(doc.documentElement(), expected);
        EXPECT_EQ(describeByCursor(doc), expected);

        const Node section = doc.selectSingleNode(QStringLiteral("document/component/structuredBody/component/section"));
        const Cursor found = Cursor(doc.documentElement()).child("component").child("structuredBody").child("component").child("section");
        EXPECT_EQ(found.node(), section);
        EXPECT_EQ(found.text(), section.text());
        EXPECT_EQ(Cursor(section).parent().node(), section.parentNode());
        int components = 0;
        for (const Cursor component : Cursor(doc.documentElement()).child("component").child("structuredBody").children("component"))
            components += component.isNamed("component") ? 1 : 0;
        EXPECT_EQ(components, doc.selectNodes(QStringLiteral("document/component/structuredBody/component")).length());
    }
}

TEST(CursorTest, AWalkStopsWhereItsVisitSaysAndStaysInItsSubtree)
{
    Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral(
        "<?xml version='1.0'?><a xmlns:x='urn:x'><b x:k='1' k='2'>t<c/><!--n--></b><d><e/></d><f/></a>")));
    const Cursor b = Cursor(doc.documentElement()).child("b");
    QStringList seen;
    forEachElement(Cursor(doc.documentElement()), [&seen](Cursor element) {
        seen << QString::fromUtf8(element.localName());
        return !element.isNamed("e");
    });
    EXPECT_EQ(seen, QStringList({"a", "b", "c", "d", "e"}));
    seen.clear();
    forEachElement(b, [&seen](Cursor element) { seen << QString::fromUtf8(element.localName()); });
    EXPECT_EQ(seen, QStringList({"b", "c"}));
    EXPECT_EQ(b.attributeValue("k"), QStringLiteral("2"));  // the one in no namespace
    EXPECT_STREQ(b.firstAttribute().prefix(), "x");
    EXPECT_TRUE(b.attributeValue("z").isNull());
    EXPECT_EQ(b.nextElement().qualifiedName(), QStringLiteral("d"));
    EXPECT_EQ(b.nextElement("f").qualifiedName(), QStringLiteral("f"));
    EXPECT_TRUE(Cursor(doc.documentElement()).declaresNamespaces());
}

// The walk in no order reaches every element the ordered walk reaches, each once, and no other.
TEST(CursorTest, AWalkInNoOrderVisitsEachElementOfItsSubtreeOnce)
{
    for (const char* label : {"spl-documents/openfda-lipitor-rx/lipitor-orig.xml", "spl-documents/openfda-cough-otc/cough.xml"}) {
        Document doc;
        ASSERT_TRUE(doc.load(fixture(label)));
        const Cursor section(doc.selectSingleNode(QStringLiteral("document/component/structuredBody/component/section")));
        const struct {
            const char* what;
            Cursor root;
        } roots[] = {
            {"the document", Cursor(doc.asNode())},
            {"the document element", Cursor(doc.documentElement())},
            {"a section with sections after it", section},
            {"an element without children", section.child("id")},
        };
        for (const auto& row : roots) {
            SCOPED_TRACE(std::string(label) + ": " + row.what);
            std::vector<Cursor> ordered;
            forEachElement(row.root, [&ordered](Cursor element) { ordered.push_back(element); });
            std::vector<Cursor> unordered;
            forEachElementUnordered(row.root, [&unordered](const Cursor& element) {
                unordered.push_back(element);
                return true;
            });
            EXPECT_EQ(unordered.size(), ordered.size());
            EXPECT_EQ(QSet<Cursor>(unordered.begin(), unordered.end()), QSet<Cursor>(ordered.begin(), ordered.end()));
            // A visit that says stop is the last one.
            int visits = 0;
            forEachElementUnordered(row.root, [&visits](const Cursor&) { return ++visits < 3; });
            EXPECT_EQ(visits, std::min<int>(3, int(ordered.size())));
        }
    }
}

// A missing node is a null cursor, and every lookup on it gives nothing again.
TEST(CursorTest, LookupsOnNothingGiveNothing)
{
    Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral("<?xml version='1.0'?><a xmlns:x='urn:x'><b/></a>")));
    const Cursor none = Cursor(doc.documentElement()).child("missing");
    const struct {
        const char* what;
        Cursor cursor;
    } nulls[] = {
        {"missing child", none},
        {"its child", none.child("b")},
        {"its parent", none.parent()},
        {"its attribute", none.attribute("k")},
        {"its next element", none.nextElement()},
        {"a null handle", Cursor(Node())},
        {"the declaration", Cursor(doc.firstChild())},
        {"a namespace declaration", Cursor(doc.documentElement().getAttributeNode(QStringLiteral("xmlns:x")))},
    };
    for (const auto& row : nulls) {
        SCOPED_TRACE(row.what);
        EXPECT_TRUE(row.cursor.isNull());
        EXPECT_TRUE(row.cursor.node().isNull());
        EXPECT_FALSE(row.cursor.isElement());
        EXPECT_STREQ(row.cursor.localName(), "");
        EXPECT_EQ(row.cursor.text(), QString(""));
        EXPECT_TRUE(row.cursor.attributeValue("k").isNull());
        EXPECT_FALSE(row.cursor.children().begin() != row.cursor.children().end());
        int visited = 0;
        forEachElement(row.cursor, [&visited](Cursor) { ++visited; });
        forEachElementUnordered(row.cursor, [&visited](const Cursor&) { return ++visited > 0; });
        EXPECT_EQ(visited, 0);
    }
}

// The UTF-8 write stores exactly what setAttribute stores, whichever road it takes, and
// refuses what setAttribute refuses.
TEST(CursorTest, AttributesWrittenInUtf8AreStoredAsSetAttributeStoresThem)
{
    const struct {
        const char* name;
        const char* value;
    } rows[] = {
        {"Word2SPLID", "Product 1a2b-3c"},  // the plain road
        {"k", "line\r\nbreak\rend"},        // line breaks become LF
        {"k", "tab\tand \xef\xbc\xa1"},     // a tab, a fullwidth letter
        {"x:k", "prefixed"},                // a declared prefix
        {"k", "<&\"'>"},
        {"k", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Document doc;
        ASSERT_TRUE(doc.loadXml(QStringLiteral("<a xmlns:x='urn:x'><b/><b/></a>")));
        const Node first = doc.documentElement().firstChild();
        const Node second = first.nextSibling();
        first.setAttributeUtf8(row.name, QByteArray(row.value));
        second.setAttribute(QString::fromUtf8(row.name), QString::fromUtf8(row.value));
        EXPECT_EQ(first.xml(), second.xml());
        EXPECT_EQ(Cursor(first).firstAttribute().textUtf8(), second.getAttribute(QString::fromUtf8(row.name)).toUtf8());
    }
    Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral("<a><b/></a>")));
    EXPECT_THROW(doc.documentElement().setAttributeUtf8("k", QByteArray("bell\x07")), veldra::VbError);
    EXPECT_THROW(doc.documentElement().setAttributeUtf8("1bad", QByteArray("v")), veldra::VbError);
    EXPECT_THROW(doc.createTextNode(QStringLiteral("t")).setAttributeUtf8("k", QByteArray("v")), veldra::VbError);
    EXPECT_THROW(Node().setAttributeUtf8("k", QByteArray("v")), veldra::VbError);
    const Cursor a(doc.documentElement());
    EXPECT_TRUE(a.precedes(a.child("b")));
    EXPECT_FALSE(a.child("b").precedes(a));
}
