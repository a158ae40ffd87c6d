#pragma once

#include "platform/core/VbVariant.h"

#include <QString>

namespace veldra {

namespace excel {
class Worksheet;
}
namespace xml {
class Node;
}

// One Field of an import entry, read once for all rows of a worksheet.
struct ImportField {
    QString source;       // the Source child's text, trimmed
    QString target;       // the Target child's text
    QString defaultText;  // the attributes; empty when absent
    QString xpath;
    bool hasXPath = false;
    QString format;
    QString prefix;
    QString remove;
    QString subString;

    static ImportField read(const xml::Node& field);
    // True when the Source names one column, so its text counts for the row.
    bool singleCellSource() const;
};

// The cell value a Source names in `row`: one column ("B") or two joined by the first of
// "+", "-", "*", "/" that occurs (only the first two columns count). A combination that
// fails, or a Source that names no cell, gives Empty.
vb::Variant sourceValue(const excel::Worksheet& sheet, const QString& source, int row);

// Applies the field's Format, Remove and SubString to a value, in that order; a step
// whose attribute is empty leaves the value as it is.
QString finishValue(const vb::Variant& value, const ImportField& field);

// Runs one Field of an import entry for one row and writes its value into `record` at
// the field's Target: Default (the text "GUID" gives a new id), else XPath (the matches,
// selected from `importStart`, are copied in place of the record's node at Target or
// after it, and the field ends there), else Source; then Format, Remove, SubString and
// Prefix. A step that fails is passed over. Returns the text of the field's single-cell
// Source in this row (empty for other fields), which tells an empty row from one with data.
QString runField(const ImportField& field, const excel::Worksheet& sheet, int row, const xml::Node& record,
                 const xml::Node& importStart);

} // namespace veldra
