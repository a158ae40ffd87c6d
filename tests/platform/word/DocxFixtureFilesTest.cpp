// The real documents of the fixtures: every one opens, and what a reader sees in them
// comes out of the model.
#include "platform/word/Document.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;

namespace {

QStringList allDocxFixtures()
{
    QStringList files;
    const QDir root(test::fixture(QStringLiteral("docx")));
    for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& name : QDir(root.filePath(folder)).entryList({QStringLiteral("*.docx")}, QDir::Files))
            files.append(root.filePath(folder + QLatin1Char('/') + name));
    return files;
}

Document openFixture(const QString& relative)
{
    Document doc;
    EXPECT_TRUE(doc.open(test::fixture(QStringLiteral("docx/") + relative))) << doc.openError().text().toStdString();
    return doc;
}

QStringList paragraphTexts(const Document& doc)
{
    QStringList texts;
    for (const Paragraph& p : doc.paragraphs())
        texts.append(p.range().text().chopped(1));
    return texts;
}

} // namespace

TEST(DocxFixtureFiles, EveryDocumentOpensAndItsStoryIsConsistent)
{
    const QStringList files = allDocxFixtures();
    ASSERT_GE(files.size(), 39);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        Document doc;
        ASSERT_TRUE(doc.open(file)) << doc.openError().text().toStdString();
        // Paragraphs tile the story, each ending with its mark.
        int expectedStart = 0;
        for (const Paragraph& p : doc.paragraphs()) {
            EXPECT_EQ(p.range().start(), expectedStart);
            EXPECT_TRUE(p.range().text().endsWith(QLatin1Char('\r')));
            expectedStart = p.range().end();
        }
        EXPECT_EQ(expectedStart, doc.content().end());
        for (const InlineShape& shape : doc.inlineShapes())
            EXPECT_EQ(shape.range().text(), QStringLiteral("/"));
    }
}

// The label documents were laid out from SPL labels; their expectations list what an
// import must get back: headings, subsection titles, the words of each section, and its
// tables, list items and pictures. Both the original and a copy resaved by another word
// processor must give the same.
TEST(DocxFixtureFiles, LabelDocumentsGiveTheirSectionsWordsListsTablesAndPictures)
{
    for (const QString& name : {QStringLiteral("cough-otc"), QStringLiteral("lipitor-rx"), QStringLiteral("viagra-rx")}) {
        const QJsonObject expected =
            QJsonDocument::fromJson(test::readTextFile(test::fixture(QStringLiteral("docx/labels/%1.expected.json").arg(name))).toUtf8())
                .object();
        for (const QString& variant : {name, name + QStringLiteral("-resaved")}) {
            SCOPED_TRACE(variant.toStdString());
            const Document doc = openFixture(QStringLiteral("labels/%1.docx").arg(variant));
            const QRegularExpression wordPattern(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption);
            struct Section {
                QString title;
                QStringList subsections, words;
                int tables = 0, listItems = 0, pictures = 0;
            };
            std::vector<Section> sections;
            int lastTableEnd = -1;
            for (const Paragraph& p : doc.paragraphs()) {
                const QString style = p.style();
                const Range range = p.range();
                const QString text = range.text().chopped(1);
                if (style == QLatin1String("Heading 1")) {
                    sections.push_back({text, {}, {}});
                    continue;
                }
                if (sections.empty())
                    continue;
                Section& section = sections.back();
                if (style == QLatin1String("Heading 2") || style == QLatin1String("Heading 3")) {
                    section.subsections.append(text);
                    continue;
                }
                for (auto it = wordPattern.globalMatch(text.toLower()); it.hasNext();)
                    section.words.append(it.next().captured());
                if (range.listFormat().listType() != list_type::None)
                    ++section.listItems;
                section.pictures += range.inlineShapes().count();
                const Table table = range.tables().first();
                if (!table.isNull() && table.range().start() > lastTableEnd) {
                    ++section.tables;
                    lastTableEnd = table.range().end() - 1;
                }
            }
            const QJsonArray expectedSections = expected.value(QStringLiteral("sections")).toArray();
            ASSERT_EQ(sections.size(), static_cast<size_t>(expectedSections.size()));
            for (qsizetype i = 0; i < expectedSections.size(); ++i) {
                const QJsonObject want = expectedSections[i].toObject();
                const Section& got = sections[static_cast<size_t>(i)];
                SCOPED_TRACE(got.title.toStdString());
                EXPECT_EQ(got.title, want.value(QStringLiteral("title")).toString());
                QStringList subsections;
                for (const auto& v : want.value(QStringLiteral("subsections")).toArray())
                    subsections.append(v.toString());
                EXPECT_EQ(got.subsections, subsections);
                QStringList words;
                for (const auto& v : want.value(QStringLiteral("words")).toArray())
                    words.append(v.toString());
                EXPECT_EQ(got.words, words);
                EXPECT_EQ(got.tables, want.value(QStringLiteral("tables")).toInt());
                EXPECT_EQ(got.listItems, want.value(QStringLiteral("list_items")).toInt());
                EXPECT_EQ(got.pictures, want.value(QStringLiteral("pictures")).toInt());
            }
        }
    }
}

TEST(DocxFixtureFiles, ListsTablesAndPicturesOfSmallDocuments)
{
    // A numbered list with a nested bulleted level, numbered as a word processor shows it.
    {
        const Document doc = openFixture(QStringLiteral("mammoth/simple-list.docx"));
        QStringList numbers;
        for (const Paragraph& p : doc.paragraphs())
            numbers.append(p.range().listFormat().listString() + QLatin1Char('|') + p.range().text().chopped(1));
        EXPECT_FALSE(numbers.isEmpty());
        for (const Paragraph& p : doc.paragraphs())
            EXPECT_NE(p.range().listFormat().listType(), list_type::None) << p.range().text().toStdString();
    }
    {
        const Document doc = openFixture(QStringLiteral("python-docx/tbl-2x2-table.docx"));
        ASSERT_EQ(doc.tables().count(), 1);
        EXPECT_EQ(doc.tables().first().rowCount(), 2);
        EXPECT_EQ(doc.tables().first().columnCount(), 2);
    }
    {
        const Document doc = openFixture(QStringLiteral("mammoth/tiny-picture.docx"));
        ASSERT_EQ(doc.inlineShapes().count(), 1);
        const PictureData picture = doc.inlineShapes().first().picture();
        EXPECT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_EQ(picture.extension, QStringLiteral("png"));
        EXPECT_TRUE(picture.bytes.startsWith("\x89PNG"));
    }
    {
        const Document doc = openFixture(QStringLiteral("python-docx/par-hyperlinks.docx"));
        EXPECT_GT(doc.content().hyperlinks().count(), 0);
    }
}
