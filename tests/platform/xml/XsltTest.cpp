#include "platform/xml/tree/Document.h"
#include "platform/xml/LocalHttpServer.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "support/Fixtures.h"
#include "support/LibxmlAllocations.h"
#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

using namespace veldra::xml;
using veldra::test::fixture;
using veldra::test::TempDir;
using veldra::test::writeTextFile;

namespace {

const QString splStylesheet = QStringLiteral("http://www.accessdata.fda.gov/spl/stylesheet/spl.xsl");

// Text without any whitespace: line breaks in titles become <br> in HTML and vanish in text().
QString withoutBlanks(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{00A0}]+"));
    return text.remove(blanks);
}

// The document title and the section titles of an SPL document, as plain text.
QStringList titlesOf(xmlDocPtr doc)
{
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    xmlXPathRegisterNs(context, BAD_CAST "v3", BAD_CAST "urn:hl7-org:v3");
    xmlXPathObjectPtr found =
        xmlXPathEvalExpression(BAD_CAST "/v3:document/v3:title | //v3:section/v3:title", context);
    QStringList titles;
    for (int i = 0; found->nodesetval && i < found->nodesetval->nodeNr; ++i) {
        xmlChar* text = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
        const QString title = withoutBlanks(QString::fromUtf8(reinterpret_cast<const char*>(text)));
        xmlFree(text);
        if (!title.isEmpty())
            titles << title;
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(context);
    return titles;
}

QString htmlText(const QString& html)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.remove(tags);
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).remove(QStringLiteral("&nbsp;"));
    return withoutBlanks(text);
}

class XsltTest : public ::testing::Test {
protected:
    void SetUp() override { setLocalRootForTesting(ResourceKind::Stylesheet, fixture("spl-stylesheet-6.2")); }
    void TearDown() override { setLocalRootForTesting(ResourceKind::Stylesheet, {}); }

    QString stylesheet(const QString& name, const QString& body)
    {
        const QString path = temp_.file(name);
        writeTextFile(path, QStringLiteral(R"~(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
 xmlns:exsl="http://exslt.org/common" xmlns:str="http://exslt.org/strings" extension-element-prefixes="exsl str">%1</xsl:stylesheet>)~")
                                  .arg(body));
        return path;
    }

    TempDir temp_;
    XsltProcessor xslt_;
};

} // namespace

TEST_F(XsltTest, TheSplStylesheetRendersEveryRealDocumentWithItsTitles)
{
    const QString css = QUrl::fromLocalFile(fixture("spl-stylesheet-6.2/spl.css")).toString();
    int rendered = 0;
    for (const QString& path : veldra::test::splDocumentFiles()) {
        Document doc;
        ASSERT_TRUE(doc.load(path)) << path.toStdString();
        const XsltResult result = xslt_.transformDocument(splStylesheet, doc, {{"css", css}});
        ASSERT_TRUE(result.ok()) << path.toStdString() << ": " << result.problem.toStdString();
        EXPECT_TRUE(result.text.contains("<html")) << path.toStdString();
        EXPECT_TRUE(result.text.contains(css));
        const QString text = htmlText(result.text);
        for (const QString& title : titlesOf(doc.raw()))
            EXPECT_TRUE(text.contains(title)) << path.toStdString() << ": " << title.toStdString();
        ++rendered;
    }
    EXPECT_GE(rendered, 10);
}

TEST_F(XsltTest, ParametersArePassedAsStringsWhateverQuotesTheyHold)
{
    const QString sheet = stylesheet("params.xsl", R"~(<xsl:param name="p"/><xsl:param name="q"/>
<xsl:template match="/"><r><xsl:value-of select="concat($p, '|', $q)"/></r></xsl:template>)~");
    const XsltResult result = xslt_.transformXml(sheet, "<x/>", {{"p", R"~(It's "quoted")~"}, {"q", "1 + 1"}});
    ASSERT_TRUE(result.ok()) << result.problem.toStdString();
    EXPECT_TRUE(result.text.contains(R"~(<r>It's "quoted"|1 + 1</r>)~")) << result.text.toStdString();
}

// A stylesheet whose lookups grow with the square of its input is stopped at the processor's
// step limit, well before its end; under the limit, or without one, it runs to its end.
TEST_F(XsltTest, AStepLimitStopsAQuadraticStylesheet)
{
    const QString sheet = stylesheet("quadratic.xsl", R"~(<xsl:template match="/"><r><xsl:for-each select="//a">
<xsl:value-of select="count(preceding::a)"/>,</xsl:for-each></r></xsl:template>)~");
    const QString input = QStringLiteral("<x>%1</x>").arg(QStringLiteral("<a/>").repeated(2000));
    const struct {
        unsigned long steps;
        XsltResult::Outcome outcome;
    } rows[] = {{0, XsltResult::Outcome::Done},
                {100'000, XsltResult::Outcome::StepLimit},
                {100'000'000, XsltResult::Outcome::Done}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        const XsltResult result = XsltProcessor(row.steps).transformXml(sheet, input);
        EXPECT_EQ(result.outcome, row.outcome) << result.problem.toStdString();
        EXPECT_EQ(result.text.contains(QStringLiteral(",1999,")), row.outcome == XsltResult::Outcome::Done);
    }
}

// Comments and processing instructions at every level (before the document element, deep
// inside, last of all, one after another) are left out of what the stylesheet sees; the
// other nodes, whitespace included, stay as they were.
TEST_F(XsltTest, ACopyWithoutCommentsOrInstructionsKeepsEveryOtherNode)
{
    const QString sheet = stylesheet("copy.xsl", R"~(<xsl:template match="/"><xsl:copy-of select="."/></xsl:template>)~");
    const QString deep = QStringLiteral("<d>").repeated(200) + QStringLiteral("<!--c--><?p?>") + QStringLiteral("</d>").repeated(200);
    const struct {
        QString input;
        QString seen;
    } rows[] = {
        {"<?xml-stylesheet href=\"a.xsl\"?><!--c--><x> <a/><!--c--><!--c--><?p q?>t</x><!--c--><?p?>", "<x> <a/>t</x>"},
        {"<x><!--c--></x>", "<x/>"},
        {"<x><y><!--c--><?p?></y><!--c--></x>", "<x><y/></x>"},
        {"<x>" + deep + "</x>", "<x>" + QStringLiteral("<d>").repeated(199) + "<d/>" + QStringLiteral("</d>").repeated(199) + "</x>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input.left(80).toStdString());
        const XsltResult result = xslt_.transformWithoutCommentsOrInstructions(sheet, row.input.toUtf8());
        ASSERT_TRUE(result.ok()) << result.problem.toStdString();
        EXPECT_EQ(result.text.section(QLatin1Char('\n'), 1).trimmed(), row.seen);
        EXPECT_TRUE(xslt_.transformXml(sheet, row.input).text.contains(QStringLiteral("<!--c-->")));
    }
}

TEST_F(XsltTest, ExsltFunctionsAreAvailable)
{
    const QString sheet = stylesheet("exslt.xsl", R"~(<xsl:template match="/">
<xsl:variable name="v"><a>1</a><a>2</a></xsl:variable>
<r><xsl:value-of select="count(exsl:node-set($v)/a)"/>-<xsl:value-of select="count(str:tokenize('a b c', ' '))"/></r>
</xsl:template>)~");
    const XsltResult result = xslt_.transformXml(sheet, "<x/>");
    ASSERT_TRUE(result.ok()) << result.problem.toStdString();
    EXPECT_TRUE(result.text.contains("<r>2-3</r>")) << result.text.toStdString();
}

TEST_F(XsltTest, TheTransformedDocumentKeepsItsWhitespace)
{
    // libxslt strips whitespace from its input in place; the caller's tree must not lose any.
    const QString sheet = stylesheet("strip.xsl", R"~(<xsl:strip-space elements="*"/>
<xsl:template match="/"><r><xsl:value-of select="count(//text())"/></r></xsl:template>)~");
    xmlDocPtr doc = xmlReadMemory("<p><b>a</b> <i>b</i></p>", 24, nullptr, nullptr, 0);
    const XsltResult result = xslt_.transformDocument(sheet, doc);
    ASSERT_TRUE(result.ok()) << result.problem.toStdString();
    EXPECT_TRUE(result.text.contains("<r>2</r>"));
    xmlChar* content = xmlNodeGetContent(xmlDocGetRootElement(doc));
    EXPECT_STREQ(reinterpret_cast<const char*>(content), "a b");
    xmlFree(content);
    xmlFreeDoc(doc);
}

TEST_F(XsltTest, NetworkAddressesInStylesheetsAreRefusedNotFetched)
{
    veldra::test::LocalHttpServer server;
    server.serve("/data.xml", "<d>fetched</d>");
    server.serve("/import.xsl", R"~(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"/>)~");

    const QString reads = stylesheet("reads.xsl", QStringLiteral(R"~(<xsl:template match="/">
<r><xsl:value-of select="document('%1')/d"/></r></xsl:template>)~").arg(server.url("/data.xml").toString()));
    const XsltResult read = xslt_.transformXml(reads, "<x/>");
    EXPECT_FALSE(read.text.contains("fetched"));
    EXPECT_TRUE(read.messages.contains(server.url("/data.xml").toString())) << read.messages.toStdString();

    const QString imports = stylesheet("imports.xsl", QStringLiteral(R"~(<xsl:import href="%1"/>)~")
                                                          .arg(server.url("/import.xsl").toString()));
    EXPECT_EQ(xslt_.transformXml(imports, "<x/>").outcome, XsltResult::Outcome::StylesheetFailure);

    EXPECT_EQ(xslt_.transformXml(server.url("/import.xsl").toString(), "<x/>").outcome,
              XsltResult::Outcome::StylesheetUnavailable);
    EXPECT_TRUE(server.requests().isEmpty()) << server.requests().join(' ').toStdString();
}

// document() may read what the stylesheet ships beside itself; reading any other local file
// stops the transformation.
TEST_F(XsltTest, ARunningStylesheetReadsOnlyFilesOfItsOwnFolder)
{
    TempDir elsewhere;
    writeTextFile(elsewhere.file("secret.xml"), "<d>secret</d>");
    writeTextFile(temp_.file("own.xml"), "<d>own</d>");
    QFile::link(elsewhere.file("secret.xml"), temp_.file("link.xml"));
    const auto reading = [&](const QString& address) {
        return xslt_.transformXml(stylesheet("reads.xsl", QStringLiteral(R"~(<xsl:template match="/">
<r><xsl:value-of select="document('%1')"/></r></xsl:template>)~").arg(address)), "<x/>");
    };
    EXPECT_TRUE(reading("own.xml").text.contains("own"));
    for (const QString& address : {elsewhere.file("secret.xml"), QUrl::fromLocalFile(elsewhere.file("secret.xml")).toString(),
                                   QStringLiteral("../") + QFileInfo(elsewhere.path()).fileName() + QStringLiteral("/secret.xml"),
                                   QStringLiteral("link.xml"), QStringLiteral("/etc/passwd")}) {
        const XsltResult result = reading(address);
        EXPECT_EQ(result.outcome, XsltResult::Outcome::TransformFailure) << address.toStdString();
        EXPECT_TRUE(result.problem.contains("denied")) << result.problem.toStdString();
        EXPECT_FALSE(result.text.contains("secret")) << address.toStdString();
    }
}

TEST_F(XsltTest, StylesheetsCannotWriteFiles)
{
    const QString target = temp_.file("written.txt");
    const QString sheet = stylesheet("writes.xsl", QStringLiteral(R"~(<xsl:template match="/">
<exsl:document href="%1" method="text">data</exsl:document><r/></xsl:template>)~").arg(target));
    EXPECT_EQ(xslt_.transformXml(sheet, "<x/>").outcome, XsltResult::Outcome::TransformFailure);
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(XsltTest, MissingStylesheetsAndBrokenInputAreToldApart)
{
    TempDir empty;
    setLocalRootForTesting(ResourceKind::Stylesheet, empty.path());
    const XsltResult unavailable = xslt_.transformXml(splStylesheet, "<x/>");
    EXPECT_EQ(unavailable.outcome, XsltResult::Outcome::StylesheetUnavailable);
    EXPECT_TRUE(unavailable.problem.contains(splStylesheet)) << unavailable.problem.toStdString();

    const QString broken = stylesheet("broken.xsl", "<xsl:template match=\"/\"><xsl:value-of select=\"1 +\"/></xsl:template>");
    const XsltResult notCompiled = xslt_.transformXml(broken, "<x/>");
    EXPECT_EQ(notCompiled.outcome, XsltResult::Outcome::StylesheetFailure);
    EXPECT_TRUE(notCompiled.problem.contains("broken.xsl"));

    const QString good = stylesheet("good.xsl", "<xsl:template match=\"/\"><r/></xsl:template>");
    EXPECT_EQ(xslt_.transformXml(good, "<x>").outcome, XsltResult::Outcome::DocumentFailure);
    EXPECT_EQ(xslt_.transformFile(good, temp_.file("missing.xml")).outcome, XsltResult::Outcome::DocumentFailure);

    const QString stops = stylesheet("stops.xsl", R"~(<xsl:template match="/"><xsl:message terminate="yes">halt</xsl:message></xsl:template>)~");
    const XsltResult stopped = xslt_.transformXml(stops, "<x/>");
    EXPECT_EQ(stopped.outcome, XsltResult::Outcome::TransformFailure);
    EXPECT_TRUE(stopped.problem.contains("halt"));
}

// Memory that runs out while the result of a transformation is written out (each of its
// nodes is small, the text they make is not): a failure that says so, never a text cut short
// that passes for the whole page.
TEST_F(XsltTest, AResultThatCannotBeWrittenOutWholeIsAFailure)
{
    const QString sheet = stylesheet("copy.xsl", R"~(<xsl:output method="xml" encoding="ISO-8859-1"/>
<xsl:template match="/"><xsl:copy-of select="p"/></xsl:template>)~");
    const QByteArray input = "<p>" + QByteArray("<i>caf\xc3\xa9</i>").repeated(4000) + "</p>";
    xmlDocPtr doc = xmlReadMemory(input.constData(), int(input.size()), nullptr, nullptr, 0);
    const XsltResult whole = xslt_.transformDocument(sheet, doc);
    ASSERT_TRUE(whole.ok()) << whole.problem.toStdString();
    ASSERT_EQ(whole.text.count(QStringLiteral("<i>caf\u00e9</i>")), 4000);

    XsltResult result;
    {
        const veldra::test::LibxmlAllocationsUpTo limit(16 * 1024);
        result = xslt_.transformDocument(sheet, doc);
    }
    xmlFreeDoc(doc);

    EXPECT_FALSE(result.ok()) << result.text.size() << " characters of " << whole.text.size();
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_TRUE(result.problem.startsWith("The result of the transformation could not be written")) << result.problem.toStdString();
}
