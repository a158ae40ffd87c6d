#pragma once

#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace veldra::excel {

struct Relationship {
    QString id;
    QString type;    // the relationship type URI
    QString target;  // the part it points to, as a package path ("xl/worksheets/sheet1.xml")
};

// The relationships of `sourcePart` read from its .rels part; relative targets are resolved
// against the source part's folder, external targets are left out. False on XML that does
// not parse.
bool readRelationships(const QByteArray& rels, const QString& relsPart, const QString& sourcePart,
                       std::vector<Relationship>& out, WorkbookError& error);

// The .rels part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"; "" -> "_rels/.rels".
QString relationshipsPartOf(const QString& part);

// The first relationship whose type ends with "/" + `kind` ("officeDocument", "worksheet").
const Relationship* findByKind(const std::vector<Relationship>& relationships, const QString& kind);
const Relationship* findById(const std::vector<Relationship>& relationships, const QString& id);

} // namespace veldra::excel
