#pragma once

#include <QByteArray>
#include <QtEndian>

namespace veldra::word {

// A stretch of a metafile's bytes, [begin, end).
struct ByteSpan {
    qint64 begin = 0;
    qint64 end = 0;

    qint64 size() const { return end - begin; }
};

// Little-endian fields of a metafile, read without trusting any of them: a field that
// lies outside the bytes reads as 0, and `holds` tells whether a stretch lies inside.
class MetafileBytes {
public:
    explicit MetafileBytes(const QByteArray& bytes) : bytes_(bytes) {}

    qint64 size() const { return bytes_.size(); }
    bool holds(qint64 at, qint64 length) const { return at >= 0 && length >= 0 && at <= size() && length <= size() - at; }

    quint16 u16(qint64 at) const { return holds(at, 2) ? qFromLittleEndian<quint16>(bytes_.constData() + at) : 0; }
    quint32 u32(qint64 at) const { return holds(at, 4) ? qFromLittleEndian<quint32>(bytes_.constData() + at) : 0; }
    qint32 i32(qint64 at) const { return qint32(u32(at)); }

private:
    const QByteArray& bytes_;
};

} // namespace veldra::word
