#pragma once

#include <QByteArray>
#include <QString>

namespace veldra::word {

// The metafile converters take a file's headers and records on trust: sizes, counts and
// offsets are followed as written. These walk a metafile before it reaches a converter and
// check what the converters would follow: the header, that every record lies inside the
// file and the file ends with its end record, no more than picture_limits::MaxMetafileRecords
// records, and inside each record the counts, offsets, lengths and bitmaps that the record's
// kind declares. Empty when the metafile is sound as far as a converter relies on it, else
// the reason it is not drawn.
QString wmfFault(const QByteArray& wmf);
QString emfFault(const QByteArray& emf);

} // namespace veldra::word
