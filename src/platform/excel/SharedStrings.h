#pragma once

#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <QStringList>

namespace veldra::excel {

// A shared string takes some 50 bytes of memory and as little as five of a part; a table of
// more (far above real workbooks) is refused.
inline constexpr qint64 MaxSharedStrings = 2'000'000;

// The workbook's shared strings in their order; the runs of rich text joined, phonetic
// guides left out. False on XML that does not parse and on more than MaxSharedStrings strings.
bool readSharedStrings(const QByteArray& xml, const QString& part, QStringList& out, WorkbookError& error);

} // namespace veldra::excel
