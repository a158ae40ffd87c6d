#pragma once

#include <QString>

namespace veldra::excel {

// Why a workbook could not be opened: the package part at fault (empty when the fault is
// the file as a whole) and a readable reason.
struct WorkbookError {
    QString part;
    QString reason;

    bool ok() const { return reason.isEmpty(); }
    // "xl/workbook.xml: the part is missing", or the reason alone.
    QString text() const { return part.isEmpty() ? reason : part + QStringLiteral(": ") + reason; }
};

} // namespace veldra::excel
