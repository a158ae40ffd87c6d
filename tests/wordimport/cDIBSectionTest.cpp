#include "wordimport/cDIBSection.h"

#include "platform/core/VbError.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace veldra;

namespace {

// A bitmap whose channel k of pixel (x, memory row y) is set from `values[y][x]`.
void fillChannel(cDIBSection& dib, int k, const std::vector<std::vector<int>>& values)
{
    for (std::size_t y = 0; y < values.size(); ++y)
        for (std::size_t x = 0; x < values[y].size(); ++x)
            dib.DIBSectionBitsPtr()[y * dib.BytesPerScanLine() + 3 * x + k] = static_cast<std::uint8_t>(values[y][x]);
}

int byteAt(const cDIBSection& dib, int x, int y, int k)
{
    return dib.DIBSectionBitsPtr()[y * dib.BytesPerScanLine() + 3 * x + k];
}

} // namespace

TEST(cDIBSectionTest, RowLengthIsPaddedToFourBytesAndOverflowIsAnError)
{
    const struct { std::int32_t width; std::int32_t bytes; } rows[] = {
        {1, 4}, {4, 12}, {5, 16}, {6, 20}, {715827881, 2147483644}};
    for (const auto& row : rows)
        EXPECT_EQ(cDIBSection::bytesPerScanLine(row.width), row.bytes) << row.width;
    EXPECT_THROW(cDIBSection::bytesPerScanLine(715827882), VbError);
    EXPECT_THROW(cDIBSection::bytesPerScanLine(800000000), VbError);

    cDIBSection dib;
    EXPECT_THROW(dib.Create(40000, 40000), VbError) << "the image size overflows 32 bits";
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

TEST(cDIBSectionTest, CreateRefusesEmptySizesAndClearUpKeepsTheSize)
{
    cDIBSection dib;
    EXPECT_FALSE(dib.Create(0, 10));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_FALSE(dib.Create(5, -1));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);

    ASSERT_TRUE(dib.Create(5, 3));
    const BitmapInfoRecord info = dib.BitmapInfo();
    EXPECT_EQ(info.headerSize, 40u);
    EXPECT_EQ(info.planes, 1);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.imageSize, 48u);
    EXPECT_NE(dib.DIBSectionBitsPtr(), nullptr);

    dib.ClearUp();
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.Height(), 3);
    EXPECT_THROW(dib.Resample(2, 2), VbError) << "a cleared bitmap has no pixels to read";
}

TEST(cDIBSectionTest, PictureRowsAreStoredBottomUpInBlueGreenRedOrder)
{
    QImage picture(5, 2, QImage::Format_ARGB32);
    picture.fill(QColor(10, 20, 30));
    picture.setPixelColor(0, 0, QColor(1, 2, 3));
    picture.setPixelColor(4, 1, QColor(200, 150, 100));

    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_EQ(dib.Width(), 5);
    ASSERT_EQ(dib.Height(), 2);
    const std::uint8_t* bits = dib.DIBSectionBitsPtr();
    const std::uint8_t topLeft[] = {3, 2, 1};
    EXPECT_EQ(std::memcmp(bits + 16, topLeft, 3), 0) << "top-left pixel opens the last memory row";
    const std::uint8_t bottomRight[] = {100, 150, 200};
    EXPECT_EQ(std::memcmp(bits + 12, bottomRight, 3), 0);
    EXPECT_EQ(bits[15], 0) << "padding";
    EXPECT_EQ(bits[31], 0) << "padding";

    dib.CreateFromPicture(QImage());
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), 0);
}

TEST(cDIBSectionTest, ResampleCopiesOrBlendsWithSinglePrecisionHalfEvenRounding)
{
    cDIBSection source;
    ASSERT_TRUE(source.Create(3, 2));
    source.RandomiseBits(false);
    fillChannel(source, 0, {{0, 100, 201}, {0, 100, 201}});

    const auto same = source.Resample(2, 3);
    ASSERT_TRUE(same);
    EXPECT_EQ(std::memcmp(same->DIBSectionBitsPtr(), source.DIBSectionBitsPtr(), 2 * 12), 0);

    // Height first: 4 rows of 4 pixels. Scale 2/4 puts x = 3 halfway between 100 and
    // 201, and 150.5 rounds to the even 150.
    const auto wider = source.Resample(4, 4);
    ASSERT_TRUE(wider);
    EXPECT_EQ(wider->Width(), 4);
    EXPECT_EQ(wider->Height(), 4);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(byteAt(*wider, 0, y, 0), 0);
        EXPECT_EQ(byteAt(*wider, 1, y, 0), 50);
        EXPECT_EQ(byteAt(*wider, 2, y, 0), 100);
        EXPECT_EQ(byteAt(*wider, 3, y, 0), 150);
    }
    for (int k = 1; k < 3; ++k)
        EXPECT_EQ(byteAt(*wider, 0, 0, k), byteAt(source, 0, 0, k)) << "corner pixel, channel " << k;

    // The vertical blends are rounded first: 0.5 -> 0 and 2.5 -> 2 give 1, where an
    // unrounded blend would give 1.5 -> 2.
    cDIBSection square;
    ASSERT_TRUE(square.Create(2, 2));
    fillChannel(square, 2, {{0, 2}, {1, 3}});
    const auto blended = square.Resample(4, 4);
    EXPECT_EQ(byteAt(*blended, 2, 2, 2), 1);

    EXPECT_EQ(source.Resample(0, 4), nullptr);
}

TEST(cDIBSectionTest, ResampleOfASinglePixelRowOrColumnIsAnErrorNotAnOverread)
{
    for (const auto& [width, height] : {std::pair{1, 6}, std::pair{6, 1}, std::pair{1, 1}}) {
        cDIBSection thin;
        ASSERT_TRUE(thin.Create(width, height));
        EXPECT_THROW(thin.Resample(3, 3), VbError) << width << "x" << height;
        EXPECT_TRUE(thin.Resample(height, width)) << "the same size is a copy";
    }
}

TEST(cDIBSectionTest, RandomFillLeavesPaddingAndKeepsItsChannelRules)
{
    for (const bool gray : {true, false}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(5, 7));
        std::memset(dib.DIBSectionBitsPtr(), 0xAB, 16 * 7);
        dib.RandomiseBits(gray);
        bool varied = false;
        for (int y = 0; y < 7; ++y) {
            EXPECT_EQ(dib.DIBSectionBitsPtr()[y * 16 + 15], 0xAB) << "padding of row " << y;
            for (int x = 0; x < 5; ++x) {
                if (gray) {
                    EXPECT_EQ(byteAt(dib, x, y, 0), byteAt(dib, x, y, 1));
                    EXPECT_EQ(byteAt(dib, x, y, 1), byteAt(dib, x, y, 2));
                } else {
                    EXPECT_EQ(byteAt(dib, x, y, 0), 0);
                }
                varied = varied || byteAt(dib, x, y, 2) != byteAt(dib, 0, 0, 2);
            }
        }
        EXPECT_TRUE(varied);
    }
}
