#include "platform/jpeg/mIntelJPEGLibrary.h"

#include "platform/core/AppInfo.h"
#include "platform/core/VbError.h"
#include "platform/jpeg/FileStamp.h"

#include <QSaveFile>

namespace veldra {

namespace {

[[noreturn]] void raise(const QString& description)
{
    throw VbError(JpegWriterError, app_info::title() + QStringLiteral(".mIntelJPEGLibrary"), description);
}

// Unbuffered, so that a short write (a full disk) shows in write()'s count: a buffered
// save file commits a truncated file without noticing.
bool writeReplacing(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && file.commit();
}

} // namespace

bool WriteJPEGFile(const DibPixels& bitmap, const QString& fileName, int quality)
{
    JpegCompressor compressor;
    if (compressor.initStatus() != jpeg_status::Ok)
        raise(QStringLiteral("Failed to initialise the IJL library: ") + QString::number(compressor.initStatus()));
    const std::optional<FileStamp> previous = FileStamp::of(fileName);
    QByteArray jpeg;
    int status = compressor.compress(bitmap, quality, jpeg);
    if (status == jpeg_status::Ok && !writeReplacing(fileName, jpeg))
        status = jpeg_status::FileFailed;
    if (status != jpeg_status::Ok)
        raise(QStringLiteral("Failed to save to JPG ") + QString::number(status));
    if (previous)
        previous->applyTo(fileName);
    return true;
}

} // namespace veldra
