#pragma once

#include <QByteArray>
#include <QString>

namespace veldra::word {

// The SVG reader builds a node for every element before it draws, and drawing takes
// time for each: an SVG document of more elements than this is not drawn.
inline constexpr qint64 MaxSvgElements = 100'000;

// Why an SVG document is not drawn, worded to follow "the picture" ("draws images from
// outside the document"); empty when it may be drawn. The SVG reader would load a file
// that an image names, and an untrusted document must not bring the user's files into its
// picture; a document of more than MaxSvgElements elements costs too much to draw, and so
// does a JPEG image in it of more than kMaxJpegScans scans.
QString svgFault(const QByteArray& svg);

} // namespace veldra::word
