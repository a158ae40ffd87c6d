#include "platform/word/picture/MetafileConverter.h"
#include "platform/word/picture/PictureRenderer.h"
#include "platform/word/picture/SvgChecks.h"

#include "platform/word/picture/Metafiles.h"
#include "support/ChildProcesses.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;
using test::le16;
using test::le32;

namespace {

const QColor Red(220, 30, 30);
const QSize Picture(40, 30);

const QString Wmf = QStringLiteral("image/x-wmf");
const QString Emf = QStringLiteral("image/x-emf");

// WMF records.
constexpr quint32 Rectangle = 0x041B, Polygon = 0x0324, TextOut = 0x0521, CreateRegion = 0x06FF, SetBkMode = 0x0102;
constexpr quint32 StretchDib = 0x0F43, DibCreatePatternBrush = 0x0142, CreatePenIndirect = 0x02FA, Pie = 0x081A;
// EMF records.
constexpr quint32 Polyline16 = 87, ExtTextOutW = 84, StretchDiBits = 81;

// A WMF record drawing `bitmap` over the whole picture.
test::MetafileRecord wmfStretchedBitmap(const QByteArray& bitmap)
{
    return {StretchDib, le32({0x00CC0020}) + le16({0, 4, 4, 0, 0, Picture.height(), Picture.width(), 0, 0}) + bitmap};
}

// An EMF record drawing `bitmap` (a 40-byte header, then its pixels) over the whole picture;
// the record says its header lies at `headerAt`.
test::MetafileRecord emfStretchedBitmap(const QByteArray& bitmap, qint64 headerAt = 80)
{
    const qint64 pixelsAt = 80 + 40;
    return {StretchDiBits, le32({0, 0, Picture.width() - 1, Picture.height() - 1, 0, 0, 0, 0, 4, 4, headerAt, 40, pixelsAt,
                                 bitmap.size() - 40, 0, 0x00CC0020, Picture.width(), Picture.height()})
                               + bitmap};
}

// A bitmap header whose pixels are a PNG file, as EMF records may carry them.
QByteArray pngBitmap(QSize size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    png.append(QByteArray((4 - png.size() % 4) % 4, '\0'));
    return le32({40, size.width(), size.height()}) + le16({1, 0}) + le32({5, png.size(), 3780, 3780, 0, 0}) + png;
}

QByteArray withField32(QByteArray bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

// As many small records as a metafile may hold, and one more.
QByteArray wmfOfTooManyRecords()
{
    QByteArray wmf = test::wmfWithRecords(Picture, {{SetBkMode, le16({1})}});
    const QByteArray record = le32({4}) + le16({int(SetBkMode), 1});
    const qsizetype end = wmf.size() - 6;
    return wmf.left(end) + record.repeated(picture_limits::MaxMetafileRecords) + wmf.mid(end);
}

RenderedPicture render(const QByteArray& bytes, const QString& type)
{
    return renderPicture({bytes, type, {}}, {}, Picture);
}

// An EMF picture of one filled rectangle more than an SVG document may hold elements.
QByteArray emfOfTooManyRectangles()
{
    constexpr quint32 RectangleRecord = 43, EndRecordBytes = 20;
    const QByteArray emf = test::emfWithRectangles(Picture, {{QRect(0, 0, 20, 10), Red}});
    const QByteArray rectangle = le32({RectangleRecord, 24, 0, 0, 20, 10});
    QByteArray many = emf.left(emf.size() - EndRecordBytes) + rectangle.repeated(MaxSvgElements) + emf.right(EndRecordBytes);
    qToLittleEndian<quint32>(quint32(many.size()), many.data() + 48);
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(many.constData() + 52) + quint32(MaxSvgElements), many.data() + 52);
    return many;
}

QString converterBesideTheTests()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("veldra-metafile"));
}

// A pattern brush whose bitmap header declares a size of 0: the WMF player never returns from it.
QByteArray wmfThatHangsThePlayer()
{
    return test::wmfWithRecords(Picture, {{DibCreatePatternBrush, le16({100, 100, 0, 0, 2, -1})}});
}

} // namespace

// Sizes, counts and offsets that a converter would follow as written are checked before it
// sees the metafile; what points outside its record or the file is not drawn, with a reason.
TEST(HostileMetafileTest, WhatAConverterWouldFollowIsCheckedFirstAndRefusedWithAReason)
{
    const QByteArray bitmap = test::solidBitmap({4, 4}, Red);
    const QByteArray wmfRectangle = test::wmfWithRecords(Picture, {{Rectangle, le16({10, 10, 0, 0})}});
    const QByteArray emfPolyline = test::emfWithRecords(Picture, {{Polyline16, le32({0, 0, 9, 9, 2}) + le16({0, 0, 9, 9})}});
    QByteArray wmfRecordPastTheEnd = wmfRectangle;
    qToLittleEndian<quint32>(4000, wmfRecordPastTheEnd.data() + 40);
    const struct {
        const char* name;
        QByteArray bytes;
        QString type;
        const char* reasonHas;
    } cases[] = {
        {"wmf bitmap header of no size (the player hangs)", wmfThatHangsThePlayer(), Wmf, "bitmap with a damaged header"},
        {"wmf bitmap cut short", test::wmfWithRecords(Picture, {wmfStretchedBitmap(bitmap.left(bitmap.size() - 8))}), Wmf,
         "pixels reach past"},
        {"wmf bitmap of 30001 columns", test::wmfWithRecords(Picture, {wmfStretchedBitmap(withField32(bitmap, 4, 30001))}),
         Wmf, "too large"},
        {"wmf bitmap of 256 colours without them",
         test::wmfWithRecords(Picture, {wmfStretchedBitmap(withField32(withField32(bitmap, 14, 8), 32, 256))}), Wmf,
         "colours reach past"},
        {"wmf polygon of 1000 points holding 2", test::wmfWithRecords(Picture, {{Polygon, le16({1000, 0, 0, 9, 9})}}), Wmf,
         "more points"},
        {"wmf text of 200 characters holding 2", test::wmfWithRecords(Picture, {{TextOut, le16({200, 0x4141, 0, 0})}}), Wmf,
         "more characters"},
        {"wmf region of 50 scans holding none",
         test::wmfWithRecords(Picture, {{CreateRegion, le16({0, 6, 0, 0, 22, 50, 0, 0, 0, 9, 9})}}), Wmf, "region scans"},
        {"wmf rectangle without its corners", test::wmfWithRecords(Picture, {{Rectangle, {}}}), Wmf, "shorter than its kind"},
        {"wmf record past the end of the file", wmfRecordPastTheEnd, Wmf, "past the end of the file"},
        {"wmf without its end record", wmfRectangle.left(wmfRectangle.size() - 6), Wmf, "without its end record"},
        {"wmf of too many records", wmfOfTooManyRecords(), Wmf, "more than 1000000 records"},
        {"emf description far past the file", withField32(withField32(emfPolyline, 60, 16), 64, 0x7FFFFF00), Emf,
         "description lies outside"},
        {"emf description whose length in bytes wraps", withField32(withField32(emfPolyline, 60, 0x80000000), 64, 88), Emf,
         "description lies outside"},
        {"emf bitmap header outside its record", test::emfWithRecords(Picture, {emfStretchedBitmap(bitmap, 4000)}), Emf,
         "bitmap outside the record"},
        {"emf bitmap of more rows than its pixels",
         test::emfWithRecords(Picture, {emfStretchedBitmap(withField32(bitmap, 8, 400))}), Emf, "pixels reach past"},
        {"emf polyline of 1000 points holding 2",
         test::emfWithRecords(Picture, {{Polyline16, le32({0, 0, 9, 9, 1000}) + le16({0, 0, 9, 9})}}), Emf, "more entries"},
        {"emf text placed past its record",
         test::emfWithRecords(Picture, {{ExtTextOutW, le32({0, 0, 9, 9, 1, 0, 0, 0, 0, 3, 4000, 0, 0, 0, 9, 9, 0})}}), Emf,
         "text outside the record"},
        {"emf record past the end of the file", withField32(emfPolyline, 92, 4000), Emf, "past the end of the file"},
        {"emf without its end record", emfPolyline.left(emfPolyline.size() - 20), Emf, "without its end record"},
    };
    for (const auto& c : cases) {
        const RenderedPicture rendered = render(c.bytes, c.type);
        EXPECT_FALSE(rendered.ok()) << c.name;
        EXPECT_TRUE(rendered.reason.contains(QLatin1String(c.reasonHas))) << c.name << ": " << rendered.reason.toStdString();
    }
    // The same metafiles whole are drawn: the checks refuse only what is wrong.
    EXPECT_TRUE(render(wmfRectangle, Wmf).ok()) << render(wmfRectangle, Wmf).reason.toStdString();
    EXPECT_TRUE(render(emfPolyline, Emf).ok()) << render(emfPolyline, Emf).reason.toStdString();
}

TEST(HostileMetafileTest, BitmapsInsideMetafilesAreDrawn)
{
    const QByteArray bitmap = test::solidBitmap({4, 4}, Red);
    const struct {
        const char* name;
        QByteArray bytes;
        QString type;
    } cases[] = {
        {"wmf", test::wmfWithRecords(Picture, {wmfStretchedBitmap(bitmap)}), Wmf},
        {"emf", test::emfWithRecords(Picture, {emfStretchedBitmap(bitmap)}), Emf},
        {"emf holding a png", test::emfWithRecords(Picture, {emfStretchedBitmap(pngBitmap({4, 4}, Red))}), Emf},
    };
    for (const auto& c : cases) {
        const RenderedPicture rendered = render(c.bytes, c.type);
        ASSERT_TRUE(rendered.ok()) << c.name << ": " << rendered.reason.toStdString();
        const QColor middle = rendered.image.pixelColor(Picture.width() / 2, Picture.height() / 2);
        EXPECT_NEAR(middle.red(), Red.red(), 8) << c.name;
        EXPECT_NEAR(middle.green(), Red.green(), 8) << c.name;
        EXPECT_NEAR(middle.blue(), Red.blue(), 8) << c.name;
    }
}

// An EMF picture is drawn by its converter, under its limits, and one that would draw
// more than an SVG document may hold is refused there, quickly and with the reason.
TEST(HostileMetafileTest, AnEmfPictureOfTooManyShapesIsRefusedByItsConverter)
{
    const RenderedPicture rendered = render(emfOfTooManyRectangles(), Emf);
    EXPECT_FALSE(rendered.ok());
    EXPECT_EQ(rendered.reason, QStringLiteral("the EMF picture has more than 100000 elements to draw"));
}

// The converter runs in a process of its own: a metafile that passes the checks but never
// ends is killed at the time limit, one that crashes its converter ends that process only.
TEST(HostileMetafileTest, AConverterThatHangsOrCrashesEndsItsOwnProcessOnly)
{
    // A dashed pen 32767 units wide drawing a pie: the player draws it for minutes.
    const QByteArray endless = test::wmfWithRecords(
        {1000, 1000}, {{CreatePenIndirect, le16({1, 32767, 3, 32767, 1})}, {Pie, le16({2, 2, 50, 50, -6780, 50, 1000, 2})}});
    setMetafileConverterForTesting(converterBesideTheTests(), std::chrono::milliseconds(1500));
    const test::ChildWatch converter("veldra-metafile", std::chrono::seconds(20));
    const RenderedPicture hung = render(endless, Wmf);
    EXPECT_FALSE(converter.outlived()) << "the converter ran on past its time limit";
    setMetafileConverterForTesting(QString(), {});
    EXPECT_FALSE(hung.ok());
    EXPECT_EQ(hung.reason, QStringLiteral("the WMF picture could not be drawn within 1.5 seconds"));

    // Text at the far left edge of a picture without a placeable header: the player crashes.
    const QByteArray crashing = le16({1, 9, 0x0300}) + le32({22}) + le16({2}) + le32({10}) + le16({0}) + le32({10})
        + le16({int(TextOut), 1, 0x7FFF, 0, 0x8000, 100, 0x7FFF, 0}) + le32({3}) + le16({0});
    const RenderedPicture crashed = render(crashing, Wmf);
    EXPECT_FALSE(crashed.ok());
    // A sanitizer build's converter catches the crash itself and exits with a failure instead.
    EXPECT_TRUE(crashed.reason == QStringLiteral("the WMF picture made its converter fail")
                || crashed.reason == QStringLiteral("the WMF picture could not be converted"))
        << crashed.reason.toStdString();

    setMetafileConverterForTesting(QStringLiteral("/nonexistent/veldra-metafile"), std::chrono::seconds(1));
    const RenderedPicture missing = render(test::wmfWithRecords(Picture, {{Rectangle, le16({10, 10, 0, 0})}}), Wmf);
    setMetafileConverterForTesting(QString(), {});
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.reason.contains(QLatin1String("is missing"))) << missing.reason.toStdString();
}
