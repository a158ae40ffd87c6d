#pragma once

#include "platform/word/picture/PictureRenderer.h"

#include <QRectF>

#include <optional>

namespace veldra::word {

// Where the whole, uncropped picture lands when its cropped part fills a canvas of
// `pixels`; it may reach past the canvas. Nothing when the crop leaves no picture.
std::optional<QRectF> uncroppedPlacement(const PictureCrop& crop, QSize pixels);

// A drawing size of about `wanted` within picture_limits::MaxSide and MaxPixels (scaled
// down as a whole to fit), at least one pixel a side.
QSize drawingSizeWithinLimits(QSizeF wanted);

// A white canvas of the picture's pixel size onto which the decoded picture is drawn
// at its uncropped placement; the canvas's edges do the cropping.
class PictureCanvas {
public:
    PictureCanvas(QSize pixels, const QRectF& placement);

    // Draws a bitmap over `partOfPicture` (fractions of the picture's size), scaling only
    // the part that shows (smoothly, so that a reduction averages rather than skips pixels).
    void draw(const QImage& bitmap, const QRectF& partOfPicture = QRectF(0, 0, 1, 1));
    const QRectF& placement() const { return placement_; }
    // The canvas in QImage::Format_RGB888.
    QImage result() const;

private:
    // Where `partOfPicture` lands on the canvas.
    QRectF area(const QRectF& partOfPicture) const;

    QImage canvas_;
    QRectF placement_;
};

} // namespace veldra::word
