#pragma once

#include "platform/jpeg/JpegCompressor.h"

#include <QString>

#include <concepts>

namespace veldra {

// The error number both failures of the JPEG writer raise.
inline constexpr int JpegWriterError = 26001;

// Encodes the bitmap into a JPEG file at `quality` (1 to 100). Returns true; every
// failure raises VbError 26001 instead, with the source "<program>.mIntelJPEGLibrary":
// "Failed to initialise the IJL library: <status>" when no encoder can be had, or
// "Failed to save to JPG <status>" when encoding or writing fails (the jpeg_status
// values; a failed write adds the file and the reason). The file is saved through
// ReplacingFile: written beside the target and renamed over it, so a failure leaves an
// existing file as it was; a link, a special file or a read-only file is not replaced.
// A replaced file's access and modification times and permissions are given to the new
// one.
bool WriteJPEGFile(const DibPixels& bitmap, const QString& fileName, int quality);

// Any bitmap that exposes its pixels the way the bitmap section does.
template <class Dib>
    requires requires(const Dib& dib) {
        { dib.DIBSectionBitsPtr() } -> std::convertible_to<const std::uint8_t*>;
        { dib.Width() } -> std::convertible_to<std::int32_t>;
        { dib.Height() } -> std::convertible_to<std::int32_t>;
        { dib.BytesPerScanLine() } -> std::convertible_to<std::int32_t>;
    }
bool WriteJPEGFile(const Dib& bitmap, const QString& fileName, int quality)
{
    return WriteJPEGFile(DibPixels{bitmap.DIBSectionBitsPtr(), bitmap.Width(), bitmap.Height(),
                                   bitmap.BytesPerScanLine()},
                         fileName, quality);
}

} // namespace veldra
