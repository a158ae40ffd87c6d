#include "platform/xml/resources/SchemaValidator.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace veldra::xml;
using veldra::test::TempDir;
using veldra::test::writeTextFile;

namespace {

constexpr qsizetype kPastTenMegabytes = 10100000;

// Where the document's one long value stands among its filler elements.
enum class Place { Start, Middle, End };
enum class Source { File, Text };

struct LongValueCase {
    const char* name;
    qsizetype documentBytes;  // the filler's size, about the document's
    qsizetype valueBytes;
    bool inAttribute;  // else in a text node
    Place place;
    Source source;
};

// About `bytes` long, in whole repetitions so that no character is cut; mixed characters, so
// that a value cut or shifted anywhere is told apart.
QByteArray longValue(qsizetype bytes)
{
    const QByteArray pattern = "definition-0123456789-\xc3\xa9-";
    return pattern.repeated(bytes / pattern.size());
}

QByteArray longElement(const LongValueCase& c)
{
    const QByteArray value = longValue(c.valueBytes);
    return c.inAttribute ? "<long def=\"" + value + "\"/>\n" : "<long>" + value + "</long>\n";
}

// A settings-like listing: products of about a kilobyte around the one long value.
QByteArray documentOf(const LongValueCase& c)
{
    const QByteArray product = "<product code=\"12345-678\" form=\"TABLET\"><name>" + QByteArray("Product name ").repeated(75)
                               + "</name></product>\n";
    const qsizetype fillerCount = c.documentBytes / product.size();
    const qsizetype longAt = c.place == Place::Start ? 0 : c.place == Place::Middle ? fillerCount / 2 : fillerCount;
    QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<listing>\n";
    document.reserve(c.documentBytes + c.valueBytes + 1024);
    for (qsizetype i = 0; i <= fillerCount; ++i) {
        if (i == longAt)
            document += longElement(c);
        if (i < fillerCount)
            document += product;
    }
    return document + "</listing>\n";
}

QString writtenFile(const TempDir& dir, const QByteArray& bytes)
{
    const QString path = dir.file("listing.xml");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

void expectLoadedWhole(const Document& doc, const LongValueCase& c)
{
    ASSERT_TRUE(doc.parseError().ok()) << c.name << ": " << doc.parseError().reason.toStdString();
    const Node found = doc.documentElement().selectSingleNode("long");
    ASSERT_FALSE(found.isNull()) << c.name;
    const QString value = c.inAttribute ? found.getAttribute("def") : found.text();
    EXPECT_EQ(value, QString::fromUtf8(longValue(c.valueBytes))) << c.name;
    EXPECT_EQ(doc.documentElement().lastChild().nodeName(), c.place == Place::End ? "long" : "product") << c.name;
}

} // namespace

// Documents past ten megabytes with long values near their end loaded only as far as the
// parser's lookahead allowed, and a value past ten megabytes not at all; every document within
// the size limit loads whole, from a file and from text, wherever its long values stand and
// however long they are.
TEST(XmlLargeDocumentTest, LongValuesLoadWholeWhereverTheyStandInDocumentsAboveTenMegabytes)
{
    const LongValueCase cases[] = {
        {"1 KB attribute at the end, file", kPastTenMegabytes, 1024, true, Place::End, Source::File},
        {"1 KB attribute at the end, text", kPastTenMegabytes, 1024, true, Place::End, Source::Text},
        {"64 KB attribute in the middle, text", kPastTenMegabytes, 64 * 1024, true, Place::Middle, Source::Text},
        {"64 KB attribute at the start, file", kPastTenMegabytes, 64 * 1024, true, Place::Start, Source::File},
        {"1 KB text at the end, file", kPastTenMegabytes, 1024, false, Place::End, Source::File},
        {"attribute past ten megabytes, file", 0, kPastTenMegabytes, true, Place::End, Source::File},
        {"text past ten megabytes, text", 0, kPastTenMegabytes, false, Place::End, Source::Text},
    };
    TempDir dir;
    for (const LongValueCase& c : cases) {
        const QByteArray bytes = documentOf(c);
        Document doc;
        if (c.source == Source::File)
            doc.load(writtenFile(dir, bytes));
        else
            doc.loadXml(QString::fromUtf8(bytes));
        expectLoadedWhole(doc, c);
    }
}

// The schema check and the transforms read such documents as the loader does.
TEST(XmlLargeDocumentTest, SchemaChecksAndTransformsReadDocumentsAboveTenMegabytes)
{
    TempDir dir;
    const LongValueCase atTheEnd{"1 KB attribute at the end", kPastTenMegabytes, 1024, true, Place::End, Source::File};
    const SchemaCheck check = SchemaValidator().validateFile(writtenFile(dir, documentOf(atTheEnd)));
    EXPECT_FALSE(check.parseFailed()) << check.reason.toStdString();
    EXPECT_TRUE(check.schemaUnavailable()) << "the listing names no schema";

    const QString stylesheet = dir.file("measure.xsl");
    writeTextFile(stylesheet, "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                              "<xsl:template match='/'><length><xsl:value-of select='string-length(/listing/long/@def)'/>"
                              "</length></xsl:template></xsl:stylesheet>");
    const LongValueCase inTheMiddle{"64 KB attribute in the middle", kPastTenMegabytes, 64 * 1024, true, Place::Middle,
                                    Source::Text};
    const XsltResult result = XsltProcessor().transformXml(stylesheet, QString::fromUtf8(documentOf(inTheMiddle)));
    ASSERT_TRUE(result.ok()) << result.problem.toStdString();
    const QString length = QString::number(QString::fromUtf8(longValue(inTheMiddle.valueBytes)).size());
    EXPECT_TRUE(result.text.contains("<length>" + length + "</length>")) << result.text.left(200).toStdString();
}
