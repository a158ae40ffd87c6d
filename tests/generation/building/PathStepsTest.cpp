// Paths and conditions answered without the query engine must select exactly what the query
// engine selects: every case is checked against it on one document, for every element.
#include "generation/building/BuildIndex.h"
#include "generation/building/PathSteps.h"
#include "generation/building/StepPredicate.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/NodeList.h"
#include "platform/xml/tree/RemovalBatch.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace veldra;

namespace {

const QString sample = QStringLiteral(
    "<doc xmlns='urn:hl7-org:v3' xmlns:o='urn:other'>"
    "<section><code code='48780-1'/><subject><p><m>a</m></p></subject><subject/><o:subject/></section>"
    "<section><code code='34067-9' o:code='48780-1'/><title>T <b>bold</b></title>"
    "<subject><p><m/></p></subject></section>"
    "<Product xmlns=''><Name> </Name><Unit>mg</Unit><Amount>5</Amount><Amount></Amount>"
    "<and>x</and><Note/><Memo>a<!--c-->b</Memo><Memo><![CDATA[x]]></Memo></Product>"
    "<item styleCode='bold'>b</item><item>c</item><item styleCode=''/></doc>");

QList<xml::Node> elementsOf(const xml::Document& document)
{
    QList<xml::Node> elements;
    for (const xml::Node& node : document.selectNodes(QStringLiteral("//*")))
        elements << node;
    return elements;
}

bool listed(const xml::NodeList& nodes, const xml::Node& node)
{
    for (const xml::Node& candidate : nodes)
        if (candidate == node)
            return true;
    return false;
}

} // namespace

TEST(PathStepsTest, ConditionsHoldWhereTheQueryEngineSelects)
{
    xml::Document document;
    ASSERT_TRUE(document.loadXml(sample));
    const QStringList conditions{
        QStringLiteral("code/@code='48780-1'"),
        QStringLiteral("code/@code = \"34067-9\""),
        QStringLiteral("not(p/m/*)"),
        QStringLiteral("not(p/*)"),
        QStringLiteral("p/m"),
        QStringLiteral(".!=''"),
        QStringLiteral(".=''"),
        QStringLiteral(". != ' '"),
        QStringLiteral(".='x'"),
        QStringLiteral("../Memo='ab'"),
        QStringLiteral("../Unit!=''"),
        QStringLiteral("../Amount=''"),
        QStringLiteral("../Amount!='' and ../Unit='mg'"),
        QStringLiteral("../Note!='' or ../Unit='g' or ../Amount='5'"),
        QStringLiteral("not(../Unit='mg' and (../Amount='6' or ../Name=' '))"),
        QStringLiteral("@styleCode"),
        QStringLiteral("not(@styleCode)"),
        QStringLiteral("@styleCode='bold'"),
        QStringLiteral("@styleCode!='bold'"),
        QStringLiteral("title='T bold'"),
        QStringLiteral("*/code"),
        QStringLiteral("../../section/subject"),
        QStringLiteral("and"),
        QStringLiteral("and='x' or not(and)"),
        QStringLiteral("subject"),
    };
    for (const QString& condition : conditions) {
        SCOPED_TRACE(condition.toStdString());
        const std::optional<StepPredicate> predicate = StepPredicate::parse(condition);
        ASSERT_TRUE(predicate);
        int holding = 0;
        for (const xml::Node& element : elementsOf(document)) {
            const xml::Node parent = element.parentNode();
            const bool selected = listed(parent.selectNodes(QStringLiteral("*[") + condition + QLatin1Char(']')), element);
            EXPECT_EQ(predicate->holds(xml::Cursor(element)), selected) << element.nodeName().toStdString();
            holding += selected;
        }
        EXPECT_GT(holding, 0);  // each case selects something, so it tests something
    }
}

TEST(PathStepsTest, ConditionsThatDependOnMoreThanTheNodeAreLeftToTheQueryEngine)
{
    for (const char* condition : {"0", "1", "(0)", "last()", "position()=1", "o:code", "@o:code='x'", "text()", "//code",
                                  "/doc", "code[@code]", "code=title", "'x'=.", "@code/x", "count(x)", "a|b", "", "x=",
                                  "not(x", ".5", "@xmlns"})
        EXPECT_FALSE(StepPredicate::parse(QString::fromLatin1(condition))) << condition;
}

TEST(PathStepsTest, AStepWithTextBetweenItsConditionsIsRefusedAsByTheQueryEngine)
{
    xml::Document document;
    ASSERT_TRUE(document.loadXml(sample));
    const xml::Node root = document.documentElement().parentNode();
    EXPECT_ANY_THROW(document.selectNodes(QStringLiteral("doc/item[@styleCode]x[.='b']")));
    EXPECT_ANY_THROW(firstMatch(root, QStringLiteral("doc/item[@styleCode]x[.='b']")));
    // As a query from no node at all.
    EXPECT_ANY_THROW(firstMatch(xml::Node(), QStringLiteral("doc/item")));
    EXPECT_ANY_THROW(allMatches(xml::Node(), QStringLiteral("doc/item")));
}

TEST(PathStepsTest, PathsMatchAsTheQueryEngineSelects)
{
    xml::Document document;
    ASSERT_TRUE(document.loadXml(sample));
    document.setSelectionNamespaces({{QStringLiteral("o"), QStringLiteral("urn:other")}});
    const xml::Node root = document.documentElement().parentNode();
    const QStringList paths{
        QStringLiteral("doc/section[code/@code='48780-1']/subject"),
        QStringLiteral("doc/section/subject[not(p/m/*)]"),
        QStringLiteral("doc/section[1]/subject"),
        QStringLiteral("doc/section/subject[0]"),
        QStringLiteral("doc/*/subject/p"),
        QStringLiteral("doc/Product/Amount[.!='']"),
        QStringLiteral("doc/item[not(@styleCode)]"),
        QStringLiteral("doc/item[@styleCode='bold'][.='b']"),
        QStringLiteral("doc/section/o:subject"),
        QStringLiteral("doc//m"),
        QStringLiteral("doc/section/subject/."),
        QStringLiteral("doc/nothing"),
        QStringLiteral("doc/item[@styleCode='bold' or .=\"c]/['\"]"),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const xml::NodeList expected = document.selectNodes(path);
        const QList<xml::Node> matches = allMatches(root, path);
        ASSERT_EQ(matches.size(), expected.length());
        for (int i = 0; i < expected.length(); ++i)
            EXPECT_EQ(matches[i], expected.item(i));
        EXPECT_EQ(firstMatch(root, path), document.selectSingleNode(path));
        const LocationPath compiled(path);
        for (const xml::Node& element : elementsOf(document)) {
            EXPECT_EQ(matchesPath(element, root, path), listed(expected, element)) << element.nodeName().toStdString();
            EXPECT_EQ(compiled.matches(element, root), listed(expected, element)) << element.nodeName().toStdString();
        }
    }
    // All of them at once, in one walk where they are names and conditions.
    const std::vector<std::vector<xml::Cursor>> each = matchingNodesOfEach(document, paths);
    ASSERT_EQ(each.size(), size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        std::vector<xml::Cursor> selected;
        for (const xml::Node& node : document.selectNodes(paths[i]))
            selected.push_back(xml::Cursor(node));
        EXPECT_EQ(each[size_t(i)], selected) << paths[i].toStdString();
    }
}

// Paths asked after one prefix while nodes are taken out: the prefix's matches are kept only
// while nothing taken out lies at the levels its steps and conditions look at, and rests given
// at the start, found in one walk, only while nothing taken out is below a node a condition of
// theirs looks at (here the p taken out of a subject that "subject[p]" tests, but not
// "subject[not(q)]").
TEST(PathStepsTest, PathsAfterAKeptPrefixMatchAsTheWholePathWhileNodesAreTakenOut)
{
    xml::Document document;
    ASSERT_TRUE(document.loadXml(QStringLiteral(
        "<doc><section><code/><subject k='v'><p/></subject></section><section><subject><p/><p/></subject></section>"
        "<section><code code='x'/><subject><p><m/></p></subject></section></doc>")));
    const QStringList rests{QStringLiteral("subject"), QStringLiteral("subject/p"), QStringLiteral("p"),
                            QStringLiteral("*"), QStringLiteral("subject[not(q)]/p"), QStringLiteral("subject[@k='v']/p"),
                            QStringLiteral("."), QStringLiteral("subject/p/m")};
    const QStringList lookingAtP = rests + QStringList{QStringLiteral("subject[p]")};
    const QStringList withDeepCondition = lookingAtP + QStringList{QStringLiteral("subject[p/m]")};
    for (const QStringList& announced : {QStringList(), rests, lookingAtP, withDeepCondition}) {
        for (const QString& prefix : {QStringLiteral("doc/section[not(code)]"), QStringLiteral("doc/section[code/@code='x']"),
                                      QStringLiteral("doc/section/subject[p/m]"), QStringLiteral("doc/section")}) {
            SCOPED_TRACE((prefix + QStringLiteral(" after ") + announced.join(QLatin1Char(','))).toStdString());
            xml::Document copy;
            ASSERT_TRUE(copy.loadXml(document.xml()));
            const xml::Node start = copy.documentElement().parentNode();
            PrefixedPaths paths(start, prefix, announced);
            xml::RemovalBatch removed;  // kept until the end, as a pass keeps what it took out
            std::vector<Removal> removals;
            // Each step takes out the first node at a path, then asks the prefix and the rests again.
            for (const QString& taken : {QString(), QStringLiteral("doc/section/subject/p/m"), QStringLiteral("doc/section/code"),
                                         QStringLiteral("doc/section/subject/p"), QStringLiteral("doc/section/code")}) {
                if (!taken.isEmpty()) {
                    const xml::Cursor node(copy.selectSingleNode(taken));
                    removals.push_back(Removal{node, node.depth(), node.parent()});
                    removed.remove(node);
                }
                EXPECT_EQ(paths.prefixMatches(std::exchange(removals, {})), matchingNodes(start, prefix));
                for (const QString& rest : withDeepCondition) {
                    SCOPED_TRACE((taken + QStringLiteral(" then ") + rest).toStdString());
                    const std::vector<xml::Cursor> whole = matchingNodes(start, prefix + QLatin1Char('/') + rest);
                    EXPECT_EQ(paths.matches(rest, {}), whole);
                }
            }
        }
    }
}
