#include "wordimport/cDIBSection.h"

#include "platform/core/VbError.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <new>
#include <random>

namespace veldra {

namespace {

const QString Source = QStringLiteral("cDIBSection");

[[noreturn]] void raiseOverflow()
{
    throw VbError(err::General, Source, QStringLiteral("Overflow"));
}

[[noreturn]] void raiseOutOfRange()
{
    throw VbError(err::General, Source, QStringLiteral("Subscript out of range"));
}

std::int32_t checkedProduct(std::int32_t a, std::int32_t b)
{
    std::int32_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        raiseOverflow();
    return product;
}

// Rounds to the nearest integer, halves to even (the default floating-point rounding mode).
int roundHalfEven(float value)
{
    return static_cast<int>(std::nearbyint(value));
}

std::uint8_t toByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// Single-precision blend of two samples, as the resampling weighs them.
float blend(float weightOfSecond, float first, float second)
{
    return (1.0f - weightOfSecond) * first + weightOfSecond * second;
}

} // namespace

std::int32_t cDIBSection::bytesPerScanLine(std::int32_t width)
{
    std::int32_t bytes = checkedProduct(width, 3);
    if (__builtin_add_overflow(bytes, 3, &bytes))
        raiseOverflow();
    return bytes & ~3;
}

std::int32_t cDIBSection::BytesPerScanLine() const
{
    return bytesPerScanLine(info_.width);
}

bool cDIBSection::Create(std::int32_t lWidth, std::int32_t lHeight)
{
    ClearUp();
    const std::int32_t imageSize = checkedProduct(bytesPerScanLine(lWidth), lHeight);
    info_ = BitmapInfoRecord{};
    info_.headerSize = 40;
    info_.width = lWidth;
    info_.height = lHeight;
    info_.planes = 1;
    info_.bitsPerPixel = 24;
    info_.imageSize = static_cast<std::uint32_t>(imageSize);
    if (lWidth < 1 || lHeight < 1)
        return false;
    try {
        bits_.assign(static_cast<std::size_t>(imageSize), 0);
    } catch (const std::bad_alloc&) {
        ClearUp();
        return false;
    }
    return true;
}

void cDIBSection::CreateFromPicture(const QImage& picThis)
{
    if (!Create(picThis.width(), picThis.height()))
        return;
    const QImage rgb = picThis.convertToFormat(QImage::Format_RGB888);
    const std::int32_t stride = BytesPerScanLine();
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* from = rgb.constScanLine(y);
        std::uint8_t* to = bits_.data() + static_cast<std::size_t>(rgb.height() - 1 - y) * stride;
        for (int x = 0; x < rgb.width(); ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
}

void cDIBSection::RandomiseBits(bool bGray)
{
    if (bits_.empty())
        return;
    std::mt19937 generator(static_cast<unsigned>(QTime::currentTime().msecsSinceStartOfDay()));
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto next = [&] { return toByte(roundHalfEven(unit(generator) * 255.0f)); };
    const std::int32_t stride = BytesPerScanLine();
    for (std::int32_t y = 0; y < info_.height; ++y) {
        std::uint8_t* row = bits_.data() + static_cast<std::size_t>(y) * stride;
        for (std::int32_t x = 0; x < info_.width; ++x) {
            if (bGray) {
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = next();
            } else {
                row[3 * x] = 0;
                row[3 * x + 1] = next();
                row[3 * x + 2] = next();
            }
        }
    }
}

void cDIBSection::ClearUp()
{
    std::vector<std::uint8_t>().swap(bits_);
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const
{
    auto target = std::make_unique<cDIBSection>();
    if (!target->Create(lNewWidth, lNewHeight))
        return nullptr;
    if (lNewWidth == info_.width && lNewHeight == info_.height && !bits_.empty())
        target->bits_ = bits_;
    else
        ResampleInto(*target);
    return target;
}

std::uint8_t cDIBSection::sample(std::int32_t x, std::int32_t y, int channel) const
{
    if (bits_.empty() || x < 0 || y < 0 || x >= info_.width || y >= info_.height)
        raiseOutOfRange();
    return bits_[static_cast<std::size_t>(y) * BytesPerScanLine() + 3 * static_cast<std::size_t>(x) + channel];
}

// Bilinear scaling with the scales taken from the source size minus one, so that the
// right and lower neighbours of every sample lie inside any source of at least 2x2.
// The arithmetic is single precision and both vertical blends are rounded before the
// horizontal one, which fixes every output byte exactly.
void cDIBSection::ResampleInto(cDIBSection& target) const
{
    const float xScale = static_cast<float>(static_cast<double>(info_.width - 1) / target.info_.width);
    const float yScale = static_cast<float>(static_cast<double>(info_.height - 1) / target.info_.height);
    const std::int32_t targetStride = target.BytesPerScanLine();
    for (std::int32_t y = 0; y < target.info_.height; ++y) {
        const float sy = yScale * static_cast<float>(y);
        const auto y0 = static_cast<std::int32_t>(std::floor(sy));
        const float fy = sy - static_cast<float>(y0);
        std::uint8_t* row = target.bits_.data() + static_cast<std::size_t>(y) * targetStride;
        for (std::int32_t x = 0; x < target.info_.width; ++x) {
            const float sx = xScale * static_cast<float>(x);
            const auto x0 = static_cast<std::int32_t>(std::floor(sx));
            const float fx = sx - static_cast<float>(x0);
            for (int k = 0; k < 3; ++k) {
                const int left = roundHalfEven(blend(fy, sample(x0, y0, k), sample(x0, y0 + 1, k)));
                const int right = roundHalfEven(blend(fy, sample(x0 + 1, y0, k), sample(x0 + 1, y0 + 1, k)));
                row[3 * x + k] = toByte(roundHalfEven(blend(fx, static_cast<float>(left), static_cast<float>(right))));
            }
        }
    }
}

} // namespace veldra
