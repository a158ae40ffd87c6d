#include "platform/word/picture/Metafiles.h"

#include <QtEndian>

#include <algorithm>

namespace veldra::test {

namespace {

class LittleEndian {
public:
    LittleEndian& u16(quint16 v) { return put(qToLittleEndian(v)); }
    LittleEndian& u32(quint32 v) { return put(qToLittleEndian(v)); }
    LittleEndian& i32(qint32 v) { return put(qToLittleEndian(v)); }
    LittleEndian& i16(qint16 v) { return put(qToLittleEndian(v)); }
    QByteArray bytes;

private:
    template <class T>
    LittleEndian& put(T v)
    {
        bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
};

quint32 colorRef(const QColor& c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

void patch32(QByteArray& bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace

QByteArray emfWithRectangles(QSize pixels, std::initializer_list<std::pair<QRect, QColor>> rectangles)
{
    constexpr quint32 NullPen = 0x80000008;
    LittleEndian emf;
    // Header: the bounds of what is drawn in pixels (inclusive), the frame in hundredths
    // of a millimetre, a 96-dpi reference device.
    QRect drawn;
    for (const auto& rectangle : rectangles)
        drawn |= rectangle.first;
    emf.u32(1).u32(88).i32(drawn.left()).i32(drawn.top()).i32(drawn.right()).i32(drawn.bottom());
    emf.i32(0).i32(0).i32(pixels.width() * 2540 / 96).i32(pixels.height() * 2540 / 96);
    emf.u32(0x464D4520).u32(0x10000).u32(0).u32(0).u16(2).u16(0).u32(0).u32(0).u32(0);
    emf.i32(960).i32(960).i32(254).i32(254);
    int records = 1;
    emf.u32(37).u32(12).u32(NullPen), ++records;
    for (const auto& [rect, colour] : rectangles) {
        emf.u32(39).u32(24).u32(1).u32(0).u32(colorRef(colour)).u32(0);   // solid brush 1
        emf.u32(37).u32(12).u32(1);                                         // select it
        emf.u32(43).u32(24).i32(rect.left()).i32(rect.top()).i32(rect.right() + 1).i32(rect.bottom() + 1);
        emf.u32(37).u32(12).u32(0x80000000);                                // white brush
        emf.u32(40).u32(12).u32(1);                                         // delete brush 1
        records += 5;
    }
    emf.u32(14).u32(20).u32(0).u32(16).u32(20), ++records;
    patch32(emf.bytes, 48, quint32(emf.bytes.size()));
    patch32(emf.bytes, 52, quint32(records));
    return emf.bytes;
}

QByteArray wmfWithRectangles(QSize pixels, std::initializer_list<std::pair<QRect, QColor>> rectangles)
{
    LittleEndian placeable;
    placeable.u32(0x9AC6CDD7).u16(0).i16(0).i16(0).i16(qint16(pixels.width())).i16(qint16(pixels.height())).u16(96).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<quint16>(placeable.bytes.constData() + i);
    placeable.u16(checksum);

    LittleEndian records;
    records.u32(5).u16(0x020B).i16(0).i16(0);                                           // window origin
    records.u32(5).u16(0x020C).i16(qint16(pixels.height())).i16(qint16(pixels.width())); // window extent
    records.u32(8).u16(0x02FA).u16(5).i16(0).i16(0).u32(0);                              // null pen, object 0
    records.u32(4).u16(0x012D).u16(0);
    quint16 objects = 1;
    for (const auto& [rect, colour] : rectangles) {
        records.u32(7).u16(0x02FC).u16(0).u32(colorRef(colour)).u16(0);                 // solid brush
        records.u32(4).u16(0x012D).u16(objects++);
        records.u32(7).u16(0x041B).i16(qint16(rect.bottom() + 1)).i16(qint16(rect.right() + 1))
            .i16(qint16(rect.top())).i16(qint16(rect.left()));
    }
    records.u32(3).u16(0);

    LittleEndian header;
    const quint32 words = quint32(9 + records.bytes.size() / 2);
    header.u16(1).u16(9).u16(0x0300).u32(words).u16(objects).u32(8).u16(0);
    return placeable.bytes + header.bytes + records.bytes;
}

QByteArray le16(std::initializer_list<int> values)
{
    LittleEndian out;
    for (int v : values)
        out.u16(quint16(v));
    return out.bytes;
}

QByteArray le32(std::initializer_list<qint64> values)
{
    LittleEndian out;
    for (qint64 v : values)
        out.u32(quint32(v));
    return out.bytes;
}

QByteArray wmfWithRecords(QSize pixels, std::initializer_list<MetafileRecord> records)
{
    QByteArray placeable = le32({0x9AC6CDD7}) + le16({0, 0, 0, pixels.width(), pixels.height(), 96}) + le32({0});
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<quint16>(placeable.constData() + i);
    placeable += le16({checksum});
    QByteArray body;
    quint32 largest = 3;
    for (const MetafileRecord& record : records) {
        const quint32 words = quint32(3 + record.parameters.size() / 2);
        largest = std::max(largest, words);
        body += le32({words}) + le16({int(record.kind)}) + record.parameters;
    }
    body += le32({3}) + le16({0});
    const QByteArray header = le16({1, 9, 0x0300}) + le32({9 + body.size() / 2}) + le16({8}) + le32({largest}) + le16({0});
    return placeable + header + body;
}

QByteArray emfWithRecords(QSize pixels, std::initializer_list<MetafileRecord> records)
{
    LittleEndian emf;
    emf.u32(1).u32(88).i32(0).i32(0).i32(pixels.width() - 1).i32(pixels.height() - 1);
    emf.i32(0).i32(0).i32(pixels.width() * 2540 / 96).i32(pixels.height() * 2540 / 96);
    emf.u32(0x464D4520).u32(0x10000).u32(0).u32(0).u16(1).u16(0).u32(0).u32(0).u32(0);
    emf.i32(960).i32(960).i32(254).i32(254);
    for (const MetafileRecord& record : records)
        emf.u32(record.kind).u32(quint32(8 + record.parameters.size())).bytes += record.parameters;
    emf.u32(14).u32(20).u32(0).u32(16).u32(20);
    patch32(emf.bytes, 48, quint32(emf.bytes.size()));
    patch32(emf.bytes, 52, quint32(records.size() + 2));
    return emf.bytes;
}

QByteArray solidBitmap(QSize size, const QColor& colour)
{
    const int rowBytes = (size.width() * 3 + 3) / 4 * 4;
    QByteArray bitmap = le32({40, size.width(), size.height()}) + le16({1, 24})
        + le32({0, rowBytes * size.height(), 3780, 3780, 0, 0});
    QByteArray row(rowBytes, '\0');
    for (int x = 0; x < size.width(); ++x) {
        row[3 * x] = char(colour.blue());
        row[3 * x + 1] = char(colour.green());
        row[3 * x + 2] = char(colour.red());
    }
    for (int y = 0; y < size.height(); ++y)
        bitmap += row;
    return bitmap;
}

} // namespace veldra::test
