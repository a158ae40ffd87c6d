// Pictures of a label: named in the order met, written as JPEG files when asked, referenced
// from the section text, from their table cell or from their list item.
#include "WordImportTestSupport.h"

#include "app/log/frmLog.h"
#include "support/DocxFixture.h"
#include "support/WordMarkup.h"

#include "platform/word/picture/MetafileConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

// A picture of the media that relationship `id` names, `width` pixels wide (at 96 per inch).
QString pictureRun(const QString& id = "rIdImg", int width = 10)
{
    return QString("<w:r><w:drawing><wp:inline><wp:extent cx=\"%1\" cy=\"47625\"/><wp:docPr id=\"1\" name=\"p\"/>"
                   "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
                   "<pic:blipFill><a:blip r:embed=\"%2\"/><a:stretch/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
                   "</wp:inline></w:drawing></w:r>")
        .arg(width * 9525)
        .arg(id);
}

QString picture(const QString& id = "rIdImg", int width = 10)
{
    return "<w:p>" + pictureRun(id, width) + "</w:p>";
}

QByteArray le16(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes += char(value & 0xFF), bytes += char((value >> 8) & 0xFF);
    return bytes;
}

QByteArray le32(quint32 value)
{
    return le16({int(value & 0xFFFF), int(value >> 16)});
}

// A Windows metafile of one rectangle, which the converter draws.
QByteArray wmfOfARectangle()
{
    return le16({1, 9, 0x0300}) + le32(19) + le16({0}) + le32(7) + le16({0}) + le32(7) + le16({0x041B, 20, 40, 0, 0})
        + le32(3) + le16({0});
}

// A metafile that passes the checks and crashes the converter's player (text at the far
// left edge of a picture without a placeable header).
QByteArray wmfThatCrashesItsConverter()
{
    return le16({1, 9, 0x0300}) + le32(22) + le16({2}) + le32(10) + le16({0}) + le32(10)
        + le16({0x0521, 1, 0x7FFF, 0, 0x8000, 100, 0x7FFF, 0}) + le32(3) + le16({0});
}

// A label of one section whose pictures are the given paragraphs, each media in `media`
// under its relationship id.
QByteArray labelCiting(const QMap<QString, QByteArray>& media, const QString& pictures)
{
    DocxParts parts;
    parts.styles = labelStyles();
    for (auto it = media.cbegin(); it != media.cend(); ++it) {
        parts.relationships += relationship(it.key(), "image", "media/" + it.key() + ".wmf");
        parts.parts.insert("word/media/" + it.key() + ".wmf", it.value());
    }
    return docxFrom(styled("Heading1", "DESCRIPTION") + pictures + styled("", "End."), parts);
}

// The converter program in place of the real one for the test: a script that notes each
// run in `runs`, then runs `command`.
class ConverterInPlace {
public:
    ConverterInPlace(const TempDir& dir, const QString& command, std::chrono::milliseconds timeLimit)
        : runs(dir.file("converter-runs")), script_(dir.file("converter"))
    {
        writeTextFile(script_, "#!/bin/sh\necho run >> '" + runs + "'\nexec " + command + "\n");
        QFile::setPermissions(script_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        word::setMetafileConverterForTesting(script_, timeLimit);
    }
    ~ConverterInPlace() { word::setMetafileConverterForTesting(QString(), {}); }

    int count() const { return readTextFile(runs).count("run"); }

    const QString runs;

private:
    QString script_;
};

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

// A document may cite one picture many times: each media is drawn once for each size it is
// shown at, and one that could not be drawn is not tried again; every citation still gets its
// file, or the reason in the log.
TEST_F(PictureExtractionTest, EachMediaIsDrawnOnceForAllItsCitations)
{
    const ConverterInPlace converter(dir, "'" + QDir(QCoreApplication::applicationDirPath()).filePath("veldra-metafile") + "' \"$@\"",
                                     std::chrono::seconds(20));
    const QString file = save(labelCiting({{"rIdGood", wmfOfARectangle()}, {"rIdBad", wmfThatCrashesItsConverter()}},
                                          picture("rIdGood").repeated(30) + picture("rIdBad").repeated(20)
                                              + picture("rIdGood", 20)));
    clsWord word;
    word.ExtractImages = true;
    const std::optional<xml::Document> spl = convert(word, file);
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    EXPECT_EQ(converter.count(), 3) << "one run for each media and size";
    EXPECT_EQ(section(*spl, "DESCRIPTION").selectNodes(".//observationMedia").length(), 51);
    for (int number = 1; number <= 51; ++number) {
        const QString name = QString("img%1.jpg").arg(number, 4, 10, QChar('0'));
        const bool good = number <= 30 || number == 51;
        EXPECT_EQ(QImage(dir.file(name), "JPG").width(), !good ? 0 : number == 51 ? 20 : 10) << name.toStdString();
    }
    EXPECT_EQ(linesOf(logLines(), "Warning").filter(QRegularExpression("WMF picture (made its converter fail|could not be converted)")).size(),
              20)
        << logLines().join('\n').toStdString();
}

// Drawing all pictures of a document has a time bound: once it is spent, the pictures after
// it are not drawn, the log says so once and names each, and the import goes on.
TEST_F(PictureExtractionTest, PicturesPastTheDrawingTimeAreNotDrawnAndTheImportGoesOn)
{
    const ConverterInPlace converter(dir, "sleep 5", std::chrono::milliseconds(300));
    QMap<QString, QByteArray> media;
    QString pictures;
    for (int n = 1; n <= 8; ++n) {
        media.insert(QString("rId%1").arg(n), wmfOfARectangle());
        pictures += picture(QString("rId%1").arg(n));
    }
    const QString file = save(labelCiting(media, pictures));
    clsWord word;
    word.ExtractImages = true;
    word.PictureDrawingTime = std::chrono::seconds(1);
    const std::optional<xml::Document> spl = convert(word, file);
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    const int runs = converter.count();
    EXPECT_GE(runs, 2);
    EXPECT_LT(runs, 6);
    const QStringList warnings = linesOf(logLines(), "Warning");
    EXPECT_EQ(warnings.filter("could not be drawn within 0.3 seconds").size(), runs) << warnings.join('\n').toStdString();
    EXPECT_EQ(warnings.filter("have taken the 1 seconds allowed to draw them, so no more are drawn").size(), 8 - runs);
    EXPECT_EQ(warnings.filter(QString("taken more than the 1 seconds allowed: the pictures after img%1.jpg are not drawn")
                                  .arg(runs, 4, 10, QChar('0')))
                  .size(),
              1)
        << warnings.join('\n').toStdString();
    EXPECT_EQ(section(*spl, "DESCRIPTION").selectNodes(".//observationMedia").length(), 8);
    EXPECT_EQ(section(*spl, "DESCRIPTION").selectSingleNode("text/paragraph").text().trimmed(), "End.");
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.jpg"}).isEmpty());
}
