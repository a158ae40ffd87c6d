#include "platform/word/picture/PictureRenderer.h"
#include "platform/word/picture/JpegDecoding.h"
#include "platform/word/picture/SvgChecks.h"

#include "platform/word/picture/Metafiles.h"
#include "support/Fixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>
#include <QPainter>
#include <gtest/gtest.h>
#include <zip.h>

#include <functional>
#include <vector>

#include <jpeglib.h>

using namespace veldra;
using namespace veldra::word;

namespace {

const QColor Red(220, 30, 30);
const QColor Blue(30, 30, 220);
const QColor Green(30, 200, 30);
const QColor Yellow(240, 230, 20);

// A picture with a red left half and a blue right half.
QImage halves(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width() / 2, size.height(), Red);
    painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), Blue);
    return image;
}

// Red, green, blue and yellow quarters: top left, top right, bottom left, bottom right.
QImage quarters(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    QPainter painter(&image);
    const int h = side / 2;
    painter.fillRect(0, 0, h, h, Red);
    painter.fillRect(h, 0, h, h, Green);
    painter.fillRect(0, h, h, h, Blue);
    painter.fillRect(h, h, h, h, Yellow);
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

QByteArray svgOfQuarters()
{
    return QByteArrayLiteral(
        "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
        "<rect x='0' y='0' width='50' height='50' fill='rgb(220,30,30)'/>"
        "<rect x='50' y='0' width='50' height='50' fill='rgb(30,200,30)'/>"
        "<rect x='0' y='50' width='50' height='50' fill='rgb(30,30,220)'/>"
        "<rect x='50' y='50' width='50' height='50' fill='rgb(240,230,20)'/></svg>");
}

// One red pixel, written out by hand because Qt has no GIF writer.
QByteArray redGifPixel()
{
    return QByteArray::fromHex("47494638396101000100800000FF00000000002C00000000010001000002024401003B");
}

QByteArray zipEntry(const QString& archive, const char* entry)
{
    QByteArray bytes;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return bytes;
    zip_stat_t stat;
    if (zip_stat(zip, entry, 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen(zip, entry, 0)) {
            bytes.resize(qsizetype(stat.size));
            bytes.resize(qsizetype(std::max<zip_int64_t>(0, zip_fread(file, bytes.data(), stat.size))));
            zip_fclose(file);
        }
    }
    zip_close(zip);
    return bytes;
}

// A progressive JPEG of `scans` scans: its last scan is repeated, as a hostile file repeats
// tiny scans by the thousand, and the decoder reads each repetition as a scan of its own.
QByteArray progressiveJpeg(int scans)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(halves({40, 20})));
    const qsizetype lastScan = bytes.lastIndexOf("\xFF\xDA");
    const qsizetype end = bytes.lastIndexOf("\xFF\xD9");
    const QByteArray scan = bytes.mid(lastScan, end - lastScan);
    return bytes.left(end) + scan.repeated(scans - bytes.count("\xFF\xDA")) + bytes.mid(end);
}

// The picture as a CMYK JPEG file written as Adobe's programs write one: inverted, so that
// each colour is its channel with full black.
QByteArray cmykJpeg(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(rgb.width()) * 4);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            std::copy_n(rgb.constScanLine(y) + 3 * x, 3, row.begin() + 4 * x);
            row[size_t(4 * x + 3)] = 255;
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    free(out);
    return bytes;
}

void expectColour(const QImage& image, QPoint at, const QColor& want, int tolerance, const std::string& what)
{
    const QColor got = image.pixelColor(at);
    EXPECT_NEAR(got.red(), want.red(), tolerance) << what << " at " << at.x() << "," << at.y();
    EXPECT_NEAR(got.green(), want.green(), tolerance) << what << " at " << at.x() << "," << at.y();
    EXPECT_NEAR(got.blue(), want.blue(), tolerance) << what << " at " << at.x() << "," << at.y();
}

} // namespace

TEST(PictureRendererTest, EveryStoredFormatIsDrawnAtTheTargetSize)
{
    // The metafiles leave their right quarter empty: the picture's frame, not the extent
    // of the drawing, is what fills the target.
    const QColor Ink(18, 52, 86);
    const QColor White(255, 255, 255);
    const auto rects = {std::pair{QRect(0, 0, 50, 50), Red}, std::pair{QRect(50, 0, 25, 50), Ink}};
    const struct {
        const char* name;
        PictureMedia media;
        QColor left, right, farRight;
        int tolerance;
    } cases[] = {
        {"png", {encoded(halves({40, 20}), "PNG"), QStringLiteral("image/png"), {}}, Red, Blue, Blue, 2},
        {"jpeg", {encoded(halves({40, 20}), "JPG"), QStringLiteral("image/jpeg"), {}}, Red, Blue, Blue, 30},
        {"grey jpeg", {encoded(halves({40, 20}).convertToFormat(QImage::Format_Grayscale8), "JPG"), {}, {}},
         QColor(qGray(Red.rgb()), qGray(Red.rgb()), qGray(Red.rgb())), QColor(qGray(Blue.rgb()), qGray(Blue.rgb()), qGray(Blue.rgb())),
         QColor(qGray(Blue.rgb()), qGray(Blue.rgb()), qGray(Blue.rgb())), 30},
        {"cmyk jpeg", {cmykJpeg(halves({40, 20})), {}, {}}, Red, Blue, Blue, 30},
        {"progressive jpeg of as many scans as allowed", {progressiveJpeg(kMaxJpegScans), {}, {}}, Red, Blue, Blue, 30},
        {"bmp by name only", {encoded(halves({40, 20}), "BMP"), {}, QStringLiteral("media/image3.bmp")}, Red, Blue, Blue, 2},
        {"svg known by its extension only", {"<!--" + QByteArray(5000, 'x') + "-->" + svgOfQuarters(), {}, QStringLiteral("SVG")}, Red, Green, Green, 2},
        {"tiff", {encoded(halves({40, 20}), "TIFF"), QStringLiteral("image/tiff"), {}}, Red, Blue, Blue, 2},
        {"gif", {redGifPixel(), QStringLiteral("image/gif"), {}}, QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 0, 0), 2},
        {"png declared as jpeg", {encoded(halves({40, 20}), "PNG"), QStringLiteral("image/jpeg"), {}}, Red, Blue, Blue, 2},
        {"svg", {svgOfQuarters(), QStringLiteral("image/svg+xml"), {}}, Red, Green, Green, 2},
        {"svg with an embedded bitmap",
         {"<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='20'>"
          "<image width='40' height='20' xlink:href='data:image/png;base64,"
              + encoded(halves({40, 20}), "PNG").toBase64() + "'/></svg>",
          {}, {}},
         Red, Blue, Blue, 3},
        {"svg with an embedded jpeg of as many scans as allowed",
         {"<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='20'>"
          "<image width='40' height='20' xlink:href='data:image/jpeg;base64,"
              + progressiveJpeg(kMaxJpegScans).toBase64() + "'/></svg>",
          {}, {}},
         Red, Blue, Blue, 30},
        {"emf", {test::emfWithRectangles({100, 50}, rects), QStringLiteral("image/x-emf"), {}}, Red, Ink, White, 2},
        {"wmf", {test::wmfWithRectangles({100, 50}, rects), QStringLiteral("image/x-wmf"), {}}, Red, Ink, White, 2},
    };
    for (const auto& c : cases) {
        const RenderedPicture rendered = renderPicture(c.media, {}, QSize(60, 30));
        ASSERT_TRUE(rendered.ok()) << c.name << ": " << rendered.reason.toStdString();
        EXPECT_EQ(rendered.image.size(), QSize(60, 30)) << c.name;
        EXPECT_EQ(rendered.image.format(), QImage::Format_RGB888) << c.name;
        expectColour(rendered.image, {12, 8}, c.left, c.tolerance, c.name);
        expectColour(rendered.image, {40, 8}, c.right, c.tolerance, c.name);
        expectColour(rendered.image, {55, 8}, c.farRight, c.tolerance, c.name);
    }
}

TEST(PictureRendererTest, SizeComesFromTheExtentAndTheCropChoosesThePart)
{
    EXPECT_EQ(pixelSizeFromExtent(914400, 457200), QSize(96, 48)) << "one inch by half an inch";
    EXPECT_EQ(pixelSizeFromExtent(9525 * 3 + 4762, 9525 * 3 + 4763), QSize(3, 4));
    EXPECT_EQ(pixelSizeFromExtent(-5, std::numeric_limits<qint64>::max()), QSize(0, std::numeric_limits<int>::max()));

    const PictureMedia bitmap{encoded(quarters(100), "PNG"), QStringLiteral("image/png"), {}};
    const PictureMedia vector{svgOfQuarters(), QStringLiteral("image/svg+xml"), {}};
    const PictureMedia metafile{test::wmfWithRectangles({100, 100}, {{QRect(0, 0, 50, 50), Red}, {QRect(50, 0, 50, 50), Green},
                                                                      {QRect(0, 50, 50, 50), Blue}, {QRect(50, 50, 50, 50), Yellow}}),
                                {}, {}};
    const QColor White(255, 255, 255);
    const struct {
        const char* name;
        PictureCrop crop;
        QColor topLeft, bottomRight;
    } crops[] = {
        {"whole", {}, Red, Yellow},
        {"bottom right quarter", {50000, 50000, 0, 0}, Yellow, Yellow},
        {"top left quarter", {0, 0, 50000, 50000}, Red, Red},
        {"middle band", {25000, 0, 25000, 0}, Red, Yellow},
        {"space added on the left", {-100000, 0, 0, 0}, White, Yellow},
    };
    for (const auto& [kind, media] :
         {std::pair{"bitmap", bitmap}, std::pair{"vector", vector}, std::pair{"metafile", metafile}}) {
        for (const auto& c : crops) {
            const std::string what = std::string(kind) + ", " + c.name;
            const RenderedPicture rendered = renderPicture(media, c.crop, QSize(96, 48));
            ASSERT_TRUE(rendered.ok()) << what << ": " << rendered.reason.toStdString();
            ASSERT_EQ(rendered.image.size(), QSize(96, 48)) << what;
            expectColour(rendered.image, {3, 3}, c.topLeft, 4, what);
            expectColour(rendered.image, {92, 44}, c.bottomRight, 4, what);
        }
    }
}

TEST(PictureRendererTest, TransparencyIsFlattenedOnWhite)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y)
        for (int x = 5; x < 10; ++x)
            image.setPixelColor(x, y, QColor(0, 0, 0, 128));
    for (const char* format : {"PNG", "TIFF"}) {
        const RenderedPicture rendered = renderPicture({encoded(image, format), {}, {}}, {}, QSize(20, 20));
        ASSERT_TRUE(rendered.ok()) << format;
        expectColour(rendered.image, {2, 10}, QColor(255, 255, 255), 0, format);
        expectColour(rendered.image, {17, 10}, QColor(127, 127, 127), 2, format);
    }
}

TEST(PictureRendererTest, ThePicturesOfARealLabelDocumentAreDrawn)
{
    const QString docx = test::fixture(QStringLiteral("docx/labels/viagra-rx.docx"));
    for (const char* entry : {"word/media/image1.jpg", "word/media/image2.jpg", "word/media/image10.jpg"}) {
        const QByteArray jpeg = zipEntry(docx, entry);
        ASSERT_FALSE(jpeg.isEmpty()) << entry;
        const QImage reference =
            QImage::fromData(jpeg).scaled(120, 90, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB888);
        const RenderedPicture rendered = renderPicture({jpeg, {}, QString::fromLatin1(entry)}, {}, QSize(120, 90));
        ASSERT_TRUE(rendered.ok()) << entry << ": " << rendered.reason.toStdString();
        qint64 difference = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 360; ++x)
                difference += std::abs(rendered.image.constScanLine(y)[x] - reference.constScanLine(y)[x]);
        EXPECT_LT(difference / (90 * 360), 3) << entry;
    }
}

TEST(PictureRendererTest, WhatCannotBeDrawnGivesAReasonAndNoImage)
{
    // A JPEG whose frame header claims 60000 x 60000 pixels.
    QByteArray hugeJpeg = encoded(halves({8, 8}), "JPG");
    const qsizetype frame = hugeJpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    qToBigEndian<quint16>(60000, hugeJpeg.data() + frame + 5);
    qToBigEndian<quint16>(60000, hugeJpeg.data() + frame + 7);
    const QByteArray png = encoded(halves({40, 20}), "PNG");
    const QByteArray emf = test::emfWithRectangles({100, 50}, {{QRect(0, 0, 10, 10), Red}});
    const QByteArray wmf = test::wmfWithRectangles({100, 50}, {{QRect(0, 0, 10, 10), Red}});
    const struct {
        const char* name;
        PictureMedia media;
        PictureCrop crop;
        QSize pixels;
        const char* reasonHas;
    } cases[] = {
        {"chart", {{}, QStringLiteral("application/vnd.openxmlformats-officedocument.drawingml.chart+xml"), {}}, {}, {50, 50}, "chart"},
        {"smartart", {{}, QStringLiteral("application/vnd.openxmlformats-officedocument.drawingml.diagramData+xml"), {}}, {}, {50, 50}, "SmartArt"},
        {"unknown", {"plain words", QStringLiteral("application/octet-stream"), QStringLiteral("media/x.bin")}, {}, {50, 50}, "application/octet-stream"},
        {"truncated png", {png.left(40), QStringLiteral("image/png"), {}}, {}, {50, 50}, "decoded"},
        {"garbage called jpeg", {"not a jpeg", QStringLiteral("image/jpeg"), {}}, {}, {50, 50}, "decoded"},
        {"bitmap too large to decode", {hugeJpeg, {}, {}}, {}, {50, 50}, "too large"},
        {"progressive jpeg of thousands of scans", {progressiveJpeg(20'000), {}, {}}, {}, {50, 50}, "more than 100 scans"},
        {"svg of a jpeg image of thousands of scans",
         {"<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='20'>"
          "<image width='40' height='20' xlink:href='data:image/jpeg;base64," + progressiveJpeg(20'000).toBase64() + "'/></svg>",
          {}, {}}, {}, {50, 50}, "more than 100 scans"},
        {"truncated jpeg", {encoded(halves({40, 20}), "JPG").left(20), {}, {}}, {}, {50, 50}, "decoded"},
        {"truncated emf", {emf.left(60), QStringLiteral("image/x-emf"), {}}, {}, {50, 50}, "EMF"},
        {"truncated wmf", {wmf.left(30), QStringLiteral("image/x-wmf"), {}}, {}, {50, 50}, "WMF"},
        {"broken svg", {"<svg xmlns='http://www.w3.org/2000/svg'><rect", {}, {}}, {}, {50, 50}, "SVG"},
        {"svg of more elements than are drawn",
         {"<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'>" + QByteArray("<g/>").repeated(MaxSvgElements)
              + "</svg>", {}, {}}, {}, {50, 50}, "more than 100000 elements"},
        {"svg drawing a file of the user's",
         {"<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='9' height='9'>"
          "<image xlink:href='/home/user/photo.png' width='9' height='9'/></svg>", {}, {}}, {}, {50, 50}, "outside"},
        {"no size", {png, {}, {}}, {}, {0, 50}, "no size"},
        {"extent too large", {png, {}, {}}, {}, {20000, 20000}, "larger"},
        {"crop leaves nothing", {png, {}, {}}, {60000, 0, 40000, 0}, {50, 50}, "crop"},
    };
    for (const auto& c : cases) {
        const RenderedPicture rendered = renderPicture(c.media, c.crop, c.pixels);
        EXPECT_FALSE(rendered.ok()) << c.name;
        EXPECT_TRUE(rendered.image.isNull()) << c.name;
        EXPECT_TRUE(rendered.reason.contains(QLatin1String(c.reasonHas))) << c.name << ": " << rendered.reason.toStdString();
    }
}

// The fuzz target's corpus: the first byte of each input chooses the declared type (and,
// with its high bit, a crop), as the fuzz target reads it. Damaged and hostile inputs
// are refused with a reason; the others draw.
TEST(PictureRendererTest, TheFuzzCorpusReplaysWithoutFaults)
{
    const char* const declaredTypes[] = {"", "image/png", "image/jpeg", "image/gif", "image/bmp", "image/tiff",
                                         "image/svg+xml", "image/x-emf", "image/x-wmf"};
    const QDir corpus(QStringLiteral(VELDRA_SOURCE_DIR "/fuzz/corpus/picture_renderer"));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_GE(files.size(), 10);
    for (const QString& name : files) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray input = file.readAll();
        ASSERT_FALSE(input.isEmpty()) << name.toStdString();
        const auto selector = static_cast<uint8_t>(input[0]);
        const PictureMedia media{input.mid(1), QString::fromLatin1(declaredTypes[selector % std::size(declaredTypes)]), {}};
        const PictureCrop crop = (selector & 0x80) ? PictureCrop{10000, -5000, 20000, 0} : PictureCrop{};
        const RenderedPicture rendered = renderPicture(media, crop, QSize(64, 48));
        const bool refused = name.startsWith(QLatin1String("truncated-")) || name.startsWith(QLatin1String("huge-"))
            || name.startsWith(QLatin1String("unknown")) || name.startsWith(QLatin1String("svg-outside"))
            || name.contains(QLatin1String("hostile-"));
        EXPECT_EQ(rendered.ok(), !refused) << name.toStdString() << ": " << rendered.reason.toStdString();
        EXPECT_EQ(rendered.reason.isEmpty(), rendered.ok()) << name.toStdString();
    }
}
