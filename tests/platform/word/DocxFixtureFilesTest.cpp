// The real documents of the fixtures: every one opens, and what a reader sees in them
// comes out of the model.
#include "platform/word/Document.h"
#include "platform/word/Field.h"
#include "platform/core/VbError.h"
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

TEST(DocxFixtureFiles, SmallDocumentsReadAsAWordProcessorShowsThem)
{
    // Text, styles and lists.
    EXPECT_EQ(paragraphTexts(openFixture(QStringLiteral("mammoth/tables.docx"))),
              (QStringList{"Above", "Top left", "Top right", "Bottom left", "Bottom right", "Below"}));
    EXPECT_EQ(paragraphTexts(openFixture(QStringLiteral("mammoth/strict-format.docx"))), QStringList{"Test"});
    // Comments are not part of the main story; a footnote's mark is, and carries the note's
    // text; a text box's paragraphs follow the paragraph that holds it, so that a label loses
    // none of its text.
    {
        const Document doc = openFixture(QStringLiteral("mammoth/footnotes.docx"));
        EXPECT_EQ(paragraphTexts(doc), QStringList{QStringLiteral("Ouch\u0002.\u0002")});
        QStringList notes;
        for (const Note& note : doc.content().notes())
            notes << QString::number(note.reference().start()) + ": " + note.text();
        EXPECT_EQ(notes, (QStringList{"4: A tachyon walks into a bar.", "6: Fin."}));
    }
    EXPECT_EQ(paragraphTexts(openFixture(QStringLiteral("mammoth/comments.docx"))), QStringList{"Ouch."});
    EXPECT_EQ(paragraphTexts(openFixture(QStringLiteral("mammoth/text-box.docx"))), (QStringList{"", "Datum plane"}));
    {
        const Document doc = openFixture(QStringLiteral("mammoth/simple-list.docx"));
        EXPECT_EQ(paragraphTexts(doc), (QStringList{"Apple", "Banana"}));
        for (const Paragraph& p : doc.paragraphs()) {
            EXPECT_EQ(p.range().listFormat().listType(), list_type::Bullet);
            EXPECT_EQ(p.range().listFormat().listString(), QStringLiteral("\u2022"));
        }
    }
    {
        const Document doc = openFixture(QStringLiteral("python-docx/par-known-styles.docx"));
        QStringList styles;
        for (const Paragraph& p : doc.paragraphs())
            styles.append(p.style());
        EXPECT_EQ(styles, (QStringList{"Normal", "Normal", "Heading 1", "Body Text", "Normal"}));
        const Document numbered = openFixture(QStringLiteral("python-docx/num-having-numbering-part.docx"));
        EXPECT_EQ(numbered.paragraphs().first().style(), QStringLiteral("List Number"));
        EXPECT_EQ(numbered.paragraphs().first().range().listFormat().listString(), QStringLiteral("1."));
    }
    // Formatting and alignment.
    {
        const Document doc = openFixture(QStringLiteral("python-docx/txt-font-props.docx"));
        const auto paragraphs = doc.paragraphs();
        EXPECT_EQ(paragraphs.item(5).range().font().underline(), underline::Single);
        EXPECT_EQ(paragraphs.item(7).range().font().underline(), underline::Double);
        const Range mixed = paragraphs.item(11).range();
        EXPECT_EQ(mixed.font().superscript(), Mixed);
        const int sup = mixed.text().indexOf(QStringLiteral("superscript"));
        EXPECT_EQ(doc.range(mixed.start() + sup, mixed.start() + sup + 11).font().superscript(), True);
        std::vector<int> alignments;
        for (const Paragraph& p : openFixture(QStringLiteral("python-docx/par-alignment.docx")).paragraphs())
            alignments.push_back(p.range().paragraphFormat().alignment());
        EXPECT_EQ(alignments, (std::vector<int>{alignment::Left, alignment::Left, alignment::Center, alignment::Right,
                                                alignment::Justify}));
    }
    // Hyperlinks and the page breaks the file recorded.
    {
        const Document doc = openFixture(QStringLiteral("python-docx/par-hyperlinks.docx"));
        const auto links = doc.paragraphs().item(3).range().hyperlinks();
        ASSERT_EQ(links.count(), 3);
        EXPECT_EQ(links.item(2).textToDisplay(), QStringLiteral("second one"));
        EXPECT_EQ(links.item(2).address(), QStringLiteral("http://python.org/"));
        const Document paged = openFixture(QStringLiteral("python-docx/par-rendered-page-breaks.docx"));
        std::vector<int> pages;
        for (const Paragraph& p : paged.paragraphs())
            pages.push_back(p.range().pageNumber());
        EXPECT_EQ(pages, (std::vector<int>{1, 2, 4, 6}));
        // Its statistics say 1 page; the breaks it records say 6.
        EXPECT_EQ(paged.pageCount(), 6);
    }
    // Tables with merged cells: the merged positions have no cell.
    {
        const Document doc = openFixture(QStringLiteral("python-docx/tbl-cell-access.docx"));
        ASSERT_EQ(doc.tables().count(), 4);
        const Table merged = doc.tables().item(4);
        EXPECT_EQ(merged.rowCount(), 3);
        EXPECT_EQ(merged.columnCount(), 3);
        EXPECT_EQ(merged.cell(2, 2).range().text(), QStringLiteral("6\r"));
        EXPECT_THROW(merged.cell(3, 1), VbError);
        EXPECT_TRUE(merged.cell(1, 1).border(border::Top));
    }
    // Pictures: sizes, linked ones, charts and SmartArt.
    {
        const Document doc = openFixture(QStringLiteral("python-docx/shp-inline-shape-access.docx"));
        const auto shapes = doc.inlineShapes();
        ASSERT_EQ(shapes.count(), 5);
        std::vector<int> types;
        for (const InlineShape& shape : shapes)
            types.push_back(shape.type());
        EXPECT_EQ(types, (std::vector<int>{inline_shape_type::Picture, inline_shape_type::LinkedPicture,
                                           inline_shape_type::LinkedPicture, inline_shape_type::SmartArt, inline_shape_type::Chart}));
        EXPECT_DOUBLE_EQ(shapes.item(1).width(), 140.0);
        EXPECT_DOUBLE_EQ(shapes.item(1).height(), 56.0);
        EXPECT_EQ(shapes.item(1).picture().contentType, QStringLiteral("image/png"));
        // Linked to a file on another machine: not read, whereas the one also embedded is.
        EXPECT_FALSE(shapes.item(2).picture().ok());
        EXPECT_EQ(shapes.item(3).picture().extension, QStringLiteral("jpeg"));
        EXPECT_EQ(shapes.item(4).picture().kind, PictureData::Kind::SmartArt);
        EXPECT_EQ(shapes.item(5).picture().kind, PictureData::Kind::Chart);
        EXPECT_EQ(openFixture(QStringLiteral("python-docx/having-images.docx")).inlineShapes().count(), 5);
    }
    // A floating picture is read in line where it is anchored, and the reader says so.
    {
        const Document doc = openFixture(QStringLiteral("mammoth/external-picture.docx"));
        EXPECT_EQ(doc.inlineShapes().count(), 1);
        EXPECT_EQ(doc.warnings().filter(QStringLiteral("floating")).size(), 1);
    }
}
