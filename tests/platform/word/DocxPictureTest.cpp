// Inline pictures: sizes, what kind of graphic they are, and what a renderer gets.
#include "support/DocxFixture.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace veldra;
using namespace veldra::word;

namespace {

QString inlineGraphic(qint64 cx, qint64 cy, const QString& uri, const QString& data)
{
    return QStringLiteral("<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"%1\" cy=\"%2\"/><wp:docPr id=\"1\" name=\"p\"/>"
                          "<a:graphic><a:graphicData uri=\"%3\">%4</a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>")
        .arg(cx).arg(cy).arg(uri, data);
}

QString picture(qint64 cx, qint64 cy, const QString& blip, const QString& crop = QString())
{
    return inlineGraphic(cx, cy, QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"),
                         QStringLiteral("<pic:pic><pic:blipFill><a:blip %1/>%2<a:stretch/></pic:blipFill></pic:pic>").arg(blip, crop));
}

test::DocxParts withMedia()
{
    test::DocxParts parts;
    parts.relationships = test::relationship(QStringLiteral("rIdImg"), QStringLiteral("image"), QStringLiteral("media/red.png")) +
                          test::relationship(QStringLiteral("rIdEmf"), QStringLiteral("image"), QStringLiteral("media/pic.emf")) +
                          test::relationship(QStringLiteral("rIdNear"), QStringLiteral("image"), QStringLiteral("linked.png"), true) +
                          test::relationship(QStringLiteral("rIdFar"), QStringLiteral("image"), QStringLiteral("../outside.png"), true);
    parts.parts.insert(QStringLiteral("word/media/red.png"), test::pngBytes(4, 2, 0xff0000));
    parts.parts.insert(QStringLiteral("word/media/pic.emf"), QByteArray("\x01\x00\x00\x00 not really an emf", 22));
    return parts;
}

} // namespace

TEST(DocxPicture, EmbeddedPicturesWithSizeCropAndMedia)
{
    const Document doc = test::openDocx(
        picture(914400, 457200, QStringLiteral("r:embed=\"rIdImg\""),
                QStringLiteral("<a:srcRect l=\"10000\" t=\"20000\" r=\"30000\" b=\"0\"/>")) +
            picture(12700 * 10, 12700 * 20, QStringLiteral("r:embed=\"rIdEmf\"")),
        withMedia());
    const auto shapes = doc.inlineShapes();
    ASSERT_EQ(shapes.count(), 2);
    const InlineShape first = shapes.item(1);
    EXPECT_EQ(first.type(), inline_shape_type::Picture);
    EXPECT_DOUBLE_EQ(first.width(), 72.0);
    EXPECT_DOUBLE_EQ(first.height(), 36.0);
    EXPECT_EQ(first.pixelWidth(), 96);
    EXPECT_EQ(first.pixelHeight(), 48);
    const PictureData png = first.picture();
    ASSERT_TRUE(png.ok()) << png.error.toStdString();
    EXPECT_EQ(png.kind, PictureData::Kind::Picture);
    EXPECT_EQ(png.contentType, QStringLiteral("image/png"));
    EXPECT_EQ(png.extension, QStringLiteral("png"));
    EXPECT_EQ(png.bytes, test::pngBytes(4, 2, 0xff0000));
    EXPECT_EQ(png.extentCx, 914400);
    EXPECT_DOUBLE_EQ(png.crop.left(), 0.1);
    EXPECT_DOUBLE_EQ(png.crop.top(), 0.2);
    EXPECT_DOUBLE_EQ(png.crop.width(), 0.6);
    EXPECT_DOUBLE_EQ(png.crop.height(), 0.8);
    const PictureData emf = shapes.item(2).picture();
    EXPECT_EQ(emf.contentType, QStringLiteral("image/x-emf"));
    EXPECT_EQ(emf.extension, QStringLiteral("emf"));
    EXPECT_EQ(doc.paragraphs().first().range().inlineShapes().count(), 1);
}

TEST(DocxPicture, GraphicsThatAreNotPicturesComeWithoutBytes)
{
    const Document doc = test::openDocx(
        inlineGraphic(12700, 12700, QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/chart"), QStringLiteral("<c/>")) +
            inlineGraphic(12700, 12700, QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/diagram"), QStringLiteral("<d/>")) +
            inlineGraphic(12700, 12700, QStringLiteral("urn:example:unknown"), QStringLiteral("<u/>")) +
            picture(9525LL * 30000, 9525, QStringLiteral("r:embed=\"rIdImg\"")) +
            picture(9525, 9525, QStringLiteral("r:embed=\"rIdMissing\"")),
        withMedia());
    const auto shapes = doc.inlineShapes();
    ASSERT_EQ(shapes.count(), 5);
    EXPECT_EQ(shapes.item(1).type(), inline_shape_type::Chart);
    EXPECT_EQ(shapes.item(1).picture().kind, PictureData::Kind::Chart);
    EXPECT_EQ(shapes.item(2).type(), inline_shape_type::SmartArt);
    EXPECT_EQ(shapes.item(3).picture().kind, PictureData::Kind::Unknown);
    // A picture far beyond any page is not handed to a decoder.
    EXPECT_EQ(shapes.item(4).pixelWidth(), 30000);
    for (int i = 1; i <= 5; ++i) {
        const PictureData data = shapes.item(i).picture();
        EXPECT_FALSE(data.ok()) << i;
        EXPECT_TRUE(data.bytes.isEmpty()) << i;
    }
}

TEST(DocxPicture, VmlPicturesObjectsAndFloatingShapes)
{
    test::DocxParts parts = withMedia();
    const Document doc = test::openDocx(
        QStringLiteral("<w:p><w:r><w:pict><v:shape style=\"width:1in;height:36pt\"><v:imagedata r:id=\"rIdImg\" cropleft=\"0.25\" "
                       "cropbottom=\"16384f\"/></v:shape></w:pict></w:r>"
                       "<w:r><w:object w:dxaOrig=\"1440\" w:dyaOrig=\"720\"><v:shape style=\"\"><v:imagedata r:id=\"rIdEmf\"/></v:shape>"
                       "</w:object></w:r>"
                       "<w:r><w:pict><v:shape style=\"position:absolute;width:10pt;height:10pt\"><v:imagedata r:id=\"rIdImg\"/></v:shape>"
                       "</w:pict></w:r>"
                       "<w:r><w:drawing><wp:anchor><wp:extent cx=\"1\" cy=\"1\"/></wp:anchor></w:drawing></w:r>"
                       "<w:r><w:pict><v:group style=\"width:144pt;height:72pt\" coordsize=\"2000,1000\"><v:shape "
                       "style=\"width:1000;height:500\"><v:imagedata r:id=\"rIdImg\"/></v:shape></v:group></w:pict></w:r></w:p>"),
        parts);
    // The floating VML picture and the one in a group are read in line, the grouped one sized
    // in its group's coordinates; an anchored drawing without a picture is not.
    EXPECT_EQ(doc.content().text(), QStringLiteral("////\r"));
    const auto shapes = doc.inlineShapes();
    ASSERT_EQ(shapes.count(), 4);
    EXPECT_DOUBLE_EQ(shapes.item(3).width(), 10.0);
    EXPECT_DOUBLE_EQ(shapes.item(4).width(), 72.0);
    EXPECT_DOUBLE_EQ(shapes.item(4).height(), 36.0);
    EXPECT_DOUBLE_EQ(shapes.item(1).width(), 72.0);
    EXPECT_DOUBLE_EQ(shapes.item(1).height(), 36.0);
    const PictureData vml = shapes.item(1).picture();
    EXPECT_EQ(vml.bytes, test::pngBytes(4, 2, 0xff0000));
    EXPECT_DOUBLE_EQ(vml.crop.left(), 0.25);
    EXPECT_DOUBLE_EQ(vml.crop.height(), 0.75);
    EXPECT_EQ(shapes.item(2).type(), inline_shape_type::EmbeddedOleObject);
    EXPECT_DOUBLE_EQ(shapes.item(2).width(), 72.0);
    EXPECT_EQ(shapes.item(2).picture().kind, PictureData::Kind::Ole);
    EXPECT_EQ(shapes.item(2).picture().extension, QStringLiteral("emf"));
}

// VML and object sizes past any page, infinite or not numbers at all, also through groups
// nested hundreds deep, are held at the largest extent a document can state or read as no
// size: never a number that wrapped round.
TEST(DocxPicture, VmlAndObjectSizesPastAnyPageAreHeldAtTheLargestExtent)
{
    const double largest = 27273042316900.0 / 12700.0;  // points
    const auto shape = [](const QString& style, const QString& more = QString()) {
        return QStringLiteral("<w:r><w:pict><v:shape style=\"%1\"><v:imagedata r:id=\"rIdImg\" %2/></v:shape></w:pict></w:r>")
            .arg(style, more);
    };
    QString nested = QStringLiteral("<v:shape style=\"width:1e300;height:1e300\"><v:imagedata r:id=\"rIdImg\"/></v:shape>");
    for (int depth = 0; depth < 200; ++depth)
        nested = QStringLiteral("<v:group style=\"width:1e300;height:1e300\" coordsize=\"1e-300,1e-300\">%1</v:group>").arg(nested);
    struct Case {
        const char* name;
        QString run;
        double width;
        double height;
    };
    const std::vector<Case> cases{
        {"lengths past any page", shape(QStringLiteral("width:1e300pt;height:1e30in")), largest, largest},
        {"infinite, not a number", shape(QStringLiteral("width:inf;height:nan")), largest, 0},
        {"negative", shape(QStringLiteral("width:-1e300pt;height:-inf")), 0, 0},
        {"groups nested 200 deep",
         QStringLiteral("<w:r><w:pict><v:group style=\"width:1e300pt;height:1e300pt\">%1</v:group></w:pict></w:r>").arg(nested),
         largest, largest},
        {"an object's original size at the ends of a number",
         QStringLiteral("<w:r><w:object w:dxaOrig=\"9223372036854775807\" w:dyaOrig=\"-9223372036854775808\"><v:shape "
                        "style=\"\"><v:imagedata r:id=\"rIdEmf\"/></v:shape></w:object></w:r>"),
         largest, 0},
    };
    for (const Case& c : cases) {
        const Document doc = test::openDocx(QStringLiteral("<w:p>") + c.run + QStringLiteral("</w:p>"), withMedia());
        const auto shapes = doc.inlineShapes();
        ASSERT_EQ(shapes.count(), 1) << c.name;
        EXPECT_DOUBLE_EQ(shapes.item(1).width(), c.width) << c.name;
        EXPECT_DOUBLE_EQ(shapes.item(1).height(), c.height) << c.name;
    }

    // Crops that are not numbers cut nothing.
    const Document cropped = test::openDocx(
        QStringLiteral("<w:p>") + shape(QStringLiteral("width:1pt;height:1pt"), QStringLiteral("cropleft=\"nan\" croptop=\"nanf\""))
            + QStringLiteral("</w:p>"),
        withMedia());
    EXPECT_EQ(cropped.inlineShapes().item(1).picture().crop, QRectF(0, 0, 1, 1));
}

TEST(DocxPicture, LinkedPicturesAreReadOnlyFromTheDocumentsFolder)
{
    test::TempDir temp;
    const QString folder = temp.path() + QStringLiteral("/docs");
    QDir().mkpath(folder);
    QFile near(folder + QStringLiteral("/linked.png"));
    ASSERT_TRUE(near.open(QIODevice::WriteOnly));
    near.write(test::pngBytes(2, 2, 0x00ff00));
    near.close();
    QFile far(temp.path() + QStringLiteral("/outside.png"));
    ASSERT_TRUE(far.open(QIODevice::WriteOnly));
    far.write("secret");
    far.close();

    const QByteArray bytes = test::docxFrom(picture(12700, 12700, QStringLiteral("r:link=\"rIdNear\"")) +
                                                picture(12700, 12700, QStringLiteral("r:link=\"rIdFar\"")),
                                            withMedia());
    Document doc;
    ASSERT_TRUE(doc.openBytes(bytes, folder));
    const auto shapes = doc.inlineShapes();
    EXPECT_EQ(shapes.item(1).type(), inline_shape_type::LinkedPicture);
    const PictureData inside = shapes.item(1).picture();
    EXPECT_TRUE(inside.ok()) << inside.error.toStdString();
    EXPECT_EQ(inside.bytes, test::pngBytes(2, 2, 0x00ff00));
    const PictureData outside = shapes.item(2).picture();
    EXPECT_FALSE(outside.ok());
    EXPECT_TRUE(outside.bytes.isEmpty());

    // Without a folder nothing linked is read.
    Document unplaced;
    ASSERT_TRUE(unplaced.openBytes(bytes));
    EXPECT_FALSE(unplaced.inlineShapes().first().picture().ok());
}

// A pipe would block the reader and a device would be read until memory runs out.
TEST(DocxPicture, ALinkedPictureThatIsNoFileIsRefusedWithoutBlocking)
{
    test::TempDir temp;
    ASSERT_EQ(mkfifo(QFile::encodeName(temp.file("pipe.png")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(temp.file("folder.png")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), temp.file("zero.png")));
    const struct {
        const char* target;
        const char* reasonHas;
    } cases[] = {
        {"pipe.png", "a pipe"},
        {"folder.png", "a folder"},
        {"zero.png", "not a file in the document's folder"},
    };
    for (const auto& c : cases) {
        test::DocxParts parts;
        parts.relationships = test::relationship(QStringLiteral("rIdLink"), QStringLiteral("image"), QString::fromLatin1(c.target), true);
        Document doc;
        ASSERT_TRUE(doc.openBytes(test::docxFrom(picture(12700, 12700, QStringLiteral("r:link=\"rIdLink\"")), parts), temp.path()));
        const PictureData data = doc.inlineShapes().first().picture();
        EXPECT_FALSE(data.ok()) << c.target;
        EXPECT_TRUE(data.bytes.isEmpty()) << c.target;
        EXPECT_TRUE(data.error.contains(QLatin1String(c.reasonHas))) << data.error.toStdString();
    }
}
