#include "platform/word/picture/BitmapInMetafile.h"
#include "platform/word/picture/MetafileChecks.h"
#include "platform/word/picture/PictureRenderer.h"

#include <algorithm>
#include <unordered_map>

namespace veldra::word {

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr qint64 PlaceableBytes = 22;
constexpr qint64 HeaderBytes = 18;
constexpr quint32 HeaderWords = 9;
constexpr quint32 RecordHeaderWords = 3;

// Record functions whose parameters are checked beyond their number.
enum Function : quint16 {
    End = 0x0000,
    TextOut = 0x0521,
    ExtTextOut = 0x0A32,
    Polygon = 0x0324,
    Polyline = 0x0325,
    PolyPolygon = 0x0538,
    CreatePalette = 0x00F7,
    SetPaletteEntries = 0x0037,
    AnimatePalette = 0x0436,
    CreateRegion = 0x06FF,
    SetDibToDevice = 0x0D33,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    StretchDib = 0x0F43,
    DibCreatePatternBrush = 0x0142,
};

// The parameter words the player reads from a record of each kind whatever its size says.
const std::unordered_map<quint16, qint64>& fixedParameterWords()
{
    static const std::unordered_map<quint16, qint64> words{
        {0x0201, 2}, {0x0102, 1}, {0x0103, 1}, {0x0104, 1}, {0x0106, 1}, {0x0107, 1}, {0x0108, 1}, {0x0209, 2},
        {0x020A, 2}, {0x020B, 2}, {0x020C, 2}, {0x020D, 2}, {0x020E, 2}, {0x020F, 2}, {0x0410, 4}, {0x0211, 2},
        {0x0412, 4}, {0x0213, 2}, {0x0214, 2}, {0x0415, 4}, {0x0416, 4}, {0x0817, 8}, {0x0418, 4}, {0x0419, 4},
        {0x081A, 8}, {0x041B, 4}, {0x061C, 6}, {0x061D, 6}, {0x041F, 4}, {0x0220, 2}, {0x0127, 1}, {0x0228, 2},
        {0x0429, 4}, {0x012A, 1}, {0x012B, 1}, {0x012C, 1}, {0x012D, 1}, {0x012E, 1}, {0x0830, 8}, {0x0548, 5},
        {0x01F0, 1}, {0x02FA, 5}, {0x02FB, 9}, {0x02FC, 4}, {TextOut, 1}, {ExtTextOut, 4}, {Polygon, 1},
        {Polyline, 1}, {PolyPolygon, 1}, {CreatePalette, 2}, {SetPaletteEntries, 2}, {AnimatePalette, 2},
        {CreateRegion, 11}, {SetDibToDevice, 9}, {DibBitBlt, 8}, {DibStretchBlt, 10}, {StretchDib, 11},
        {DibCreatePatternBrush, 2},
    };
    return words;
}

struct Record {
    quint16 function;
    ByteSpan parameters;
};

// What is wrong with a record's variable parameters, as a phrase after "record N".
class RecordCheck {
public:
    RecordCheck(const MetafileBytes& bytes, const Record& record) : bytes_(bytes), record_(record) {}

    QString fault() const
    {
        const auto fixed = fixedParameterWords().find(record_.function);
        if (fixed != fixedParameterWords().end() && size() < 2 * fixed->second)
            return QStringLiteral("is shorter than its kind of record");
        switch (record_.function) {
        case Polygon:
        case Polyline:
            return fits(2 + 4 * qint64(u16At(0)), "counts more points than it holds");
        case PolyPolygon:
            return polyPolygonFault();
        case TextOut:
            return fits(2 + evenBytes(u16At(0)) + 4, "counts more characters than it holds");
        case ExtTextOut:
            return fits(8 + ((u16At(6) & 0x0006) ? 8 : 0) + qint64(u16At(4)), "counts more characters than it holds");
        case CreatePalette:
        case SetPaletteEntries:
        case AnimatePalette:
            return fits(4 + 4 * qint64(u16At(2)), "counts more colours than it holds");
        case CreateRegion:
            return regionFault();
        case DibCreatePatternBrush:
            return bitmapAt(4);
        case DibBitBlt:
            return hasBitmap() ? bitmapAt(16) : QString();
        case DibStretchBlt:
            return hasBitmap() ? bitmapAt(20) : QString();
        case StretchDib:
            return bitmapAt(22);
        case SetDibToDevice:
            return bitmapAt(18, u16At(2));
        }
        return QString();
    }

private:
    qint64 size() const { return record_.parameters.size(); }
    quint16 u16At(qint64 offset) const { return bytes_.u16(record_.parameters.begin + offset); }
    static qint64 evenBytes(qint64 bytes) { return (bytes + 1) / 2 * 2; }

    QString fits(qint64 bytes, const char* fault) const { return bytes <= size() ? QString() : QString::fromLatin1(fault); }

    // The blits carry a bitmap unless the record is only as long as their fixed parameters.
    bool hasBitmap() const { return size() / 2 != (record_.function >> 8); }

    QString bitmapAt(qint64 offset, qint64 scanLines = AllScanLines) const
    {
        const ByteSpan bitmap{record_.parameters.begin + offset, record_.parameters.end};
        return packedBitmapFault(bytes_, bitmap, scanLines);
    }

    QString polyPolygonFault() const
    {
        const qint64 polygons = u16At(0);
        if (2 + 2 * polygons > size())
            return QStringLiteral("counts more polygons than it holds");
        qint64 points = 0;
        for (qint64 i = 0; i < polygons; ++i)
            points += u16At(2 + 2 * i);
        return fits(2 + 2 * polygons + 4 * points, "counts more points than it holds");
    }

    // A region: its fixed part, then scans of a count, a top, a bottom, count/2 pairs of
    // coordinates and the count again.
    QString regionFault() const
    {
        const qint64 scans = u16At(10);
        qint64 at = 22;
        for (qint64 i = 0; i < scans; ++i) {
            if (at + 2 > size())
                return QStringLiteral("counts more region scans than it holds");
            at += 8 + 2 * qint64(u16At(at));
        }
        return fits(at, "counts more region scans than it holds");
    }

    const MetafileBytes& bytes_;
    const Record& record_;
};

QString damaged(const QString& what)
{
    return QStringLiteral("the WMF picture is damaged: ") + what;
}

QString recordFault(qint64 number, const QString& what)
{
    return damaged(QStringLiteral("record %1 %2").arg(number).arg(what));
}

} // namespace

QString wmfFault(const QByteArray& wmf)
{
    const MetafileBytes bytes(wmf);
    const qint64 header = bytes.u32(0) == PlaceableKey ? PlaceableBytes : 0;
    if (!bytes.holds(header, HeaderBytes))
        return damaged(QStringLiteral("its header is cut short"));
    const quint16 type = bytes.u16(header);
    if ((type != 1 && type != 2) || bytes.u16(header + 2) != HeaderWords)
        return damaged(QStringLiteral("its header is not a metafile header"));
    const quint32 maxRecordWords = bytes.u32(header + 12);
    if (maxRecordWords > bytes.size() / 2)
        return damaged(QStringLiteral("its header declares a record larger than the file"));
    qint64 at = header + HeaderBytes;
    for (qint64 number = 1;; ++number) {
        if (number > picture_limits::MaxMetafileRecords)
            return QStringLiteral("the WMF picture has more than %1 records").arg(picture_limits::MaxMetafileRecords);
        if (!bytes.holds(at, 2 * RecordHeaderWords))
            return damaged(QStringLiteral("it ends without its end record"));
        const quint32 words = bytes.u32(at);
        if (words < RecordHeaderWords || !bytes.holds(at, 2 * qint64(words)))
            return recordFault(number, QStringLiteral("reaches past the end of the file"));
        if (words - RecordHeaderWords > maxRecordWords)
            return recordFault(number, QStringLiteral("is larger than the header declares"));
        const Record record{bytes.u16(at + 4), {at + 2 * RecordHeaderWords, at + 2 * qint64(words)}};
        if (record.function == End && words == RecordHeaderWords)
            return QString();
        const QString fault = RecordCheck(bytes, record).fault();
        if (!fault.isEmpty())
            return recordFault(number, fault);
        at = record.parameters.end;
    }
}

} // namespace veldra::word
