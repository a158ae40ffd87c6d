#include "wordimport/PictureWork.h"

#include <QElapsedTimer>

#include <cmath>

namespace veldra {

namespace {

// The media of a shape, the same for all its citations; empty for graphics without media.
QString mediaOf(const word::InlineShape& shape)
{
    if (!shape.mediaPart().isEmpty())
        return QStringLiteral("part:") + shape.mediaPart();
    if (!shape.linkTarget().isEmpty())
        return QStringLiteral("link:") + shape.linkTarget();
    return QString();
}

// The stored crop as fractions of the picture becomes thousandths of a percent cut off each edge.
word::PictureCrop cropOf(const QRectF& shown)
{
    const auto thousandths = [](double fraction) { return static_cast<int>(std::lround(fraction * 100000.0)); };
    return {thousandths(shown.left()), thousandths(shown.top()), thousandths(1.0 - shown.right()),
            thousandths(1.0 - shown.bottom())};
}

QString citationOf(const QString& media, const word::PictureCrop& crop, QSize pixels)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
        .arg(pixels.width())
        .arg(pixels.height())
        .arg(crop.left)
        .arg(crop.top)
        .arg(crop.right)
        .arg(crop.bottom)
        .arg(media);
}

word::RenderedPicture failure(const QString& reason)
{
    return word::RenderedPicture{QImage(), reason};
}

word::RenderedPicture drawn(const word::InlineShape& shape)
{
    const word::PictureData data = shape.picture();
    if (!data.ok())
        return failure(data.error);
    return word::renderPicture({data.bytes, data.contentType, data.extension}, cropOf(data.crop),
                               QSize(shape.pixelWidth(), shape.pixelHeight()));
}

} // namespace

PictureWork::PictureWork(std::chrono::milliseconds drawingTime) : drawingTime_(drawingTime) {}

word::RenderedPicture PictureWork::draw(const word::InlineShape& shape)
{
    const QString media = mediaOf(shape);
    if (media.isEmpty())
        return drawTimed(shape, media);
    if (const auto failed = mediaFailures_.constFind(media); failed != mediaFailures_.cend())
        return failure(*failed);
    const word::PictureCrop crop = cropOf(shape.crop());
    const QSize pixels(shape.pixelWidth(), shape.pixelHeight());
    const QString citation = citationOf(media, crop, pixels);
    if (const auto known = citations_.constFind(citation); known != citations_.cend())
        return *known;
    if (const QString fault = word::citationFault(crop, pixels); !fault.isEmpty())
        return failure(fault);
    const word::RenderedPicture picture = drawTimed(shape, media);
    keep(citation, picture);
    return picture;
}

word::RenderedPicture PictureWork::drawTimed(const word::InlineShape& shape, const QString& media)
{
    if (drawingTimeIsSpent())
        return failure(QStringLiteral("the pictures of this document have taken the %1 seconds allowed to draw them, "
                                      "so no more are drawn")
                           .arg(double(drawingTime_.count()) / 1000.0));
    QElapsedTimer clock;
    clock.start();
    const word::RenderedPicture picture = drawn(shape);
    spent_ += std::chrono::nanoseconds(clock.nsecsElapsed());
    if (!picture.ok() && !media.isEmpty())
        mediaFailures_.insert(media, picture.reason);
    return picture;
}

void PictureWork::keep(const QString& citation, const word::RenderedPicture& picture)
{
    const qint64 bytes = picture.image.sizeInBytes();
    if (bytes > import_picture_limits::KeptBytes)
        return;
    while (keptBytes_ + bytes > import_picture_limits::KeptBytes) {
        keptBytes_ -= citations_.take(keptOrder_.front()).image.sizeInBytes();
        keptOrder_.pop_front();
    }
    citations_.insert(citation, picture);
    keptOrder_.push_back(citation);
    keptBytes_ += bytes;
}

} // namespace veldra
