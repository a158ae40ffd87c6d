#pragma once

#include <QByteArray>

namespace veldra::word {

// Whether the SVG document draws an image from anywhere but its own data: the SVG
// reader would load a file named by the document, and an untrusted document must not
// bring the user's files into its picture.
bool svgRefersOutside(const QByteArray& svg);

} // namespace veldra::word
