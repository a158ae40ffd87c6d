#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLocalServer>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <libxml/parserInternals.h>
#include <sys/stat.h>

using namespace veldra::xml;
using veldra::test::fixture;
using veldra::test::namespaceDeclarations;
using veldra::test::TempDir;
using veldra::test::writeTextFile;

namespace {

// Records every attempt of libxml2 to open an external resource while a test runs.
class ResourceOpenRecorder {
public:
    ResourceOpenRecorder() : previous_(xmlGetExternalEntityLoader())
    {
        opened().clear();
        xmlSetExternalEntityLoader(record);
    }
    ~ResourceOpenRecorder() { xmlSetExternalEntityLoader(previous_); }
    static QStringList& opened()
    {
        static QStringList urls;
        return urls;
    }

private:
    static xmlParserInputPtr record(const char* url, const char*, xmlParserCtxtPtr)
    {
        opened() << QString::fromUtf8(url ? url : "");
        return nullptr;
    }
    xmlExternalEntityLoader previous_;
};

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void expectRefused(Document& doc, bool loaded)
{
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(doc.parseError().ok());
    EXPECT_FALSE(doc.parseError().reason.isEmpty());
    EXPECT_TRUE(doc.documentElement().isNull());
}

} // namespace

TEST(XmlHostileInputTest, EntityTricksAreRefusedWithoutReadingAnything)
{
    TempDir dir;
    const QString secret = dir.file("secret.txt");
    writeTextFile(secret, "TOP-SECRET");
    writeTextFile(dir.file("evil.dtd"), "<!ENTITY leak SYSTEM \"file://" + secret + "\">");
    ResourceOpenRecorder recorder;

    const QString laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n <!ENTITY lol \"lol\">\n"
        " <!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
        " <!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n"
        " <!ENTITY lol9 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">\n]>\n<lolz>&lol9;</lolz>";
    const QStringList hostile = {
        laughs,
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret + "\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + dir.file("evil.dtd") + "\"> %p;]><r>&leak;</r>",
        "<!DOCTYPE r SYSTEM \"file://" + dir.file("evil.dtd") + "\"><r>&leak;</r>",
        "<!DOCTYPE r SYSTEM \"http://127.0.0.1:9/evil.dtd\"><r>&leak;</r>",
        "<!DOCTYPE r [<!ENTITY img SYSTEM \"x.jpg\" NDATA jpeg>]><r/>",
    };
    for (const QString& text : hostile) {
        Document doc;
        expectRefused(doc, doc.loadXml(text));
        EXPECT_FALSE(doc.parseError().reason.contains("TOP-SECRET"));
    }
    EXPECT_TRUE(ResourceOpenRecorder::opened().isEmpty()) << ResourceOpenRecorder::opened().join(", ").toStdString();

    Document laughsFile;
    writeTextFile(dir.file("laughs.xml"), laughs);
    expectRefused(laughsFile, laughsFile.load(dir.file("laughs.xml")));
    EXPECT_EQ(laughsFile.parseError().line, 3);
    EXPECT_EQ(laughsFile.parseError().srcText, " <!ENTITY lol \"lol\">");

    // XInclude is not processed: the include stays an element and nothing is read.
    Document include;
    EXPECT_TRUE(include.loadXml("<r xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"file://" + secret
                                + "\" parse=\"text\"/></r>"));
    EXPECT_FALSE(include.xml().contains("TOP-SECRET"));
    EXPECT_EQ(include.documentElement().firstChild().nodeName(), "xi:include");

    // A document type without entities is fine; it is not loaded.
    Document plain;
    EXPECT_TRUE(plain.loadXml("<!DOCTYPE r SYSTEM \"file://" + dir.file("evil.dtd") + "\"><r>&amp;</r>"));
    EXPECT_EQ(plain.documentElement().text(), "&");
    EXPECT_TRUE(ResourceOpenRecorder::opened().isEmpty());
}

// A default attribute in a document type is copied into every element it names: a megabyte
// given to 1,000 elements took gigabytes. Every reader refuses a document type that declares
// anything, before parsing, and names the declaration.
TEST(XmlHostileInputTest, DocumentTypesThatDeclareAnythingAreRefusedByEveryReader)
{
    const QString elements = QString("<a/>").repeated(1000);
    const QString bigDefault = QString("u").repeated(100000);
    const struct {
        QString text;
        const char* refusedFor;  // in the reason; nullptr: the document loads
    } cases[] = {
        {"<!DOCTYPE r [<!ATTLIST a xmlns CDATA 'urn:" + bigDefault + "'>]><r>" + elements + "</r>", "'<!ATTLIST a'"},
        {"<!DOCTYPE r [\n <!-- the elements -->\n <!ELEMENT r ANY>]><r/>", "'<!ELEMENT r'"},
        {"<!DOCTYPE r [<?pi?><!NOTATION jpeg SYSTEM 'image/jpeg'>]><r/>", "'<!NOTATION jpeg'"},
        {"<!DOCTYPE r [%p;]><r/>", "'%p;'"},
        {"<!DOCTYPE r SYSTEM 'a[.dtd' [ <!ATTLIST r b CDATA '1'> ]><r/>", "'<!ATTLIST r'"},
        {"<!DOCTYPE r>\n<r/>", nullptr},
        {"<!DOCTYPE r PUBLIC '-//x//EN' \"b]>.dtd\"><r/>", nullptr},
        {"<!DOCTYPE r [ <!-- <!ENTITY x 'no'> --> <?pi <!ELEMENT?> ]><r/>", nullptr},
    };
    TempDir dir;
    const QString stylesheet = dir.file("identity.xsl");
    writeTextFile(stylesheet, "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                              "<xsl:template match='/'><out/></xsl:template></xsl:stylesheet>");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(70).toStdString());
        for (const char* encoding : {"UTF-8", "UTF-16BE"}) {
            QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
            writeFileBytes(dir.file("input.xml"), encoder.encode(c.text));
            Document doc;
            EXPECT_EQ(doc.load(dir.file("input.xml")), !c.refusedFor) << encoding;
            if (c.refusedFor) {
                EXPECT_TRUE(doc.parseError().reason.contains(c.refusedFor)) << doc.parseError().reason.toStdString();
            }
        }
        Document text;
        EXPECT_EQ(text.loadXml(c.text), !c.refusedFor);
        const SchemaCheck check = SchemaValidator().validateXml(c.text, QString());
        EXPECT_EQ(check.parseFailed() && c.refusedFor && check.reason.contains(c.refusedFor), bool(c.refusedFor));
        const XsltResult result = XsltProcessor().transformXml(stylesheet, c.text);
        EXPECT_EQ(result.outcome == XsltResult::Outcome::DocumentFailure, bool(c.refusedFor));
    }

    // In an encoding the scan before parsing cannot read, the parser refuses the declaration.
    QByteArray ebcdic;
    // <?xml version="1.0" encoding="IBM037"?><!DOCTYPE r [<!ATTLIST r a CDATA "d">]><r></r>
    for (const char* part : {"4C6FA7949340A58599A28996957E7FF14BF07F4085958396848995877E7FC9C2D4F0F3F77F6F6E",
                             "4C5AC4D6C3E3E8D7C5409940BA4C5AC1E3E3D3C9E2E34099408140C3C4C1E3C1407F847F6EBB6E",
                             "4C996E4C61996E"})
        ebcdic += QByteArray::fromHex(part);
    writeFileBytes(dir.file("ebcdic.xml"), ebcdic);
    Document doc;
    EXPECT_FALSE(doc.load(dir.file("ebcdic.xml")));
    EXPECT_TRUE(doc.parseError().reason.contains("'<!ATTLIST r'")) << doc.parseError().reason.toStdString();
}

TEST(XmlHostileInputTest, DeepTruncatedBinaryMissingAndHugeInputsFailCleanly)
{
    TempDir dir;
    {
        const auto nested = [](int levels) { return QString("<a>").repeated(levels) + QString("</a>").repeated(levels); };
        Document doc;
        EXPECT_TRUE(doc.loadXml(nested(256)));
        for (const int levels : {257, 100000}) {
            expectRefused(doc, doc.loadXml(nested(levels)));
            EXPECT_EQ(doc.parseError().line, 1);
        }
    }
    {
        const QString whole = veldra::test::readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml"));
        writeTextFile(dir.file("truncated.xml"), whole.left(whole.size() / 2));
        Document doc;
        expectRefused(doc, doc.load(dir.file("truncated.xml")));
        EXPECT_GT(doc.parseError().line, 1);
    }
    {
        Document doc;
        expectRefused(doc, doc.load(fixture("spl-documents/pharmadb-rogaine-otc-with-image/rogaine-01.jpg")));
        writeFileBytes(dir.file("invalid-utf8.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\xc3\x28\xff</r>");
        expectRefused(doc, doc.load(dir.file("invalid-utf8.xml")));
        EXPECT_EQ(doc.parseError().line, 2);
    }
    {
        Document doc;
        expectRefused(doc, doc.load(dir.file("does-not-exist.xml")));
        EXPECT_EQ(doc.parseError().errorCode, veldra::err::FileNotFound);
        expectRefused(doc, doc.load(dir.path()));
        writeTextFile(dir.file("empty.xml"), "");
        expectRefused(doc, doc.load(dir.file("empty.xml")));
    }
    {
        // A sparse file far above the size limit is refused before it is read.
        QFile huge(dir.file("huge.xml"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(300LL * 1024 * 1024));
        huge.close();
        Document doc;
        expectRefused(doc, doc.load(huge.fileName()));
    }
    const QStringList broken = {"", "<", "<a>", "<a></b>", "<a b='1' b='2'/>", "<x:a/>", "<a>&undefined;</a>",
                                "text", "<a/><b/>", QString("<a>") + QChar(0xFFFE) + "</a>"};
    for (const QString& text : broken) {
        Document doc;
        expectRefused(doc, doc.loadXml(text));
    }
}

TEST(XmlHostileInputTest, ParseErrorsGiveTheLineAndItsText)
{
    Document doc;
    EXPECT_FALSE(doc.loadXml("<?xml version=\"1.0\"?>\r\n<root>\r\n  <item>one</item>\r\n  <item>two</itm>\r\n</root>"));
    const ParseError& e = doc.parseError();
    EXPECT_NE(e.errorCode, 0);
    EXPECT_EQ(e.line, 4);
    EXPECT_GT(e.linePos, 0);
    EXPECT_EQ(e.srcText, "  <item>two</itm>");
    EXPECT_FALSE(e.reason.endsWith('\n'));

    EXPECT_TRUE(doc.loadXml("<ok/>"));
    EXPECT_TRUE(doc.parseError().ok());
}

// Messages quote srcText: a document written as one line gives the hundred characters around
// the failure, with "…" where the line was cut, never the whole document.
TEST(XmlHostileInputTest, TheTextOfALongFailingLineIsCutAroundTheFailure)
{
    const QString ellipsis(QChar(0x2026));
    struct Row {
        const char* name;
        QString line;
        QString expected;
    };
    const QString endFails = "<r>" + QString(93, 'x') + "</q>";  // 100 characters
    const QString startFails = "<r></q>" + QString(94, 'x');      // 101 characters
    const QString longLine = "<r>" + QString(60000, 'x') + "</q>";
    const QString wideLine = "<r>" + QString(60000, QChar(0xE9)) + "</q>";
    const QString middleFails = "<r>" + QString(60000, QChar(0xE9)) + "</q>" + QString(60000, QChar(0xE9));
    const QList<Row> rows = {
        {"a line of 100 characters whole", endFails, endFails},
        {"one more, failing at its end", "<r>x" + endFails.mid(3), ellipsis + ("<r>x" + endFails.mid(3)).right(100)},
        {"one more, failing at its start", startFails, startFails.left(100) + ellipsis},
        {"a document on one line", longLine, ellipsis + longLine.right(100)},
        {"one line of two-byte characters", wideLine, ellipsis + wideLine.right(100)},
        {"failing in the middle of one long line", middleFails, ellipsis + middleFails.mid(59958, 100) + ellipsis},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Document doc;
        EXPECT_FALSE(doc.loadXml(row.line));
        EXPECT_EQ(doc.parseError().line, 1);
        EXPECT_EQ(doc.parseError().srcText, row.expected);
        // A file is read around the failure only, in its bytes.
        const QString file = dir.file(QStringLiteral("OneLine.xml"));
        writeTextFile(file, row.line);
        EXPECT_FALSE(doc.load(file));
        EXPECT_EQ(doc.parseError().srcText, row.expected) << "read from a file";
    }
}

TEST(XmlHostileInputTest, EveryReaderRefusesWhatIsNotAFileWithoutBlocking)
{
    TempDir dir;
    const QString fifo = dir.file("fifo.xml");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QLocalServer socket;
    ASSERT_TRUE(socket.listen(dir.file("socket.xml")));
    const QString stylesheet = dir.file("identity.xsl");
    writeTextFile(stylesheet, "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                              "<xsl:template match='/'><out/></xsl:template></xsl:stylesheet>");

    for (const QString& path : {QString("/dev/zero"), fifo, socket.fullServerName(), dir.path()}) {
        Document doc;
        expectRefused(doc, doc.load(path));
        EXPECT_NE(doc.parseError().reason.indexOf(path), -1) << doc.parseError().reason.toStdString();

        const SchemaCheck check = SchemaValidator().validateFile(path);
        EXPECT_TRUE(check.parseFailed()) << path.toStdString();
        EXPECT_TRUE(check.reason.contains(path)) << check.reason.toStdString();

        const XsltResult result = XsltProcessor().transformFile(stylesheet, path);
        EXPECT_EQ(result.outcome, XsltResult::Outcome::DocumentFailure) << path.toStdString();
    }
}

TEST(XmlHostileInputTest, NulCharactersAndElementsWithThousandsOfAttributesAreRefusedBeforeParsing)
{
    QString manyAttributes = "<a";
    for (int i = 0; i < 200000; ++i)
        manyAttributes += QString(" a%1='1'").arg(i);
    manyAttributes += "/>";
    QString plausibleAttributes = "<a";
    for (int i = 0; i < 400; ++i)
        plausibleAttributes += QString(" a%1='1'").arg(i);
    plausibleAttributes += "/>";
    const QString equalSigns = QString("=").repeated(5000);

    const struct {
        QString text;
        bool loads;
    } cases[] = {
        {manyAttributes, false},
        {"<?xml version='1.0'?>\n<!-- " + equalSigns + " -->\n<r>\n" + manyAttributes + "</r>", false},
        {"<r>" + QString("<b c='1'/>").repeated(2000) + "</r>", true},
        {plausibleAttributes, true},
        {"<a b='" + equalSigns + "' c=\"'" + equalSigns + "\"/>", true},
        {"<!DOCTYPE a SYSTEM '" + equalSigns + "'><a>" + equalSigns + "<![CDATA[<b " + equalSigns + ">]]></a>", true},
        {QString("<a/>") + QChar(0) + "<b/><c/>", false},
        {QString("<a>x") + QChar(0) + "</a>", false},
    };
    TempDir dir;
    for (const auto& c : cases) {
        for (const char* encoding : {"UTF-8", "UTF-16LE", "UTF-16BE"}) {
            QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
            writeFileBytes(dir.file("input.xml"), encoder.encode(c.text));
            Document doc;
            EXPECT_EQ(doc.load(dir.file("input.xml")), c.loads) << encoding << " " << c.text.left(60).toStdString();
            EXPECT_EQ(doc.parseError().line >= 1, !c.loads) << encoding;
        }
        Document text;
        EXPECT_EQ(text.loadXml(c.text), c.loads) << c.text.left(60).toStdString();
        EXPECT_EQ(SchemaValidator().validateXml(c.text, QString()).parseFailed(), !c.loads);
    }
}

// An outside file is counted before parsing: nodes of every kind alike, at the cap and one past
// it; a reader that only queries may leave the comments and instructions out of its tree.
TEST(XmlHostileInputTest, AnOutsideFileIsRefusedOnePastTheNodeCapOfAnyKind)
{
    const QString fill[] = {"<b/>", "<!---->", "<?p?>", "<b c=''/>", "<![CDATA[a]]>b", "<b xmlns='u'/>"};
    const int perFill[] = {1, 1, 1, 2, 2, 2};
    TempDir dir;
    for (int kind = 0; kind < 6; ++kind) {
        for (const qint64 nodes : {kMaxOutsideFileNodes, kMaxOutsideFileNodes + 1}) {
            SCOPED_TRACE(fill[kind].toStdString() + " " + std::to_string(nodes));
            // The root and, for two nodes each, one plain element to reach an odd count.
            const qint64 filled = (nodes - 1) / perFill[kind];
            const QString text = "<r>" + fill[kind].repeated(int(filled))
                                 + QString("<b/>").repeated(int(nodes - 1 - filled * perFill[kind])) + "</r>";
            writeTextFile(dir.file("input.xml"), text);
            Document doc;
            const bool loaded = doc.load(dir.file("input.xml"), OutsideFileWithoutComments);
            EXPECT_EQ(loaded, nodes == kMaxOutsideFileNodes) << doc.parseError().reason.toStdString();
            EXPECT_EQ(doc.parseError().reason.contains("holds more than 1,000,000 nodes (elements, attributes, "
                                                       "namespace declarations, texts, comments and processing "
                                                       "instructions together)"),
                      !loaded);
            if (loaded) {
                EXPECT_EQ(doc.selectNodes("//comment() | //processing-instruction()").length(), 0);
            }
        }
    }
}

// Namespace declarations in scope slow the parse of every element below them, whoever reads
// the file; declarations side by side do not add up. One text or attribute value longer than
// the stylesheet program and the schema check parse is refused by every reader of an outside
// file, before it is loaded; the program's own files and settings documents may hold longer.
TEST(XmlHostileInputTest, EachReaderRefusesNamespacesInScopeAndTextsPastTheirBounds)
{
    const int bound = int(veldra::kMaxNamespaceDeclarations);
    const int half = bound / 2;
    const QString longText(int(veldra::kMaxTextCharacters), QLatin1Char('x'));
    const struct {
        const char* shape;
        QString text;
        QString refusal;  // empty: every reader takes it
        bool outsideOnly = false;
    } cases[] = {
        {"at the bound", "<r" + namespaceDeclarations(bound) + "/>", {}},
        {"one past it", "<r" + namespaceDeclarations(bound + 1) + "/>", "more than 256 namespace declarations"},
        {"side by side", "<r" + namespaceDeclarations(half) + "><a" + namespaceDeclarations(half, half) + "/><a"
                             + namespaceDeclarations(half, bound) + "/></r>", {}},
        {"nested, one past", "<r" + namespaceDeclarations(half) + "><a" + namespaceDeclarations(half, half)
                                 + "><b xmlns=\"urn:d\"/></a></r>", "more than 256 namespace declarations"},
        {"the longest text", "<r>" + longText + "</r>", {}},
        {"the longest attribute value", "<r a='" + longText + "'/>", {}},
        {"a text one past it", "<r>" + longText.left(10) + "<!--" + longText + "--></r>",
         "more than 5,000,000 characters", true},
        {"an attribute one past it", "<r a='" + longText + "x'/>", "more than 5,000,000 characters", true},
    };
    TempDir dir;
    const XsltProcessor xslt;
    const QString copy = dir.file("copy.xsl");
    writeTextFile(copy, "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                        "<xsl:template match='/'><xsl:copy-of select='.'/></xsl:template></xsl:stylesheet>");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        writeTextFile(dir.file("input.xml"), c.text);
        Document outside;
        Document own;
        const XsltResult transformed = xslt.transformFile(copy, dir.file("input.xml"));
        const SchemaCheck checked = SchemaValidator().validateFile(dir.file("input.xml"));
        const bool ownLoaded = own.load(dir.file("input.xml"));
        EXPECT_EQ(ownLoaded, c.refusal.isEmpty() || c.outsideOnly);
        QStringList said = {outside.load(dir.file("input.xml"), OutsideFile) ? QString() : outside.parseError().reason,
                            transformed.ok() ? QString() : transformed.problem,
                            checked.parseFailed() ? checked.reason : QString()};
        if (!c.outsideOnly)
            said << (ownLoaded ? QString() : own.parseError().reason);
        for (const QString& reason : said) {
            EXPECT_EQ(reason.isEmpty(), c.refusal.isEmpty()) << reason.left(200).toStdString();
            EXPECT_TRUE(reason.contains(c.refusal)) << reason.left(200).toStdString();
        }
    }
}
