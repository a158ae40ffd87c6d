#include "wordimport/PictureToJpeg.h"

#include "platform/jpeg/mIntelJPEGLibrary.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

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
    // The writer replaces the old picture only with a complete new one and keeps one the
    // user made read-only, raising why. A new picture carries times of its own, not the
    // old file's that the writer hands on.
    WriteJPEGFile(dib, jpegPath, ExtractedPictureQuality);
    ::utimensat(AT_FDCWD, QFile::encodeName(jpegPath).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
    return true;
}

} // namespace veldra
