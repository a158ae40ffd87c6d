#include "wordimport/PictureToJpeg.h"

#include "platform/jpeg/mIntelJPEGLibrary.h"

#include <QFile>

namespace veldra {

bool writePictureAsJpeg(const word::PictureMedia& media, const word::PictureCrop& crop, QSize pixels,
                        const QString& jpegPath, cDIBSection& dib, QString& reason)
{
    const word::RenderedPicture rendered = word::renderPicture(media, crop, pixels);
    if (!rendered.ok()) {
        reason = rendered.reason;
        return false;
    }
    dib.CreateFromPicture(rendered.image);
    if (!dib.DIBSectionBitsPtr()) {
        reason = QStringLiteral("no memory for a bitmap of %1 x %2 pixels").arg(pixels.width()).arg(pixels.height());
        return false;
    }
    // Removed first so that the new picture does not inherit the old file's times; a
    // file that cannot be removed is left to the writer, which replaces it or fails.
    QFile::remove(jpegPath);
    WriteJPEGFile(dib, jpegPath, ExtractedPictureQuality);
    return true;
}

} // namespace veldra
