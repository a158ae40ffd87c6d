#include "platform/xml/tree/Document.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace veldra::xml;
using veldra::test::TempDir;

namespace {

constexpr qsizetype kMegabyte = 1024 * 1024;

// Where the document's one long value stands among its filler elements.
enum class Place { Start, Middle, End };
enum class Source { File, Text };

struct LongValueCase {
    const char* name;
    qsizetype documentBytes;  // the filler's size, about the document's
    qsizetype valueChars;
    bool inAttribute;  // else in a text node
    Place place;
    Source source;
};

QByteArray longValue(qsizetype chars)
{
    // Mixed characters, so that a value cut or shifted anywhere is told apart.
    const QByteArray pattern = "definition-0123456789-\xc3\xa9-";
    QByteArray value = pattern.repeated(chars / pattern.size() + 1);
    value.truncate(chars);
    return value;
}

QByteArray longElement(const LongValueCase& c)
{
    const QByteArray value = longValue(c.valueChars);
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
    document.reserve(c.documentBytes + c.valueChars + 1024);
    for (qsizetype i = 0; i <= fillerCount; ++i) {
        if (i == longAt)
            document += longElement(c);
        if (i < fillerCount)
            document += product;
    }
    return document + "</listing>\n";
}

void expectLoadedWhole(const Document& doc, const LongValueCase& c)
{
    ASSERT_TRUE(doc.parseError().ok()) << c.name << ": " << doc.parseError().reason.toStdString();
    const Node found = doc.documentElement().selectSingleNode("long");
    ASSERT_FALSE(found.isNull()) << c.name;
    const QString value = c.inAttribute ? found.getAttribute("def") : found.text();
    EXPECT_EQ(value, QString::fromUtf8(longValue(c.valueChars))) << c.name;
    EXPECT_EQ(doc.documentElement().lastChild().nodeName(), c.place == Place::End ? "long" : "product") << c.name;
}

} // namespace

// Documents past ten megabytes with long values near their end loaded only as far as the
// parser's lookahead allowed; every document within the size limit loads whole, from a file
// and from text, wherever its long values stand and however long they are.
// Documents past ten megabytes with long values near their end loaded only as far as the
// parser's lookahead allowed, and a value past ten megabytes not at all; every document within
// the size limit loads whole, from a file and from text, wherever its long values stand and
// however long they are.
TEST(XmlLargeDocumentTest, LongValuesLoadWholeWhereverTheyStandInDocumentsAboveTenMegabytes)
{
    const qsizetype pastTenMegabytes = 10100000;
    const LongValueCase cases[] = {
        {"1 KB attribute at the end, file", pastTenMegabytes, 1024, true, Place::End, Source::File},
        {"1 KB attribute at the end, text", pastTenMegabytes, 1024, true, Place::End, Source::Text},
        {"64 KB attribute in the middle, text", pastTenMegabytes, 64 * 1024, true, Place::Middle, Source::Text},
        {"64 KB attribute at the start, file", pastTenMegabytes, 64 * 1024, true, Place::Start, Source::File},
        {"1 KB text at the end, file", pastTenMegabytes, 1024, false, Place::End, Source::File},
        {"attribute past ten megabytes, file", 0, pastTenMegabytes, true, Place::End, Source::File},
        {"text past ten megabytes, text", 0, pastTenMegabytes, false, Place::End, Source::Text},
    };
    TempDir dir;
    for (const LongValueCase& c : cases) {
        const QByteArray bytes = documentOf(c);
        Document doc;
        if (c.source == Source::File) {
            const QString path = dir.file("listing.xml");
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(file.write(bytes), bytes.size());
            file.close();
            doc.load(path);
        } else {
            doc.loadXml(QString::fromUtf8(bytes));
        }
        expectLoadedWhole(doc, c);
    }
}
