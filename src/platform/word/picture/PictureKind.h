#pragma once

#include "platform/word/picture/PictureRenderer.h"

namespace veldra::word {

enum class PictureKind { Raster, Svg, Emf, Wmf, Chart, Diagram, Unknown };

// What the media holds: told by the bytes' signature where there is one, since a
// package's declared type can be wrong; else by the content type, else by the name's
// extension.
PictureKind pictureKindOf(const PictureMedia& media);

} // namespace veldra::word
