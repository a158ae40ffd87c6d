#pragma once

namespace veldra {

class frmXMLEditor;

// The editor's Import from Excel: imports a workbook below the element behind the selected
// tree node (clsExcelImport), marks the document changed when anything was written, and
// rebuilds the tree once, keeping its colours. Failures are shown in a message box.
void ImportFromExcel(frmXMLEditor& editor);

} // namespace veldra
