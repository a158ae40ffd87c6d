// Damaged, hostile and foreign input: a clear error naming the part, never a crash.
#include "platform/core/InputScan.h"
#include "platform/word/detail/BodyReader.h"
#include "platform/word/detail/Xml.h"
#include "support/DocxFixture.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace veldra;
using namespace veldra::word;
using veldra::test::para;

namespace {

QByteArray withDocumentPart(const QByteArray& documentXml)
{
    QMap<QString, QByteArray> entries;
    entries.insert(QStringLiteral("[Content_Types].xml"), "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    entries.insert(QStringLiteral("word/document.xml"), documentXml);
    return test::zipOf(entries);
}

// Everything a converter reads, so that a model built from odd input is walked through.
int walk(const Document& doc)
{
    int seen = 0;
    int expectedStart = 0;
    for (const Paragraph& p : doc.paragraphs()) {
        const Range range = p.range();
        // Paragraphs tile the story, each ending with its mark.
        EXPECT_EQ(range.start(), expectedStart);
        EXPECT_TRUE(range.text().endsWith(QLatin1Char('\r')));
        expectedStart = range.end();
        seen += range.text().size() + p.style().size() + range.listFormat().listString().size();
        seen += range.font().bold() + range.paragraphFormat().alignment() + range.bookmarks().count();
        for (const Range& c : range.characters())
            seen += c.font().italic() + c.fields().count() + c.hyperlinks().count();
        for (const Field& f : range.fields())
            seen += f.result().text().size();
        for (const Table& t : range.tables())
            for (int r = 1; r <= t.rowCount(); ++r)
                for (int c = 1; c <= t.columnCount(); ++c) {
                    try {
                        seen += t.cell(r, c).border(border::Top) + t.cell(r, c).range().text().size();
                    } catch (const std::exception&) {
                        ++seen;
                    }
                }
        for (const InlineShape& s : range.inlineShapes())
            seen += s.picture().bytes.size() + s.pixelWidth();
    }
    EXPECT_EQ(expectedStart, doc.content().end());
    return seen + doc.pageCount() + doc.crossReferenceItems().size();
}

// The package with every size field of its document part claiming 300 MB.
QByteArray withOversizedDocumentPart()
{
    QByteArray bytes = test::docxFrom(para("x"));
    const QByteArray name = "word/document.xml";
    auto patch = [&](const QByteArray& signature, int sizeOffset, int nameOffset) {
        for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 4)) {
            if (bytes.mid(at + nameOffset, name.size()) != name)
                continue;
            const quint32 size = 300u * 1024 * 1024;
            for (int i = 0; i < 4; ++i)
                bytes[at + sizeOffset + i] = static_cast<char>((size >> (8 * i)) & 0xff);
        }
    };
    patch(QByteArray("PK\x01\x02", 4), 24, 46);
    patch(QByteArray("PK\x03\x04", 4), 22, 30);
    return bytes;
}

const QString kWordNamespace = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

// A body element with more attributes than any real element has.
QByteArray withManyAttributes(int count)
{
    QString paragraph = QStringLiteral("<w:p");
    for (int i = 0; i < count; ++i)
        paragraph += QStringLiteral(" a%1=\"1\"").arg(i);
    return withDocumentPart(QStringLiteral("<w:document xmlns:w=\"%1\"><w:body>%2/></w:body></w:document>")
                                .arg(kWordNamespace, paragraph)
                                .toUtf8());
}

// A document part whose root declares `count` namespaces in all.
QByteArray withNamespaces(qint64 count)
{
    return withDocumentPart("<w:document xmlns:w=\"" + kWordNamespace.toUtf8() + "\""
                            + test::namespaceDeclarations(count - 1).toUtf8()
                            + "><w:body><w:p/></w:body></w:document>");
}

// A few megabytes of empty paragraphs, which would take a hundred times that once parsed.
QByteArray withEmptyParagraphs(qint64 count)
{
    return withDocumentPart("<w:document xmlns:w=\"" + kWordNamespace.toUtf8() + "\"><w:body>"
                            + QByteArray("<w:p/>").repeated(count) + "</w:body></w:document>");
}

// Paragraphs numbered by a level text that repeats its number: each list number is a
// million characters, so a few paragraphs pass the story's limit in a few kilobytes.
QByteArray withLongListNumbers(int paragraphs)
{
    test::DocxParts parts;
    parts.numbering = QStringLiteral("<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1000000000\"/>"
                                     "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1\"/></w:lvl></w:abstractNum>"
                                     "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>")
                          .arg(QStringLiteral("%1").repeated(100'000));
    const QString numbered = para(QStringLiteral("x"), QStringLiteral("<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>"));
    return test::docxFrom(numbered.repeated(paragraphs), parts);
}

QByteArray withEntries(int count)
{
    QMap<QString, QByteArray> entries;
    for (int i = 0; i < count; ++i)
        entries.insert(QStringLiteral("x/%1").arg(i), QByteArray());
    return test::zipOf(entries);
}

} // namespace

TEST(DocxRobustness, BadInputIsRefusedWithTheReason)
{
    const QByteArray good = test::docxFrom(para("text"));
    test::DocxParts badStyles;
    badStyles.styles = QStringLiteral("<w:style");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString part;
        QString reasonHas;
    };
    const std::vector<Case> cases{
        {"empty", QByteArray(), "", "empty"},
        {"not a zip", QByteArray("hello, world"), "", "not a valid .docx package"},
        {"truncated zip", good.left(good.size() / 2), "", "not a valid .docx package"},
        {"legacy document", QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(504, '\0'), "", ".docx"},
        {"rich text", QByteArray("{\\rtf1\\ansi hello}"), "", ".rtf"},
        {"no document part", test::zipOf({{QStringLiteral("a.txt"), "a"}}), "word/document.xml", "no document part"},
        {"malformed document", withDocumentPart("<w:document xmlns:w=\"x\"><w:body>"), "word/document.xml", "not well-formed"},
        {"not a word-processing document", withDocumentPart("<workbook/>"), "word/document.xml", "not a word-processing document"},
        {"entity declarations", withDocumentPart("<!DOCTYPE d [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]><d>&b;</d>"),
         "word/document.xml", "document type"},
        {"malformed styles", test::docxFrom(para("x"), badStyles), "word/styles.xml", "not well-formed"},
        {"a part beyond the size limit", withOversizedDocumentPart(), "word/document.xml", "larger than"},
        {"too many entries", withEntries(20001), "", "more than 20000 entries"},
        {"an element of thousands of attributes", withManyAttributes(kMaxAttributesPerElement + 1), "word/document.xml",
         "more than 500 attributes"},
        {"namespaces in scope past the bound", withNamespaces(kMaxNamespaceDeclarations + 1), "word/document.xml",
         "more than 256 namespace declarations"},
        {"more elements than any document holds", withEmptyParagraphs(detail::MaxPartNodes), "word/document.xml",
         "more than 2,000,000 nodes"},
        {"a story longer than any label", test::docxFrom(para(QString(detail::MaxCharacters / 4 + 1, QLatin1Char('x'))).repeated(4)),
         "word/document.xml", "more than 16000000 characters"},
        {"list numbers longer than any label", withLongListNumbers(17), "word/document.xml", "more than 16000000 characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc;
        EXPECT_FALSE(doc.openBytes(c.bytes));
        EXPECT_FALSE(doc.isOpen());
        EXPECT_EQ(doc.openError().part, c.part);
        EXPECT_TRUE(doc.openError().reason.contains(c.reasonHas)) << doc.openError().reason.toStdString();
    }
    Document missing;
    EXPECT_FALSE(missing.open(QStringLiteral("/no/such/file.docx")));
    EXPECT_TRUE(missing.openError().reason.contains(QStringLiteral("does not exist")));
}

// A pipe would block the reader and a device would be read until memory runs out.
TEST(DocxRobustness, WhatIsNotAFileIsRefusedWithoutBlocking)
{
    test::TempDir temp;
    const QString fifo = temp.file("pipe.docx");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString path;
        const char* reasonHas;
    } cases[] = {
        {QStringLiteral("/dev/zero"), "a device"},
        {fifo, "a pipe"},
        {temp.path(), "a folder"},
    };
    for (const auto& c : cases) {
        Document doc;
        EXPECT_FALSE(doc.open(c.path)) << c.path.toStdString();
        EXPECT_EQ(doc.openError().part, QString());
        EXPECT_TRUE(doc.openError().reason.contains(QLatin1String(c.reasonHas))) << doc.openError().reason.toStdString();
    }
}

TEST(DocxRobustness, OddButReadablePackagesOpen)
{
    // Only the document part: default style, default compatibility mode.
    const Document bare = test::openDocx(para("only"));
    EXPECT_EQ(bare.paragraphs().first().style(), QStringLiteral("Normal"));
    EXPECT_EQ(bare.compatibilityMode(), QStringLiteral("12"));
    EXPECT_TRUE(Document().openBytes(withNamespaces(kMaxNamespaceDeclarations)));
    test::DocxParts settings;
    settings.settings = QStringLiteral("<w:compat><w:compatSetting w:name=\"compatibilityMode\" w:val=\"15\"/></w:compat>");
    EXPECT_EQ(test::openDocx(para("x"), settings).compatibilityMode(), QStringLiteral("15"));

    // Entry names that climb out of the package are only names: nothing is extracted.
    test::DocxParts climbing;
    climbing.parts.insert(QStringLiteral("../../escaped.txt"), "x");
    climbing.parts.insert(QStringLiteral("/absolute.txt"), "x");
    climbing.relationships = test::relationship(QStringLiteral("rIdUp"), QStringLiteral("image"), QStringLiteral("../../../escaped.txt"));
    const Document doc = test::openDocx(
        QStringLiteral("<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"9525\" cy=\"9525\"/><a:graphic><a:graphicData "
                       "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:blipFill><a:blip r:embed=\"rIdUp\"/>"
                       "</pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>"),
        climbing);
    EXPECT_FALSE(doc.inlineShapes().first().picture().ok());
    EXPECT_FALSE(QFile::exists(QStringLiteral("escaped.txt")));

    // Cyclic styles, lists of missing definitions and unbalanced fields end normally.
    test::DocxParts odd;
    odd.styles = QStringLiteral("<w:style w:type=\"paragraph\" w:styleId=\"A\"><w:name w:val=\"A\"/><w:basedOn w:val=\"B\"/></w:style>"
                                "<w:style w:type=\"paragraph\" w:styleId=\"B\"><w:name w:val=\"B\"/><w:basedOn w:val=\"A\"/></w:style>");
    odd.numbering = QStringLiteral("<w:num w:numId=\"1\"><w:abstractNumId w:val=\"9\"/></w:num>"
                                   "<w:abstractNum w:abstractNumId=\"2\"><w:numStyleLink w:val=\"A\"/></w:abstractNum>"
                                   "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"2\"/></w:num>");
    const Document oddDoc = test::openDocx(
        para("a", QStringLiteral("<w:pStyle w:val=\"A\"/><w:numPr><w:ilvl w:val=\"42\"/><w:numId w:val=\"1\"/></w:numPr>")) +
            para("b", QStringLiteral("<w:numPr><w:numId w:val=\"2\"/></w:numPr>")) +
            QStringLiteral("<w:p><w:r><w:fldChar w:fldCharType=\"end\"/><w:fldChar w:fldCharType=\"separate\"/><w:t>c</w:t>"
                           "<w:fldChar w:fldCharType=\"begin\"/><w:instrText>PAGE</w:instrText></w:r></w:p>"),
        odd);
    ASSERT_EQ(oddDoc.paragraphs().count(), 3);
    EXPECT_EQ(oddDoc.paragraphs().item(3).range().text(), QStringLiteral("c\r"));
    EXPECT_GT(walk(oddDoc), 0);
}

TEST(DocxRobustness, NullHandlesAnswerEmpty)
{
    const Document closed;
    EXPECT_EQ(closed.paragraphs().count(), 0);
    EXPECT_TRUE(closed.content().isNull());
    const Range nothing = closed.paragraphs().item(3).range();
    EXPECT_TRUE(nothing.isNull());
    EXPECT_EQ(nothing.text(), QString());
    EXPECT_EQ(nothing.font().bold(), 0);
    EXPECT_EQ(nothing.listFormat().listString(), QString());
    EXPECT_EQ(nothing.tables().first().rowCount(), 0);
    EXPECT_TRUE(nothing.inlineShapes().item(1).isNull());
    const Document doc = test::openDocx(para("x"));
    EXPECT_TRUE(doc.paragraphs().item(0).isNull());
    EXPECT_TRUE(doc.paragraphs().item(2).isNull());
    EXPECT_EQ(doc.range(-5, 100).text(), QStringLiteral("x\r"));
}
