#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

namespace veldra::word {

// A vector picture drawn into a bitmap, or why it could not be.
struct BitmapConversion {
    QImage image;
    QString reason;
};

// The conversions check a metafile first (MetafileChecks.h), then run the converter
// program in a process of its own under a time limit (MetafileConverter.h); a picture that
// fails either is not drawn, with the reason. The converter draws an SVG document, and the
// one an EMF picture converts to, only when SvgChecks.h finds nothing against it.

// Enhanced metafiles (EMF), drawn at `pixels`; of a dual EMF+ file the plain EMF drawing.
// The drawing covers emfPartOfFrame() of the picture.
BitmapConversion emfToBitmap(const QByteArray& emf, QSize pixels);
// The part of an EMF picture's frame (fractions of its width and height) that its drawing
// covers: a metafile may draw less, or more, than its frame. The whole frame when the
// header gives no usable frame or bounds.
QRectF emfPartOfFrame(const QByteArray& emf);
// SVG documents, drawn at `pixels`.
BitmapConversion svgToBitmap(const QByteArray& svg, QSize pixels);
// Windows metafiles, with or without the placeable header, drawn at `pixels`. The
// picture's frame is the placeable header's rectangle, or else what the records draw.
BitmapConversion wmfToBitmap(const QByteArray& wmf, QSize pixels);

} // namespace veldra::word
