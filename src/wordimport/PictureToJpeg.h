#pragma once

#include "platform/word/picture/PictureRenderer.h"
#include "wordimport/cDIBSection.h"

#include <QString>

namespace veldra {

// The quality extracted pictures are written at.
inline constexpr int ExtractedPictureQuality = 90;

// Puts the drawn picture into `dib` and writes it as a JPEG file at `jpegPath`, replacing a
// file already there once the new one is complete (the new file gets its own times). When
// the picture was not drawn the result is false, `reason` says why and no file is written
// or deleted. A failed write, or a target that is read-only, a link or no file, raises the
// JPEG writer's VbError 26001 and leaves what was there.
bool writePictureAsJpeg(const word::RenderedPicture& picture, const QString& jpegPath, cDIBSection& dib,
                        QString& reason);

} // namespace veldra
