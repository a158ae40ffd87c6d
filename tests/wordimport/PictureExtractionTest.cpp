// Pictures of a label: named in the order met, written as JPEG files when asked, referenced
// from the section text or from their table cell.
#include "WordImportTestSupport.h"

#include "app/frmLog.h"
#include "support/DocxFixture.h"

#include <QFileInfo>
#include <QImage>

using namespace veldra;
using namespace veldra::test;

namespace {

QString picture()
{
    return "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"95250\" cy=\"47625\"/><wp:docPr id=\"1\" name=\"p\"/>"
           "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
           "<pic:blipFill><a:blip r:embed=\"rIdImg\"/><a:stretch/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
           "</wp:inline></w:drawing></w:r></w:p>";
}

QByteArray labelWithPictures()
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.relationships = relationship("rIdImg", "image", "media/red.png");
    parts.parts.insert("word/media/red.png", pngBytes(10, 5, 0xff0000));
    const QString cell = "<w:tc>" + picture() + "</w:tc>";
    return docxFrom(styled("Heading1", "DESCRIPTION") + picture() + styled("", "Between.") + picture()
                        + "<w:tbl><w:tr>" + cell + "<w:tc>" + para("text") + "</w:tc></w:tr></w:tbl>" + styled("", "End."),
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
    for (const bool extract : {true, false}) {
        SCOPED_TRACE(extract ? "extracting" : "naming only");
        closeLog();
        for (const char* name : {"img0001.jpg", "img0002.jpg", "img0003.jpg"})
            QFile::remove(dir.file(name));
        clsWord word;
        word.ExtractImages = extract;
        const std::optional<xml::Document> spl = convert(word, file);
        ASSERT_TRUE(spl) << logLines().join('\n').toStdString();
        const xml::Node description = section(*spl, "DESCRIPTION");
        EXPECT_EQ(references(description.selectSingleNode("text")), QStringList({"img0001", "img0002", "img0003"}));
        EXPECT_EQ(references(description.selectSingleNode("text/table")), QStringList({"img0003"}));
        EXPECT_EQ(description.selectNodes(".//observationMedia").length(), 3);
        EXPECT_EQ(description.selectSingleNode("text/paragraph").text().trimmed(), "Between.");
        for (const char* name : {"img0001.jpg", "img0002.jpg", "img0003.jpg"})
            EXPECT_EQ(QFileInfo::exists(dir.file(name)), extract) << name;
        EXPECT_EQ(linesOf(logLines(), "Warning").filter("Manual setup").size(), extract ? 0 : 3);
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
    EXPECT_EQ(references(section(*spl, "DESCRIPTION").selectSingleNode("text")), QStringList({"img0001", "img0002", "img0003"}));
    const QStringList errors = linesOf(logLines(), "Error");
    ASSERT_EQ(errors.size(), 1) << logLines().join('\n').toStdString();
    EXPECT_TRUE(errors[0].contains("img0002.jpg") && errors[0].contains("read-only")) << errors[0].toStdString();
    EXPECT_TRUE(QImage(dir.file("img0001.jpg"), "JPG").width() > 0);
    EXPECT_TRUE(QImage(dir.file("img0003.jpg"), "JPG").width() > 0);
}
