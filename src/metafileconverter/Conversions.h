#pragma once

#include <cstddef>
#include <string>

namespace veldra::metafile {

// The conversions of the converter program. Each takes the picture's bytes and gives the
// converted document, or an empty string when the library could not convert it.

// An enhanced metafile (EMF) as an SVG document; of a dual EMF+ file the plain EMF drawing.
std::string emfToSvg(std::string emf);
// A Windows metafile, with or without the placeable header, drawn as a PNG of
// `width` x `height` pixels. The picture's frame is the placeable header's rectangle, or
// else what the records draw.
std::string wmfToPng(std::string wmf, unsigned width, unsigned height);

// An SVG document drawn on white, stretched over a PNG of `width` x `height` pixels; or
// nothing, and `refusal` says why when the document is refused before it is read (too many
// elements, images from outside), worded to follow "the picture".
std::string svgToPng(const std::string& svg, unsigned width, unsigned height, std::string& refusal);

} // namespace veldra::metafile
