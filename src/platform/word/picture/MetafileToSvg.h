#pragma once

#include <QByteArray>
#include <QString>

namespace veldra::word {

// A metafile turned into an SVG document, or why it could not be.
struct SvgConversion {
    QByteArray svg;
    QString reason;
};

// Enhanced metafiles (EMF); of a dual EMF+ file the plain EMF drawing is converted.
SvgConversion emfToSvg(const QByteArray& emf);
// Windows metafiles, with or without the placeable header.
SvgConversion wmfToSvg(const QByteArray& wmf);

} // namespace veldra::word
