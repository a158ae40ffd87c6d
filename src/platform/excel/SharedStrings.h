#pragma once

#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <QStringList>

namespace veldra::excel {

// The workbook's shared strings in their order; the runs of rich text joined, phonetic
// guides left out. False on XML that does not parse.
bool readSharedStrings(const QByteArray& xml, const QString& part, QStringList& out, WorkbookError& error);

} // namespace veldra::excel
