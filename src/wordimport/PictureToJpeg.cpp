#include "wordimport/PictureToJpeg.h"

#include "platform/jpeg/mIntelJPEGLibrary.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace veldra {

bool writePictureAsJpeg(const word::RenderedPicture& picture, const QString& jpegPath, cDIBSection& dib,
                        QString& reason)
{
    if (!picture.ok()) {
        reason = picture.reason;
        return false;
    }
    dib.CreateFromPicture(picture.image);
    if (!dib.DIBSectionBitsPtr()) {
        reason = QStringLiteral("no memory for a bitmap of %1 x %2 pixels").arg(picture.image.width()).arg(picture.image.height());
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
