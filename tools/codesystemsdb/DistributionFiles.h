#pragma once

#include "codesystemsdb/CodeTables.h"

// Rows of the code tables read from the public distribution files, for users who
// want the full lists instead of the starter set. Columns are found by their
// header names, so added or reordered columns do not matter. Each reader throws
// VbError when the file cannot be read or lacks a column it needs.
namespace veldra::codedb {

// The LOINC table file (Loinc.csv, quoted CSV): LOINC_NUM, COMPONENT, SYSTEM.
std::vector<Row> readLoincCsv(const QString& path);

// The NCI Thesaurus FDA SPL subsets file (FDA-SPL_NCIt_Subsets.txt, tab-separated).
// One row per concept and term: Field1 the concept code, Field2 and Field4 the
// FDA's term (the text SPL uses), Field3 the subset. A concept listed both in the
// umbrella subset of all SPL terms and in a specific subset keeps the specific one.
std::vector<Row> readNciSplSubsets(const QString& path);

// The FDA UNII names list (UNII_Names, tab-separated "Name Type UNII Display Name")
// or the UNII records list: one row per UNII with its display name (the preferred
// substance name), or with its first name when the file has no display names.
std::vector<Row> readUniiNames(const QString& path);

} // namespace veldra::codedb
