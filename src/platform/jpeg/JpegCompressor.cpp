#include "platform/jpeg/JpegCompressor.h"

#include <turbojpeg.h>

namespace veldra {

namespace {

bool isWellFormed(const DibPixels& bitmap)
{
    return bitmap.bits && bitmap.width > 0 && bitmap.height > 0
        && static_cast<std::int64_t>(bitmap.bytesPerScanLine) >= 3 * static_cast<std::int64_t>(bitmap.width);
}

} // namespace

JpegCompressor::JpegCompressor() : handle_(tjInitCompress()) {}

JpegCompressor::~JpegCompressor()
{
    if (handle_)
        tjDestroy(handle_);
}

int JpegCompressor::initStatus() const
{
    return handle_ ? jpeg_status::Ok : jpeg_status::NoEncoder;
}

int JpegCompressor::compress(const DibPixels& bitmap, int quality, QByteArray& jpeg)
{
    jpeg.clear();
    if (!handle_)
        return jpeg_status::NoEncoder;
    if (!isWellFormed(bitmap) || quality < 1 || quality > 100)
        return jpeg_status::BadBitmap;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle_, bitmap.bits, bitmap.width, bitmap.bytesPerScanLine, bitmap.height,
                                   TJPF_BGR, &buffer, &size, TJSAMP_420, quality, TJFLAG_BOTTOMUP);
    if (result == 0)
        jpeg = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    tjFree(buffer);
    return result == 0 ? jpeg_status::Ok : jpeg_status::EncodeFailed;
}

} // namespace veldra
