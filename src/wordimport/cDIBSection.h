#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

namespace veldra {

// The bitmap information record of a 24-bit bitmap: the 40-byte header followed by
// one colour-table entry that is never written. Only the fields set in Create differ
// from zero; the height is positive, meaning the rows are stored bottom-up.
struct BitmapInfoRecord {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPixelsPerMeter = 0;
    std::int32_t yPixelsPerMeter = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
    std::uint8_t colourTableEntry[4] = {};
};
static_assert(sizeof(BitmapInfoRecord) == 44);

// A 24-bit picture in memory with the layout the JPEG writer reads in place: row r of
// the memory is row (height - 1 - r) of the picture, pixel x of a row occupies bytes
// 3x (blue), 3x + 1 (green) and 3x + 2 (red), and each row is padded to a multiple of
// four bytes.
//
// Arithmetic overflow of the row length or the image size and a pixel index outside
// the bitmap raise a VbError rather than touching memory outside the bitmap. Width and
// Height report the last created size even after ClearUp.
//
// There are no device contexts or bitmap handles here: pictures come in through QImage,
// so the handle accessors, the blits and the clipboard copy, which nothing used, do not
// exist.
class cDIBSection {
public:
    cDIBSection() = default;
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    // Empties the bitmap, then allocates one of the given size, filled with zero bytes.
    // False, with nothing allocated, for a size below 1x1 or memory that cannot be had.
    bool Create(std::int32_t lWidth, std::int32_t lHeight);
    // Creates the bitmap at the picture's size and copies the picture into it. A null
    // picture leaves the bitmap empty. Alpha is dropped, not composited.
    void CreateFromPicture(const QImage& picThis);

    // The row length in bytes for the current width.
    std::int32_t BytesPerScanLine() const;
    std::int32_t Width() const { return info_.width; }
    std::int32_t Height() const { return info_.height; }
    BitmapInfoRecord BitmapInfo() const { return info_; }
    // The first byte of the pixel memory, or null when there is no bitmap.
    std::uint8_t* DIBSectionBitsPtr() { return bits_.empty() ? nullptr : bits_.data(); }
    const std::uint8_t* DIBSectionBitsPtr() const { return bits_.empty() ? nullptr : bits_.data(); }

    // Fills every pixel with random values: gray writes one value into all three bytes,
    // colour leaves blue at 0. The row padding is not touched.
    void RandomiseBits(bool bGray);
    // Frees the pixel memory; Width and Height keep their values.
    void ClearUp();
    // A new bitmap of the given size (height first) holding this one scaled bilinearly,
    // or null when that size cannot be created. A source only 1 pixel wide or high
    // cannot be scaled to another size and raises the out-of-range error.
    std::unique_ptr<cDIBSection> Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const;

    // The row length in bytes of a bitmap `width` pixels wide: 3 bytes a pixel rounded up
    // to a multiple of 4, in 32-bit arithmetic (overflow raises an error).
    static std::int32_t bytesPerScanLine(std::int32_t width);

private:
    void ResampleInto(cDIBSection& target) const;
    // Byte `channel` of pixel (x, memory row y), checked against the bitmap's bounds.
    std::uint8_t sample(std::int32_t x, std::int32_t y, int channel) const;

    BitmapInfoRecord info_;
    std::vector<std::uint8_t> bits_;
};

} // namespace veldra
