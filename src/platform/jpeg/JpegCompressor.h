#pragma once

#include <QByteArray>

#include <cstdint>

namespace veldra {

// The pixels the JPEG writer encodes, read in place: 24-bit blue-green-red pixels in
// rows of `bytesPerScanLine` bytes, stored bottom-up (the first row in memory is the
// bottom row of the picture); the bytes after 3 x width in a row are padding.
struct DibPixels {
    const std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerScanLine = 0;
};

// Status values of the encoder: 0 for success, a negative number saying which step failed.
namespace jpeg_status {
inline constexpr int Ok = 0;
inline constexpr int NoEncoder = -1;
inline constexpr int BadBitmap = -2;
inline constexpr int EncodeFailed = -3;
inline constexpr int FileFailed = -4;
}

// One JPEG encoder, set up on construction and released on destruction.
class JpegCompressor {
public:
    JpegCompressor();
    ~JpegCompressor();
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;

    // jpeg_status::Ok, or NoEncoder when the encoder could not be set up.
    int initStatus() const;
    // Encodes the bitmap at `quality` (1 to 100) with 4:2:0 chroma subsampling into
    // `jpeg`. Returns a jpeg_status value; `jpeg` is left empty on failure.
    int compress(const DibPixels& bitmap, int quality, QByteArray& jpeg);

private:
    void* handle_ = nullptr;
};

} // namespace veldra
