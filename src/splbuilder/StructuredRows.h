#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace veldra {

// One row of a structured-data list of the build form: the cell texts in the list's column
// order, cell 0 being the row's own text and cells 1.. its sub-items. The lists and their
// columns:
//  - indications: Code, Name, Code System;
//  - contraindications: Code, System, Name, Value Code, Value Code System, Value Code Name;
//  - drug interactions: Interaction Code, Interaction System, Interaction Name, Risk Code,
//    Risk Code System, Risk Code Name, Risk Value Code, Risk Value Code System, Risk Value Name;
//  - adverse reactions: Risk Code, Risk Code System, Risk Code Name, Risk Value Code,
//    Risk Value Code System, Risk Value Name;
//  - product ingredients: Substance Name, FDA SRS Code (UNII), Role ("Active" or "Inactive"),
//    Qty Numerator, Numerator Unit, NCI Code, NCI Name (of the numerator unit), Qty Denominator,
//    Denominator Unit, NCI Code, NCI Name (of the denominator unit);
//  - product packaging: NDC Container Code, NCI Container Code, NCI Container Name, then the
//    eight quantity cells as for ingredients.
// System cells hold the long code-system names (see CodeSystemOID). A row may be shorter than
// its list's columns: a missing cell reads as empty.
using StructuredRow = QStringList;
using StructuredRows = QList<StructuredRow>;

// The cell's text, empty when the row has no such cell.
inline QString cellText(const StructuredRow& row, int index)
{
    return index >= 0 && index < row.size() ? row.at(index) : QString();
}

} // namespace veldra
