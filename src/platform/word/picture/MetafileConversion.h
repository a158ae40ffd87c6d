#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

namespace veldra::word {

// A metafile turned into an SVG document, or why it could not be. The document covers
// `partOfFrame` of the picture's frame (fractions of its width and height): a metafile
// may draw less than its frame.
struct SvgConversion {
    QByteArray svg;
    QRectF partOfFrame{0, 0, 1, 1};
    QString reason;
};

// A metafile drawn into a bitmap, or why it could not be.
struct BitmapConversion {
    QImage image;
    QString reason;
};

// Both conversions check the metafile first (MetafileChecks.h), then run the converter
// program in a process of its own under a time limit (MetafileConverter.h); a metafile that
// fails either is not converted, with the reason.

// Enhanced metafiles (EMF); of a dual EMF+ file the plain EMF drawing is converted.
SvgConversion emfToSvg(const QByteArray& emf);
// Windows metafiles, with or without the placeable header, drawn at `pixels`. The
// picture's frame is the placeable header's rectangle, or else what the records draw.
BitmapConversion wmfToBitmap(const QByteArray& wmf, QSize pixels);

} // namespace veldra::word
