#include "platform/word/picture/JpegDecoding.h"

#include "platform/word/picture/PictureRenderer.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace veldra::word {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back
// to the decoding's start. Objects with destructors live in Decoding, on the heap, so the
// jump skips none.
struct Decoding {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf failed{};
    char message[JMSG_LENGTH_MAX] = {};
    bool tooManyScans = false;
    QImage image;
    std::vector<JSAMPLE> cmykRow;
};

Decoding& decodingOf(j_common_ptr info)
{
    return *static_cast<Decoding*>(info->client_data);
}

[[noreturn]] void fail(j_common_ptr info)
{
    Decoding& d = decodingOf(info);
    (*info->err->format_message)(info, d.message);
    std::longjmp(d.failed, 1);
}

// Warnings (a damaged scan, data ending early) leave what was decoded; a truncated picture
// shows as far as it goes.
void ignoreWarning(j_common_ptr, int) {}

// Called before each row of each scan is read: the decoding stops at the first row of the
// scan past the limit.
void stopPastTheScanLimit(j_common_ptr info)
{
    Decoding& d = decodingOf(info);
    if (d.info.input_scan_number > kMaxJpegScans) {
        d.tooManyScans = true;
        std::longjmp(d.failed, 1);
    }
}

bool isTooLarge(JDIMENSION width, JDIMENSION height)
{
    return width > JDIMENSION(picture_limits::MaxSourceSide) || height > JDIMENSION(picture_limits::MaxSourceSide)
           || qint64(width) * height > picture_limits::MaxSourcePixels;
}

// Adobe's programs write CMYK inverted: a channel times black gives the colour.
void invertedCmykToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int black = cmyk[3];
        rgb[0] = uchar(cmyk[0] * black / 255);
        rgb[1] = uchar(cmyk[1] * black / 255);
        rgb[2] = uchar(cmyk[2] * black / 255);
    }
}

void chooseOutput(Decoding& d)
{
    switch (d.info.jpeg_color_space) {
    case JCS_GRAYSCALE: d.info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: d.info.out_color_space = JCS_CMYK; break;
    default: d.info.out_color_space = JCS_RGB; break;
    }
}

// The rows, written straight into the image but for CMYK, which goes through a row of its own.
void readRows(Decoding& d)
{
    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    if (cmyk)
        d.cmykRow.resize(size_t(d.info.output_width) * 4);
    while (d.info.output_scanline < d.info.output_height) {
        uchar* line = d.image.scanLine(int(d.info.output_scanline));
        JSAMPROW row = cmyk ? d.cmykRow.data() : line;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            break;
        if (cmyk)
            invertedCmykToRgb(row, line, d.info.output_width);
    }
}

// Leaves d.image null when the picture is too large. Any libjpeg error jumps out of it.
void decodeInto(Decoding& d, const QByteArray& bytes)
{
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    if (isTooLarge(d.info.image_width, d.info.image_height))
        return;
    chooseOutput(d);
    jpeg_start_decompress(&d.info);
    d.image = QImage(int(d.info.output_width), int(d.info.output_height),
                     d.info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (d.image.isNull())
        return;
    readRows(d);
    jpeg_finish_decompress(&d.info);
}

// The scans read one row at a time, with the limit checked after each; no pixels are made.
void readScans(Decoding& d, const QByteArray& bytes)
{
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    if (isTooLarge(d.info.image_width, d.info.image_height))
        return;
    d.info.buffered_image = TRUE;
    jpeg_start_decompress(&d.info);
    while (jpeg_consume_input(&d.info) != JPEG_REACHED_EOI)
        stopPastTheScanLimit(reinterpret_cast<j_common_ptr>(&d.info));
}

// The decoding with the jump target set; false after a libjpeg error or a size refused.
bool decodeGuarded(Decoding& d, const QByteArray& bytes, void (*decode)(Decoding&, const QByteArray&))
{
    if (setjmp(d.failed))
        return false;
    jpeg_create_decompress(&d.info);
    d.info.progress = &d.progress;
    decode(d, bytes);
    return true;
}

// A decoding whose errors jump back here, its state freed after.
std::unique_ptr<Decoding> newDecoding()
{
    auto d = std::make_unique<Decoding>();
    d->info.err = jpeg_std_error(&d->errors);
    d->errors.error_exit = fail;
    d->errors.emit_message = ignoreWarning;
    d->progress.progress_monitor = stopPastTheScanLimit;
    d->info.client_data = d.get();
    return d;
}

} // namespace

bool isJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xD8");
}

QImage decodeJpeg(const QByteArray& bytes, QString& reason)
{
    const std::unique_ptr<Decoding> d = newDecoding();
    const bool decoded = decodeGuarded(*d, bytes, decodeInto) && !d->image.isNull();
    const JDIMENSION width = d->info.image_width;
    const JDIMENSION height = d->info.image_height;
    jpeg_destroy_decompress(&d->info);
    if (decoded)
        return std::move(d->image);
    if (d->tooManyScans)
        reason = QStringLiteral("the JPEG picture has more than %1 scans, more than any real picture").arg(kMaxJpegScans);
    else if (d->message[0] != '\0')
        reason = QStringLiteral("the bitmap could not be decoded: ") + QString::fromLocal8Bit(d->message);
    else if (isTooLarge(width, height))
        reason = QStringLiteral("the bitmap of %1 x %2 pixels is too large to decode").arg(width).arg(height);
    else
        reason = QStringLiteral("no memory for a bitmap of %1 x %2 pixels").arg(width).arg(height);
    return QImage();
}

bool hasTooManyJpegScans(const QByteArray& bytes)
{
    const std::unique_ptr<Decoding> d = newDecoding();
    decodeGuarded(*d, bytes, readScans);
    jpeg_destroy_decompress(&d->info);
    return d->tooManyScans;
}

} // namespace veldra::word
