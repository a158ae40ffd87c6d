#include "platform/word/picture/PictureCanvas.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace veldra::word {

namespace {

// a:srcRect's unit: a thousandth of a percent.
constexpr double CropUnit = 100000.0;

} // namespace

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

void PictureCanvas::draw(const QImage& bitmap)
{
    const QRectF shown = placement_.intersected(QRectF(QPointF(0, 0), QSizeF(canvas_.size())));
    if (shown.isEmpty() || bitmap.isNull())
        return;
    const double xScale = bitmap.width() / placement_.width();
    const double yScale = bitmap.height() / placement_.height();
    const QRect source = QRectF((shown.left() - placement_.left()) * xScale, (shown.top() - placement_.top()) * yScale,
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

void PictureCanvas::draw(QSvgRenderer& vector, const QRectF& partOfPicture)
{
    QPainter painter(&canvas_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(canvas_.rect());
    vector.setAspectRatioMode(Qt::IgnoreAspectRatio);
    vector.render(&painter, QRectF(placement_.left() + partOfPicture.left() * placement_.width(),
                                   placement_.top() + partOfPicture.top() * placement_.height(),
                                   partOfPicture.width() * placement_.width(),
                                   partOfPicture.height() * placement_.height()));
}

QImage PictureCanvas::result() const
{
    return canvas_.convertToFormat(QImage::Format_RGB888);
}

} // namespace veldra::word
