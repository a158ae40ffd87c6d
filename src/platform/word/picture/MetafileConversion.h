#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace veldra::word {

// A metafile turned into an SVG document, or why it could not be.
struct SvgConversion {
    QByteArray svg;
    QString reason;
};

// A metafile drawn into a bitmap, or why it could not be.
struct BitmapConversion {
    QImage image;
    QString reason;
};

// Enhanced metafiles (EMF); of a dual EMF+ file the plain EMF drawing is converted.
SvgConversion emfToSvg(const QByteArray& emf);
// Windows metafiles, with or without the placeable header, drawn at `pixels`. The
// picture's frame is the placeable header's rectangle, or else what the records draw.
BitmapConversion wmfToBitmap(const QByteArray& wmf, QSize pixels);

} // namespace veldra::word
