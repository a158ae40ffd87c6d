#include "platform/word/picture/BitmapInMetafile.h"

#include "platform/word/picture/PictureRenderer.h"

#include <algorithm>

namespace veldra::word {

namespace {

constexpr quint32 CoreHeaderSize = 12;
constexpr quint32 InfoHeaderSize = 40;
enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5 };

// What a bitmap header declares: the bytes of its header and colour table, and of its pixels.
struct Layout {
    QString fault;
    qint64 tableBytes = 0;
    qint64 pixelBytes = 0;
};

Layout refused(const char* fault)
{
    return Layout{QString::fromLatin1(fault)};
}

bool knownFormat(unsigned bitCount, quint32 compression, bool embeddedImages)
{
    switch (compression) {
    case Jpeg:
    case Png:
        return embeddedImages;
    case Rgb:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    case Rle8:
        return bitCount == 8;
    case Rle4:
        return bitCount == 4;
    case BitFields:
        return bitCount == 16 || bitCount == 32;
    }
    return false;
}

// The colours of a bitmap's table when its header does not count them: bitmaps of up
// to 8 bits a pixel index a full table; others (and embedded JPEG or PNG files) have none.
qint64 paletteSize(unsigned bitCount)
{
    return bitCount >= 1 && bitCount <= 8 ? qint64(1) << bitCount : 0;
}

// `embeddedImages`: whether the pixels may be a whole JPEG or PNG file, which the EMF
// converter hands on as it is.
Layout layoutOf(const MetafileBytes& bytes, ByteSpan header, qint64 scanLines, bool embeddedImages)
{
    const qint64 at = header.begin;
    const quint32 headerSize = bytes.u32(at);
    qint64 width = 0;
    qint64 height = 0;
    unsigned bitCount = 0;
    quint32 compression = Rgb;
    qint64 colours = 0;
    qint64 entryBytes = 4;
    qint64 maskBytes = 0;
    if (headerSize == CoreHeaderSize && header.size() >= CoreHeaderSize) {
        width = bytes.u16(at + 4);
        height = bytes.u16(at + 6);
        bitCount = bytes.u16(at + 10);
        colours = paletteSize(bitCount);
        entryBytes = 3;
    } else if (headerSize >= InfoHeaderSize && headerSize <= header.size()) {
        width = bytes.i32(at + 4);
        height = std::abs(qint64(bytes.i32(at + 8)));
        bitCount = bytes.u16(at + 14);
        compression = bytes.u32(at + 16);
        const quint32 used = bytes.u32(at + 32);
        colours = used != 0 ? qint64(used) : paletteSize(bitCount);
        maskBytes = compression == BitFields && headerSize == InfoHeaderSize ? 12 : 0;
    } else
        return refused("holds a bitmap with a damaged header");
    if (!knownFormat(bitCount, compression, embeddedImages))
        return refused("holds a bitmap of an unknown pixel format");
    if (width < 1 || height < 1)
        return refused("holds a bitmap without a size");
    if (width > picture_limits::MaxSourceSide || height > picture_limits::MaxSourceSide
        || width * height > picture_limits::MaxSourcePixels)
        return refused("holds a bitmap too large to decode");
    Layout layout;
    layout.tableBytes = qint64(headerSize) + maskBytes + colours * entryBytes;
    if (layout.tableBytes > header.size())
        return refused("holds a bitmap whose colours reach past its record");
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    // Compressed pixels end where their codes say; the decoder stops at the end of the data.
    layout.pixelBytes = compression == Rgb || compression == BitFields ? rowBytes * std::min(height, scanLines) : 1;
    return layout;
}

QString pixelsFault(const Layout& layout, qint64 available)
{
    if (!layout.fault.isEmpty())
        return layout.fault;
    if (layout.pixelBytes > available)
        return QStringLiteral("holds a bitmap whose pixels reach past its record");
    return QString();
}

} // namespace

QString packedBitmapFault(const MetafileBytes& bytes, ByteSpan bitmap, qint64 scanLines)
{
    const Layout layout = layoutOf(bytes, bitmap, scanLines, false);
    return pixelsFault(layout, bitmap.size() - layout.tableBytes);
}

QString bitmapFault(const MetafileBytes& bytes, ByteSpan header, ByteSpan pixels, qint64 scanLines)
{
    return pixelsFault(layoutOf(bytes, header, scanLines, true), pixels.size());
}

} // namespace veldra::word
