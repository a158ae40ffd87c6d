// Pictures of a label: named in the order met, written as JPEG files when asked, referenced
// from the section text, from their table cell or from their list item.
#include "WordImportTestSupport.h"

#include "app/log/frmLog.h"
#include "support/DocxFixture.h"
#include "support/WordMarkup.h"

#include <QFileInfo>
#include <QImage>

using namespace veldra;
using namespace veldra::test;

namespace {

QString pictureRun()
{
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"95250\" cy=\"47625\"/><wp:docPr id=\"1\" name=\"p\"/>"
           "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
           "<pic:blipFill><a:blip r:embed=\"rIdImg\"/><a:stretch/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
           "</wp:inline></w:drawing></w:r>";
}

QString picture()
{
    return "<w:p>" + pictureRun() + "</w:p>";
}

// Pictures on their own, in a table cell alone and beside text, and in list items: the step
// pictures of instructions for use.
QByteArray labelWithPictures()
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.numbering = listNumberingDefinitions() + numberingInstance(1, false, 0);
    parts.relationships = relationship("rIdImg", "image", "media/red.png");
    parts.parts.insert("word/media/red.png", pngBytes(10, 5, 0xff0000));
    const QString cell = "<w:tc>" + picture() + "</w:tc>";
    const QString textAndPicture = "<w:tc>" + wordParagraph("", wordRun("text ") + pictureRun()) + "</w:tc>";
    const QString item = listParagraphProperties(1, 0);
    return docxFrom(styled("Heading1", "DESCRIPTION") + picture() + styled("", "Between.") + picture()
                        + "<w:tbl><w:tr>" + cell + textAndPicture + "</w:tr></w:tbl>"
                        + wordParagraph(item, wordRun("Open the cap. ") + pictureRun()) + wordParagraph(item, wordRun("Shake."))
                        + wordParagraph(item, pictureRun() + wordRun("Spray.")) + styled("", "End."),
                    parts);
}

QStringList references(const xml::Node& node)
{
    QStringList ids;
    for (const xml::Node& reference : node.selectNodes(".//renderMultiMedia"))
        ids << reference.getAttribute("referencedObject");
    return ids;
}

} // namespace

class PictureExtractionTest : public WordImportTest {};

TEST_F(PictureExtractionTest, PicturesAreNumberedWrittenAndReferencedWhereTheyStand)
{
    const QString file = save(labelWithPictures());
    const QStringList all{"img0001", "img0002", "img0003", "img0004", "img0005", "img0006"};
    for (const bool extract : {true, false}) {
        SCOPED_TRACE(extract ? "extracting" : "naming only");
        closeLog();
        for (const QString& name : all)
            QFile::remove(dir.file(name + ".jpg"));
        clsWord word;
        word.ExtractImages = extract;
        const std::optional<xml::Document> spl = convert(word, file);
        ASSERT_TRUE(spl) << logLines().join('\n').toStdString();
        const xml::Node description = section(*spl, "DESCRIPTION");
        EXPECT_EQ(references(description.selectSingleNode("text")), all);
        EXPECT_EQ(references(description.selectSingleNode("text/table")), QStringList({"img0003", "img0004"}));
        EXPECT_EQ(description.selectSingleNode("text/table/tbody/tr").text().trimmed(), "text");
        EXPECT_EQ(references(description.selectSingleNode("text/list")), QStringList({"img0005", "img0006"}));
        QStringList items;
        for (const xml::Node& item : description.selectNodes("text/list/item"))
            items << item.text().trimmed();
        EXPECT_EQ(items, QStringList({"Open the cap.", "Shake.", "Spray."}));
        EXPECT_EQ(description.selectNodes(".//observationMedia").length(), 6);
        EXPECT_EQ(description.selectSingleNode("text/paragraph").text().trimmed(), "Between.");
        for (const QString& name : all)
            EXPECT_EQ(QFileInfo::exists(dir.file(name + ".jpg")), extract) << name.toStdString();
        EXPECT_EQ(linesOf(logLines(), "Warning").filter("Manual setup").size(), extract ? 0 : 6);
        EXPECT_TRUE(linesOf(logLines(), "Error").isEmpty()) << logLines().join('\n').toStdString();
    }
}

TEST_F(PictureExtractionTest, AFatalErrorRestoresTheCaptionAndReturnsNothing)
{
    const QString file = save(labelWithPictures());
    ShowLogWindow(true);
    logWindow()->setWindowTitle("SPL Info Window");
    // Without a picture folder the conversion cannot start; without the picture template it
    // fails in the middle of the walk, while the caption shows its progress.
    clsWord noFolder;
    EXPECT_FALSE(noFolder.ProcessSPLR4Document(file, "", "No", "Heading 1", "Title", "Heading 2", "BOXED WARNING"));
    QFile::remove(program.file("LabelDefinitions/TEMPLATE_MM_IMAGE.xml"));
    clsWord word;
    EXPECT_FALSE(convert(word, file));
    EXPECT_EQ(linesOf(logLines(), "Fatal Error").size(), 2);
    EXPECT_EQ(logWindow()->windowTitle(), "SPL Info Window");
    EXPECT_FALSE(word.Document.isOpen());
    EXPECT_FALSE(word.SPL);
}

// A picture file the user marked read-only is kept, and the log says so; the label still
// refers to it. The other pictures are written as usual.
TEST_F(PictureExtractionTest, AReadOnlyPictureOfTheUserIsKeptAndTheLogSaysSo)
{
    const QString file = save(labelWithPictures());
    const QString kept = dir.file("img0002.jpg");
    writeTextFile(kept, "hand-made picture");
    QFile::setPermissions(kept, QFile::ReadOwner | QFile::ReadGroup);
    clsWord word;
    word.ExtractImages = true;
    const std::optional<xml::Document> spl = convert(word, file);
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    EXPECT_EQ(readTextFile(kept), "hand-made picture");
    EXPECT_EQ(references(section(*spl, "DESCRIPTION").selectSingleNode("text")),
              QStringList({"img0001", "img0002", "img0003", "img0004", "img0005", "img0006"}));
    const QStringList errors = linesOf(logLines(), "Error");
    ASSERT_EQ(errors.size(), 1) << logLines().join('\n').toStdString();
    EXPECT_TRUE(errors[0].contains("img0002.jpg") && errors[0].contains("read-only")) << errors[0].toStdString();
    EXPECT_TRUE(QImage(dir.file("img0001.jpg"), "JPG").width() > 0);
    EXPECT_TRUE(QImage(dir.file("img0003.jpg"), "JPG").width() > 0);
}
