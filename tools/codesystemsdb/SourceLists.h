#pragma once

#include "codesystemsdb/CodeTables.h"

// The committed source lists of the code-system database (tools/codesystemsdb/lists/).
//
// Each list is a UTF-8 text file named "<table>-<list>.tsv", for example
// "NCIThesaurus-dosage-forms.tsv". Lines starting with "#" are comments; together
// they are the list's notice in the database (what it holds, the terms it is
// shipped under). The first other line names the table's columns, tab-separated
// and in the table's order; every following non-empty line is one row with exactly
// that many tab-separated cells. An empty cell is NULL; the first cell (the code)
// must not be empty.
namespace veldra::codedb {

// Reads every list of `folder`, in file-name order. Throws VbError naming the file
// and line of the first fault: an unknown table, a wrong header, a row with the
// wrong number of cells or without a code, a row that repeats an earlier one.
CodeLists readSourceLists(const QString& folder);

// Adds the rows of one list file to `lists`.
void readSourceList(const QString& path, CodeLists& lists);

} // namespace veldra::codedb
