#include "platform/jpeg/mIntelJPEGLibrary.h"

#include "platform/core/AppInfo.h"
#include "platform/core/FileSave.h"
#include "platform/core/VbError.h"
#include "platform/jpeg/FileStamp.h"

namespace veldra {

namespace {

[[noreturn]] void raise(const QString& description)
{
    throw VbError(JpegWriterError, app_info::title() + QStringLiteral(".mIntelJPEGLibrary"), description);
}

} // namespace

bool WriteJPEGFile(const DibPixels& bitmap, const QString& fileName, int quality)
{
    JpegCompressor compressor;
    if (compressor.initStatus() != jpeg_status::Ok)
        raise(QStringLiteral("Failed to initialise the IJL library: ") + QString::number(compressor.initStatus()));
    const std::optional<FileStamp> previous = FileStamp::of(fileName);
    QByteArray jpeg;
    const int status = compressor.compress(bitmap, quality, jpeg);
    if (status != jpeg_status::Ok)
        raise(QStringLiteral("Failed to save to JPG ") + QString::number(status));
    if (const QString problem = saveReplacing(fileName, jpeg); !problem.isEmpty())
        raise(QStringLiteral("Failed to save to JPG %1: %2: %3").arg(jpeg_status::FileFailed).arg(fileName, problem));
    if (previous)
        previous->applyTo(fileName);
    return true;
}

} // namespace veldra
