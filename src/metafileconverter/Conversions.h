#pragma once

#include <cstddef>
#include <string>

namespace veldra::metafile {

// The conversions of the converter program. Each takes the metafile's bytes and gives the
// converted document, or an empty string when the library could not convert it.

// An enhanced metafile (EMF) as an SVG document; of a dual EMF+ file the plain EMF drawing.
std::string emfToSvg(std::string emf);
// A Windows metafile, with or without the placeable header, drawn as a PNG of
// `width` x `height` pixels. The picture's frame is the placeable header's rectangle, or
// else what the records draw.
std::string wmfToPng(std::string wmf, unsigned width, unsigned height);

} // namespace veldra::metafile
