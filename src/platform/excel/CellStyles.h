#pragma once

#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <vector>

namespace veldra::excel {

// For each cell format of the workbook (the s attribute of a cell counts into them),
// whether it shows numbers as dates. False on XML that does not parse.
bool readDateStyles(const QByteArray& xml, const QString& part, std::vector<bool>& out, WorkbookError& error);

} // namespace veldra::excel
