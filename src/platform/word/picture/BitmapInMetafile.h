#pragma once

#include "platform/word/picture/MetafileBytes.h"

#include <QString>

#include <limits>

namespace veldra::word {

// The converters decode a bitmap inside a metafile record as its header says, reading as
// many colours and pixel rows as it declares. These check that the header is one they know,
// that the size is within the renderer's limits and that the declared colour table and pixels
// lie inside the record. Empty when the bitmap is sound, else what is wrong ("has a damaged
// header"). `scanLines` bounds the rows a record draws from the pixels.
inline constexpr qint64 AllScanLines = std::numeric_limits<qint64>::max();

// Header, colour table and pixels in one piece (WMF records).
QString packedBitmapFault(const MetafileBytes& bytes, ByteSpan bitmap, qint64 scanLines = AllScanLines);
// Header with colour table, and pixels, apart (EMF records); the pixels may be a JPEG or PNG file.
QString bitmapFault(const MetafileBytes& bytes, ByteSpan header, ByteSpan pixels, qint64 scanLines = AllScanLines);

} // namespace veldra::word
