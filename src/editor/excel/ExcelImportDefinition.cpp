#include "editor/excel/ExcelImportDefinition.h"

#include "editor/window/EditorErrors.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

QString excelImportDefinitionPath()
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/ExcelImportDefinition.xml"));
}

xml::Document requireExcelImportDefinition()
{
    xml::Document definitions;
    if (!definitions.load(excelImportDefinitionPath())) {
        const xml::ParseError& error = definitions.parseError();
        QString reason = error.reason;
        if (error.line > 0)
            reason += QStringLiteral(" (line %1)").arg(error.line);
        throw editorError(QStringLiteral("The Excel import definition file %1 cannot be read: %2")
                              .arg(excelImportDefinitionPath(), reason));
    }
    return definitions;
}

xml::Node excelImportEntry(const xml::Document& definitions, const QString& importName)
{
    return definitions.selectSingleNode(QStringLiteral("/ExcelImportDefinition/ExcelImport[Name=")
                                        + xml::queryLiteral(importName) + QLatin1Char(']'));
}

} // namespace veldra
