#include "platform/word/picture/BitmapInMetafile.h"
#include "platform/word/picture/MetafileChecks.h"
#include "platform/word/picture/PictureRenderer.h"

#include <unordered_map>
#include <vector>

namespace veldra::word {

namespace {

constexpr quint32 HeaderRecord = 1;
constexpr quint32 EndRecord = 14;
constexpr qint64 RecordHeaderBytes = 8;
constexpr qint64 HeaderMinBytes = 88;
constexpr qint64 HeaderWithPixelFormatBytes = 100;
constexpr qint64 EndMinBytes = 20;
constexpr quint32 Signature = 0x464D4520; // " EMF"

// A bitmap a record carries: the offsets of the fields that give its header's offset and
// length, and its pixels' offset and length, within the record.
struct BitmapFields {
    qint64 headerOffset;
    qint64 headerBytes;
    qint64 pixelsOffset;
    qint64 pixelsBytes;
};

const std::unordered_map<quint32, std::vector<BitmapFields>>& bitmapRecords()
{
    static const BitmapFields blit{84, 88, 92, 96};
    static const std::unordered_map<quint32, std::vector<BitmapFields>> records{
        {76, {blit}},                         // bit block transfer
        {77, {blit}},                         // stretched
        {114, {blit}},                        // alpha-blended
        {116, {blit}},                        // transparent
        {78, {blit, {112, 116, 120, 124}}},   // masked
        {79, {{96, 100, 104, 108}, {124, 128, 132, 136}}}, // parallelogram
        {80, {{48, 52, 56, 60}}},             // bits to the device
        {81, {{48, 52, 56, 60}}},             // stretched bits
        {93, {{16, 20, 24, 28}}},             // monochrome brush
        {94, {{16, 20, 24, 28}}},             // pattern brush
        {95, {{12, 16, 20, 24}}},             // pen with a pattern
    };
    return records;
}

// An array a record carries: where its element count is, where it starts, how large an element is.
struct ArrayFields {
    qint64 count;
    qint64 first;
    qint64 elementBytes;
};

const std::unordered_map<quint32, ArrayFields>& arrayRecords()
{
    static const ArrayFields points{24, 28, 8};
    static const ArrayFields shortPoints{24, 28, 4};
    static const std::unordered_map<quint32, ArrayFields> records{
        {2, points}, {3, points}, {4, points}, {5, points}, {6, points},                               // poly lines and curves
        {85, shortPoints}, {86, shortPoints}, {87, shortPoints}, {88, shortPoints}, {89, shortPoints}, // their 16-bit kinds
        {56, {24, 28, 9}}, {92, {24, 28, 5}},                                                          // drawn paths
        {50, {16, 20, 4}},                                                                             // palette entries
        {70, {8, 12, 1}},                                                                              // comment
        {95, {48, 52, 4}},                                                                             // pen style entries
    };
    return records;
}

// Records holding a region: where its length is and where it starts.
const std::unordered_map<quint32, std::pair<qint64, qint64>>& regionRecords()
{
    static const std::unordered_map<quint32, std::pair<qint64, qint64>> records{
        {71, {24, 32}}, {72, {24, 40}}, {73, {24, 28}}, {74, {24, 28}}, {75, {8, 16}},
    };
    return records;
}

constexpr quint32 PolyPolyline = 7, PolyPolygon = 8, PolyPolyline16 = 90, PolyPolygon16 = 91;
constexpr quint32 TextOutA = 83, TextOutW = 84, CreatePalette = 49, SetDibitsToDevice = 80;

class RecordCheck {
public:
    RecordCheck(const MetafileBytes& bytes, quint32 type, ByteSpan record) : bytes_(bytes), type_(type), record_(record) {}

    // What is wrong, as a phrase after "record N".
    QString fault() const
    {
        if (const auto arrays = arrayRecords().find(type_); arrays != arrayRecords().end()) {
            const ArrayFields& array = arrays->second;
            if (!fits(array.first, 0) || !fits(array.first, array.elementBytes * field(array.count)))
                return QStringLiteral("counts more entries than it holds");
        }
        if (const auto bitmaps = bitmapRecords().find(type_); bitmaps != bitmapRecords().end())
            for (const BitmapFields& bitmap : bitmaps->second)
                if (const QString fault = carriedBitmapFault(bitmap); !fault.isEmpty())
                    return fault;
        if (const auto region = regionRecords().find(type_); region != regionRecords().end())
            return regionFault(region->second.first, region->second.second);
        switch (type_) {
        case PolyPolyline:
        case PolyPolygon:
            return polyFault(8);
        case PolyPolyline16:
        case PolyPolygon16:
            return polyFault(4);
        case TextOutA:
            return textFault(1);
        case TextOutW:
            return textFault(2);
        case CreatePalette:
            return fits(16, 4 * qint64(bytes_.u16(record_.begin + 14))) ? QString()
                                                                         : QStringLiteral("counts more colours than it holds");
        case EndRecord:
            return endFault();
        }
        return QString();
    }

private:
    qint64 field(qint64 offset) const { return bytes_.u32(record_.begin + offset); }
    // Whether `length` bytes at `offset` lie inside the record.
    bool fits(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= record_.size() && length <= record_.size() - offset;
    }
    ByteSpan span(qint64 offset, qint64 length) const { return {record_.begin + offset, record_.begin + offset + length}; }

    QString carriedBitmapFault(const BitmapFields& fields) const
    {
        if (!fits(fields.pixelsBytes, 4))
            return QStringLiteral("is shorter than its kind of record");
        const qint64 headerAt = field(fields.headerOffset), headerBytes = field(fields.headerBytes);
        const qint64 pixelsAt = field(fields.pixelsOffset), pixelsBytes = field(fields.pixelsBytes);
        if (headerBytes == 0)
            return QString(); // no bitmap: the record draws without one
        if (!fits(headerAt, headerBytes) || !fits(pixelsAt, pixelsBytes))
            return QStringLiteral("places a bitmap outside the record");
        const qint64 scanLines = type_ == SetDibitsToDevice ? field(72) : AllScanLines;
        return word::bitmapFault(bytes_, span(headerAt, headerBytes), span(pixelsAt, pixelsBytes), scanLines);
    }

    // A region: a header of 32 bytes giving the number of rectangles, 16 bytes each.
    QString regionFault(qint64 lengthField, qint64 regionAt) const
    {
        if (!fits(lengthField, 4) || !fits(regionAt, 0))
            return QStringLiteral("is shorter than its kind of record");
        const qint64 length = field(lengthField);
        if (length == 0)
            return QString();
        if (length < 32 || !fits(regionAt, length) || 32 + 16 * field(regionAt + 8) > length)
            return QStringLiteral("counts more region rectangles than it holds");
        return QString();
    }

    // Several polylines: their number and all their points, the point count of each, then the points.
    QString polyFault(qint64 pointBytes) const
    {
        const qint64 lines = field(24), points = field(28);
        if (!fits(32, 4 * lines) || !fits(32 + 4 * lines, pointBytes * points))
            return QStringLiteral("counts more points than it holds");
        qint64 counted = 0;
        for (qint64 i = 0; i < lines; ++i)
            counted += field(32 + 4 * i);
        return counted <= points ? QString() : QStringLiteral("counts more points than it holds");
    }

    // Text: its characters at an offset, and their advances at another when there are any.
    QString textFault(qint64 charBytes) const
    {
        if (!fits(76, 0))
            return QStringLiteral("is shorter than its kind of record");
        const qint64 characters = field(44), stringAt = field(48), options = field(52), advancesAt = field(72);
        const qint64 advanceBytes = (options & 0x2000) ? 8 : 4;
        if (!fits(stringAt, charBytes * characters) || (advancesAt != 0 && !fits(advancesAt, advanceBytes * characters)))
            return QStringLiteral("places its text outside the record");
        return QString();
    }

    QString endFault() const
    {
        if (record_.size() < EndMinBytes)
            return QStringLiteral("is shorter than its kind of record");
        const qint64 colours = field(8);
        return colours == 0 || fits(field(12), 4 * colours) ? QString() : QStringLiteral("counts more colours than it holds");
    }

    const MetafileBytes& bytes_;
    quint32 type_;
    ByteSpan record_;
};

QString damaged(const QString& what)
{
    return QStringLiteral("the EMF picture is damaged: ") + what;
}

// The header record: the description and the pixel format lie inside it.
QString headerFault(const MetafileBytes& bytes)
{
    const qint64 size = bytes.u32(4);
    if (bytes.u32(0) != HeaderRecord || size < HeaderMinBytes || size % 4 != 0 || !bytes.holds(0, size)
        || bytes.u32(40) != Signature)
        return damaged(QStringLiteral("its header is cut short or not a metafile header"));
    const qint64 characters = bytes.u32(60), descriptionAt = bytes.u32(64);
    if (characters != 0 && (descriptionAt < HeaderMinBytes || descriptionAt + 2 * characters > size))
        return damaged(QStringLiteral("its description lies outside its header"));
    if (size >= HeaderWithPixelFormatBytes) {
        const qint64 formatBytes = bytes.u32(88), formatAt = bytes.u32(92);
        if (formatBytes != 0 && (formatAt < HeaderMinBytes || formatAt + formatBytes > size))
            return damaged(QStringLiteral("its pixel format lies outside its header"));
    }
    return QString();
}

} // namespace

QString emfFault(const QByteArray& emf)
{
    const MetafileBytes bytes(emf);
    if (const QString fault = headerFault(bytes); !fault.isEmpty())
        return fault;
    qint64 at = bytes.u32(4);
    for (qint64 number = 2;; ++number) {
        if (number > picture_limits::MaxMetafileRecords)
            return QStringLiteral("the EMF picture has more than %1 records").arg(picture_limits::MaxMetafileRecords);
        if (!bytes.holds(at, RecordHeaderBytes))
            return damaged(QStringLiteral("it ends without its end record"));
        const quint32 type = bytes.u32(at);
        const qint64 size = bytes.u32(at + 4);
        if (size < RecordHeaderBytes || size % 4 != 0 || !bytes.holds(at, size))
            return damaged(QStringLiteral("record %1 reaches past the end of the file").arg(number));
        if (const QString fault = RecordCheck(bytes, type, {at, at + size}).fault(); !fault.isEmpty())
            return damaged(QStringLiteral("record %1 %2").arg(number).arg(fault));
        if (type == EndRecord)
            return QString();
        at += size;
    }
}

} // namespace veldra::word
