#include "platform/word/picture/PictureRenderer.h"

#include "platform/word/picture/JpegDecoding.h"
#include "platform/word/picture/MetafileConversion.h"
#include "platform/word/picture/PictureCanvas.h"
#include "platform/word/picture/PictureKind.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <limits>

namespace veldra::word {

namespace {

constexpr double EmuPerPixel = 9525.0;

RenderedPicture failure(const QString& reason)
{
    return RenderedPicture{QImage(), reason};
}

bool isTooLarge(QSize size, int maxSide, qint64 maxPixels)
{
    return size.width() > maxSide || size.height() > maxSide || qint64(size.width()) * size.height() > maxPixels;
}

// The bitmap, or a null image and why not. Its size is checked before the pixels are decoded.
// A JPEG picture is decoded by a decoder that also bounds its scans.
QImage decodeBitmap(const QByteArray& bytes, QString& reason)
{
    if (isJpeg(bytes))
        return decodeJpeg(bytes, reason);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && isTooLarge(size, picture_limits::MaxSourceSide, picture_limits::MaxSourcePixels)) {
        reason = QStringLiteral("the bitmap of %1 x %2 pixels is too large to decode").arg(size.width()).arg(size.height());
        return QImage();
    }
    QImage image = reader.read();
    if (image.isNull())
        reason = QStringLiteral("the bitmap could not be decoded: ") + reader.errorString();
    return image;
}

RenderedPicture drawBitmap(const QByteArray& bytes, PictureCanvas& canvas)
{
    QString reason;
    const QImage bitmap = decodeBitmap(bytes, reason);
    if (bitmap.isNull())
        return failure(reason);
    canvas.draw(bitmap);
    return RenderedPicture{canvas.result(), QString()};
}

RenderedPicture drawSvg(const QByteArray& svg, PictureCanvas& canvas)
{
    const BitmapConversion conversion = svgToBitmap(svg, drawingSizeWithinLimits(canvas.placement().size()));
    if (conversion.image.isNull())
        return failure(conversion.reason);
    canvas.draw(conversion.image);
    return RenderedPicture{canvas.result(), QString()};
}

// The converter draws the EMF picture at the size its drawing takes on the canvas.
RenderedPicture drawEmf(const QByteArray& emf, PictureCanvas& canvas)
{
    const QRectF part = emfPartOfFrame(emf);
    const QSizeF size(part.width() * canvas.placement().width(), part.height() * canvas.placement().height());
    const BitmapConversion conversion = emfToBitmap(emf, drawingSizeWithinLimits(size));
    if (conversion.image.isNull())
        return failure(conversion.reason);
    canvas.draw(conversion.image, part);
    return RenderedPicture{canvas.result(), QString()};
}

// The WMF player draws without smoothing, so it draws at twice the size shown and the
// reduction smooths its edges (within the size limits).
RenderedPicture drawWmf(const QByteArray& wmf, PictureCanvas& canvas)
{
    const BitmapConversion conversion = wmfToBitmap(wmf, drawingSizeWithinLimits(2 * canvas.placement().size()));
    if (conversion.image.isNull())
        return failure(conversion.reason);
    canvas.draw(conversion.image);
    return RenderedPicture{canvas.result(), QString()};
}

QString describedFormat(const PictureMedia& media)
{
    if (!media.contentType.isEmpty())
        return media.contentType;
    return media.name.isEmpty() ? QStringLiteral("no type given") : media.name;
}

RenderedPicture draw(const PictureMedia& media, PictureCanvas& canvas)
{
    switch (pictureKindOf(media)) {
    case PictureKind::Raster:
        return drawBitmap(media.bytes, canvas);
    case PictureKind::Svg:
        return drawSvg(media.bytes, canvas);
    case PictureKind::Emf:
        return drawEmf(media.bytes, canvas);
    case PictureKind::Wmf:
        return drawWmf(media.bytes, canvas);
    case PictureKind::Chart:
        return failure(QStringLiteral("charts cannot be rendered"));
    case PictureKind::Diagram:
        return failure(QStringLiteral("SmartArt diagrams cannot be rendered"));
    case PictureKind::Unknown:
        break;
    }
    return failure(QStringLiteral("the picture's format is not known (%1)").arg(describedFormat(media)));
}

} // namespace

QSize pixelSizeFromExtent(qint64 widthEmu, qint64 heightEmu)
{
    auto pixels = [](qint64 emu) {
        const double value = std::round(double(emu) / EmuPerPixel);
        return int(std::clamp(value, 0.0, double(std::numeric_limits<int>::max())));
    };
    return QSize(pixels(widthEmu), pixels(heightEmu));
}

QString citationFault(const PictureCrop& crop, QSize pixels)
{
    if (pixels.width() < 1 || pixels.height() < 1)
        return QStringLiteral("the picture has no size");
    if (isTooLarge(pixels, picture_limits::MaxSide, picture_limits::MaxPixels))
        return QStringLiteral("the picture's size of %1 x %2 pixels is larger than allowed")
            .arg(pixels.width())
            .arg(pixels.height());
    if (!uncroppedPlacement(crop, pixels))
        return QStringLiteral("the crop leaves nothing of the picture");
    return QString();
}

RenderedPicture renderPicture(const PictureMedia& media, const PictureCrop& crop, QSize pixels)
{
    if (QString fault = citationFault(crop, pixels); !fault.isEmpty())
        return failure(fault);
    if (media.bytes.size() > picture_limits::MaxMediaBytes)
        return failure(QStringLiteral("the picture's data is larger than allowed"));
    const std::optional<QRectF> placement = uncroppedPlacement(crop, pixels);
    try {
        PictureCanvas canvas(pixels, *placement);
        return draw(media, canvas);
    } catch (const std::exception& e) {
        return failure(QStringLiteral("the picture could not be drawn: ") + QString::fromLocal8Bit(e.what()));
    }
}

} // namespace veldra::word
