#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// The import-definition file (SPLR4Definitions/ExcelImportDefinition.xml in the program
// folder): one ExcelImport entry per element name that can be imported into. Only read,
// and loaded afresh for every import.
QString excelImportDefinitionPath();

// The loaded file; a file that is missing or does not parse throws VbError naming the file
// and the reason.
xml::Document requireExcelImportDefinition();

// The first entry whose Name is exactly `importName`; null when there is none.
xml::Node excelImportEntry(const xml::Document& definitions, const QString& importName);

} // namespace veldra
