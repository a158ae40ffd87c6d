#include "platform/word/picture/PictureCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace veldra::word {

namespace {

// a:srcRect's unit: a thousandth of a percent.
constexpr double CropUnit = 100000.0;

} // namespace

QSize drawingSizeWithinLimits(QSizeF wanted)
{
    const double width = wanted.width(), height = wanted.height();
    const double scale = std::min({1.0, picture_limits::MaxSide / width, picture_limits::MaxSide / height,
                                   std::sqrt(picture_limits::MaxPixels / (width * height))});
    return QSize(std::max(1, int(std::lround(width * scale))), std::max(1, int(std::lround(height * scale))));
}

std::optional<QRectF> uncroppedPlacement(const PictureCrop& crop, QSize pixels)
{
    const double shownWidth = 1.0 - (double(crop.left) + crop.right) / CropUnit;
    const double shownHeight = 1.0 - (double(crop.top) + crop.bottom) / CropUnit;
    if (shownWidth <= 1e-6 || shownHeight <= 1e-6)
        return std::nullopt;
    const double width = pixels.width() / shownWidth;
    const double height = pixels.height() / shownHeight;
    return QRectF(-crop.left / CropUnit * width, -crop.top / CropUnit * height, width, height);
}

PictureCanvas::PictureCanvas(QSize pixels, const QRectF& placement)
    : canvas_(pixels, QImage::Format_RGB32), placement_(placement)
{
    canvas_.fill(Qt::white);
}

QRectF PictureCanvas::area(const QRectF& partOfPicture) const
{
    return QRectF(placement_.left() + partOfPicture.left() * placement_.width(),
                  placement_.top() + partOfPicture.top() * placement_.height(), partOfPicture.width() * placement_.width(),
                  partOfPicture.height() * placement_.height());
}

void PictureCanvas::draw(const QImage& bitmap, const QRectF& partOfPicture)
{
    const QRectF drawn = area(partOfPicture);
    const QRectF shown = drawn.intersected(QRectF(QPointF(0, 0), QSizeF(canvas_.size())));
    if (shown.isEmpty() || bitmap.isNull())
        return;
    const double xScale = bitmap.width() / drawn.width();
    const double yScale = bitmap.height() / drawn.height();
    const QRect source = QRectF((shown.left() - drawn.left()) * xScale, (shown.top() - drawn.top()) * yScale,
                                shown.width() * xScale, shown.height() * yScale)
                             .toAlignedRect()
                             .intersected(bitmap.rect());
    const QRect target(QPoint(int(std::lround(shown.left())), int(std::lround(shown.top()))),
                       QPoint(int(std::lround(shown.right())) - 1, int(std::lround(shown.bottom())) - 1));
    if (source.isEmpty() || target.isEmpty())
        return;
    const QImage part = bitmap.copy(source).scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas_);
    painter.drawImage(target.topLeft(), part);
}

QImage PictureCanvas::result() const
{
    return canvas_.convertToFormat(QImage::Format_RGB888);
}

} // namespace veldra::word
