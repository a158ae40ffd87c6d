#pragma once

#include <QByteArray>
#include <QColor>
#include <QRect>

#include <initializer_list>
#include <utility>

namespace veldra::test {

// Small metafiles written record by record: filled rectangles with no outline on a
// picture of the given pixel size (at 96 pixels per inch), which they need not fill.
QByteArray emfWithRectangles(QSize pixels, std::initializer_list<std::pair<QRect, QColor>> rectangles);
QByteArray wmfWithRectangles(QSize pixels, std::initializer_list<std::pair<QRect, QColor>> rectangles);

// One record of a metafile: its kind (a WMF function, an EMF record type) and its bytes
// after the record's size and kind (an even number of them for WMF, a multiple of four for EMF).
struct MetafileRecord {
    quint32 kind;
    QByteArray parameters;
};

// Metafiles of the given records on a picture of `pixels`, with their headers' sizes and
// counts filled in and the end record appended.
QByteArray wmfWithRecords(QSize pixels, std::initializer_list<MetafileRecord> records);
QByteArray emfWithRecords(QSize pixels, std::initializer_list<MetafileRecord> records);

// A 24-bit device-independent bitmap of one colour: its 40-byte header, then its rows.
QByteArray solidBitmap(QSize size, const QColor& colour);

// Little-endian fields, for writing records.
QByteArray le16(std::initializer_list<int> values);
QByteArray le32(std::initializer_list<qint64> values);

} // namespace veldra::test
