// The writer's packages: complete, well-formed, and read back as they were built.
#include "platform/word/DocxWriter.h"
#include "platform/word/Document.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libxml/parser.h>
#include <zip.h>

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;

namespace {

// Every entry of the zip, parsed on its own.
QStringList malformedEntries(const QString& path, QStringList* names)
{
    QStringList bad;
    int error = 0;
    zip_t* archive = zip_open(path.toUtf8().constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {QStringLiteral("<archive>")};
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        QByteArray data(static_cast<qsizetype>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        names->append(QString::fromUtf8(stat.name));
        xmlDocPtr doc = xmlReadMemory(data.constData(), static_cast<int>(data.size()), nullptr, nullptr, XML_PARSE_NONET);
        if (!doc)
            bad.append(QString::fromUtf8(stat.name));
        xmlFreeDoc(doc);
    }
    zip_discard(archive);
    return bad;
}

DocxWriter templateLike()
{
    DocxWriter writer;
    for (const QString& title : {QStringLiteral("INDICATIONS & USAGE"), QStringLiteral("DOSAGE")}) {
        writer.addParagraph(QStringLiteral("Heading 1"), title);
        writer.addParagraph(QString(), QStringLiteral("Sample <text>\twith a tab"));
        const int numbered = writer.addList(DocxWriter::ListKind::Numbered);
        for (int i = 1; i <= 3; ++i)
            writer.addListParagraph(numbered, QStringLiteral("Numerus Album %1").arg(i));
        writer.addParagraph(QStringLiteral("Heading 2"), QStringLiteral("Subsection 1 of ") + title.toLower());
        writer.addTable({{"Table Header 1", "Table Header 2", "Table Header 3"}, {"Table Value 1,1", "Table Value 1,2", "Table Value 1,3"}});
        const int bullets = writer.addList(DocxWriter::ListKind::Bulleted);
        writer.addListParagraph(bullets, QStringLiteral("point"));
        writer.addListParagraph(bullets, QStringLiteral("point"));
        writer.addPageBreak();
    }
    return writer;
}

} // namespace

TEST(DocxWriter, AWrittenPackageIsCompleteAndReadsBackAsBuilt)
{
    test::TempDir temp;
    const QString path = temp.file(QStringLiteral("template.docx"));
    QString error;
    ASSERT_TRUE(templateLike().save(path, &error)) << error.toStdString();

    QStringList names;
    EXPECT_EQ(malformedEntries(path, &names), QStringList());
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/_rels/document.xml.rels",
                             "word/styles.xml", "word/numbering.xml", "word/settings.xml", "docProps/app.xml", "docProps/core.xml"})
        EXPECT_TRUE(names.contains(QLatin1String(part))) << part;

    Document doc;
    ASSERT_TRUE(doc.open(path)) << doc.openError().text().toStdString();
    EXPECT_EQ(doc.compatibilityMode(), QStringLiteral("15"));
    QStringList lines;
    for (const Paragraph& p : doc.paragraphs()) {
        const Range range = p.range();
        if (!range.tables().isEmpty())
            continue;
        lines.append(p.style() + QLatin1Char('|') + range.listFormat().listString() + QLatin1Char('|') + range.text().chopped(1));
    }
    const QStringList firstSection{
        "Heading 1||INDICATIONS & USAGE", "Normal||Sample <text>\twith a tab", "List Paragraph|1.|Numerus Album 1",
        "List Paragraph|2.|Numerus Album 2", "List Paragraph|3.|Numerus Album 3",
        "Heading 2||Subsection 1 of indications & usage", "List Paragraph|\u2022|point", "List Paragraph|\u2022|point", "Normal||\f"};
    ASSERT_GE(lines.size(), 18);
    EXPECT_EQ(lines.mid(0, 9), firstSection);
    // Every list restarts at 1.
    EXPECT_EQ(lines[11], QStringLiteral("List Paragraph|1.|Numerus Album 1"));
    EXPECT_EQ(doc.paragraphs().item(3).range().listFormat().listType(), list_type::Simple);
    EXPECT_EQ(doc.paragraphs().item(13).range().listFormat().listType(), list_type::Bullet);

    ASSERT_EQ(doc.tables().count(), 2);
    const Table table = doc.tables().first();
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.columnCount(), 3);
    EXPECT_EQ(table.cell(2, 3).range().text(), QStringLiteral("Table Value 1,3\r"));
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c)
            for (int edge : {border::Top, border::Left, border::Bottom, border::Right})
                EXPECT_TRUE(table.cell(r, c).border(edge)) << r << "," << c << " edge " << edge;
    // The page break puts the second heading on page 2.
    EXPECT_EQ(doc.paragraphs().item(doc.paragraphs().count()).range().pageNumber(), 3);
    EXPECT_EQ(lines[9], QStringLiteral("Heading 1||DOSAGE"));
}

TEST(DocxWriter, AFailedSaveSaysSoAndReplacesNothing)
{
    test::TempDir temp;
    QString error;
    EXPECT_FALSE(templateLike().save(temp.file(QStringLiteral("missing/folder/t.docx")), &error));
    EXPECT_FALSE(error.isEmpty());
    // A folder in the target's place stays a folder.
    ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("taken.docx")));
    error.clear();
    EXPECT_FALSE(templateLike().save(temp.file(QStringLiteral("taken.docx")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(temp.file(QStringLiteral("taken.docx"))).isDir());
}
