#include "platform/core/VbError.h"
#include "platform/xml/Document.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <libxml/parserInternals.h>

using namespace veldra::xml;
using veldra::test::fixture;
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

    // A document type without entities is fine; it is not loaded.
    Document plain;
    EXPECT_TRUE(plain.loadXml("<!DOCTYPE r SYSTEM \"file://" + dir.file("evil.dtd") + "\"><r>&amp;</r>"));
    EXPECT_EQ(plain.documentElement().text(), "&");
    EXPECT_TRUE(ResourceOpenRecorder::opened().isEmpty());
}

TEST(XmlHostileInputTest, DeepTruncatedBinaryMissingAndHugeInputsFailCleanly)
{
    TempDir dir;
    {
        Document doc;
        const QString deep = QString("<a>").repeated(100000) + QString("</a>").repeated(100000);
        expectRefused(doc, doc.loadXml(deep));
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
