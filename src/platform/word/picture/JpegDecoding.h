#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace veldra::word {

// A progressive JPEG is decoded scan by scan, and each scan passes over every block of the
// components it holds, however few bytes it takes: a file of thousands of tiny scans costs
// minutes while it stays small. Encoders write about ten (libjpeg's progression writes ten
// for colour, six for grey; optimising encoders stay under thirty), so a hundred leaves
// room for any real picture and bounds the decoding to ten times a usual one.
inline constexpr int kMaxJpegScans = 100;

// Whether the bytes begin as a JPEG file does.
bool isJpeg(const QByteArray& bytes);

// The JPEG picture as a bitmap, or a null image and why not in `reason`. Its size is checked
// against the source limits before any pixel is decoded, and the decoding stops at the scan
// after kMaxJpegScans. Grey pictures come back in Format_Grayscale8, others in Format_RGB888;
// a CMYK picture is read as Adobe's programs write it, inverted.
QImage decodeJpeg(const QByteArray& bytes, QString& reason);

// Whether a JPEG picture has more than kMaxJpegScans scans, for a reader that decodes it
// without such a bound: its scans are read up to the one past the limit, no pixels made. A
// picture that is damaged or too large to decode has not; its reader refuses it itself.
bool hasTooManyJpegScans(const QByteArray& bytes);

} // namespace veldra::word
