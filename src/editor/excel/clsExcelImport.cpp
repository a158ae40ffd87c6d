#include "editor/excel/clsExcelImport.h"

#include "app/window/Captions.h"
#include "app/log/Log.h"
#include "app/log/LoggedProblems.h"
#include "app/window/RememberedFolders.h"
#include "editor/document/DefinitionDocument.h"
#include "editor/window/EditorErrors.h"
#include "editor/document/SettingsDocument.h"
#include "editor/window/SharedDialog.h"
#include "editor/excel/ExcelImportDefinition.h"
#include "editor/excel/ImportField.h"
#include "editor/excel/WorksheetPlace.h"
#include "platform/core/Skip.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

#include <QFileInfo>

namespace veldra {

namespace {

const QString WorkbookFilter = QStringLiteral("Excel Files | *.xlsx;*.xls;*.xlsm");

// The workbook the user chooses; empty when the dialog is cancelled.
QString chooseWorkbook()
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.dialogTitle = QStringLiteral("Import from Excel");
    dialog.filter = WorkbookFilter;
    dialog.fileName.clear();
    skip([&] { dialog.fileName = GetLastFolder(QStringLiteral("Excel")); });
    dialog.cancelError = true;
    try {
        return dialog.showOpen() ? dialog.fileName : QString();
    } catch (const VbError& e) {
        if (e.number() == ui::CommonDialog::cancelErrorNumber)
            return QString();
        throw;
    }
}

// A legacy workbook cannot be read here; the user can save it in the current format.
bool refuseLegacyWorkbook(const QString& file)
{
    if (QFileInfo(file).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) != 0)
        return false;
    ui::msgBox(QStringLiteral("The workbook '%1' is in the Excel 97-2003 format (.xls), which cannot be imported.\n\n"
                              "Open it in your spreadsheet program, save it as an Excel Workbook (.xlsx) and import that file.")
                   .arg(file),
               ui::Buttons::OK, ui::Icon::Warning);
    return true;
}

// The Target element below the import's start; created (no namespace) when missing.
xml::Node targetElement(const xml::Node& start, const QString& target, bool& created)
{
    xml::Node found;
    skip([&] { found = start.selectSingleNode(target); });
    if (!found.isNull())
        return found;
    start.appendChild(start.ownerDocument().createElement(target));
    created = true;
    found = start.selectSingleNode(target);
    if (found.isNull())
        throw editorError(QStringLiteral("The Target '%1' of the Excel import is not an element name.").arg(target));
    return found;
}

// The definition document's record template of an entry; null when there is none, and
// then no records are made.
xml::Node recordTemplateOf(const xml::Node& entry, const xml::Document& definition)
{
    xml::Node found;
    skip([&] {
        found = definition.selectSingleNode(QStringLiteral("//") + xml::textAt(entry, QStringLiteral("Name")) + QLatin1Char('/')
                                            + xml::textAt(entry, QStringLiteral("Repeat")));
    });
    return found;
}

// Gives `parent` the children of `copy` (a deep copy of it made earlier) in place of its own:
// what a worksheet that failed had changed goes.
void restoreChildren(const xml::Node& parent, const xml::Node& copy)
{
    for (xml::Node child = parent.lastChild(); !child.isNull(); child = parent.lastChild())
        parent.removeChild(child);
    for (xml::Node child = copy.firstChild(); !child.isNull(); child = copy.firstChild())
        parent.appendChild(child);
}

// What a lot's numbers are split at: line feeds when there are any, else blanks.
QChar lotNumberSeparator(const QString& numbers)
{
    return numbers.contains(QLatin1Char('\n')) ? QLatin1Char('\n') : QLatin1Char(' ');
}

// What splitting the lot numbers adds: for each further number a copy of its lot, holding
// that number instead of all of them.
DocumentSize splitSize(const xml::NodeList& lots)
{
    DocumentSize size;
    for (const xml::Node& lot : lots) {
        const xml::Node number = lot.selectSingleNode(QStringLiteral("LotNumber"));
        if (number.isNull())
            continue;
        const QString text = number.text();
        const qsizetype copies = text.count(lotNumberSeparator(text));
        if (copies == 0)
            continue;
        const DocumentSize copy = importedSizeOf(lot);
        size.elements += copies * copy.elements;
        size.attributes += copies * copy.attributes;
        size.bytes += copies * (copy.bytes - text.size()) + text.size();
    }
    return size;
}

// Reads the whole workbook; a file that cannot be read is reported and nothing is imported.
// What the workbook holds only approximately goes to the log.
bool openWorkbook(const QString& file, excel::XlsxWorkbook& workbook)
{
    if (workbook.open(file)) {
        for (const QString& warning : workbook.warnings())
            WriteLog(log_category::Warning, warning);
        return true;
    }
    ui::msgBox(QStringLiteral("The workbook '%1' cannot be imported: %2.\n\nNothing was imported.")
                   .arg(file, workbook.error().text()),
               ui::Buttons::OK, ui::Icon::Warning);
    return false;
}

} // namespace

void clsExcelImport::LoadFromExcelFile(const QString& ImportName, const xml::Node& XMLTargetNode)
{
    const LoggedProblemsSince problems;
    const xml::Document definitions = requireExcelImportDefinition();
    const xml::Node entry = excelImportEntry(definitions, ImportName);
    const QString words = SplitCamelCase(ImportName);
    if (entry.isNull()) {
        ui::msgBox(QStringLiteral("No Excel Import defined for '") + words + QStringLiteral("'."), ui::Buttons::OK,
                   ui::Icon::Warning);
        return;
    }

    const QString file = chooseWorkbook();
    if (file.isEmpty())
        return;
    skip([&] { SaveLastFolder(QStringLiteral("Excel"), file); });
    if (refuseLegacyWorkbook(file))
        return;

    const xml::Document definition = requireDefinitionDocument();
    const xml::Node recordTemplate = recordTemplateOf(entry, definition);
    excel::XlsxWorkbook workbook;
    if (!openWorkbook(file, workbook))
        return;

    const xml::Node target = targetElement(XMLTargetNode, xml::textAt(entry, QStringLiteral("Target")), DocumentChanged);
    room_ = EditorRoom::leftBy(XMLTargetNode.ownerDocument());
    for (const excel::Worksheet& sheet : workbook.worksheets()) {
        if (ui::msgBox(QStringLiteral("Import Worksheet: ") + sheet.name(), ui::Buttons::YesNo, ui::Icon::Question)
            != ui::Answer::Yes)
            continue;
        DocumentChanged = true;
        // A worksheet that fails (too large for the editor) leaves the target as it was
        // before it: its header, its earlier records and the empty ones a new document holds.
        const xml::Node before = target.cloneNode(true);
        try {
            const WorksheetPlace place = WorksheetPlace::prepare(target, file, sheet.name(), recordTemplate);
            LoadFromExcelWorkSheet(sheet, entry, recordTemplate, target);
            place.placeRecords();
            if (ImportName == QLatin1String("LotDistributionReport"))
                LotDistributionReportPostProcessing(target);
        } catch (const std::exception&) {
            restoreChildren(target, before);
            throw;
        }
    }
    const LoggedProblems found = problems.count();
    ui::msgBox(QStringLiteral("Excel Import of '") + words + QStringLiteral("' completed.")
                   + (found.any() ? QStringLiteral("\r\n\r\n") + found.sentence(QStringLiteral("import")) : QString()),
               ui::Buttons::OK, found.any() ? ui::Icon::Warning : ui::Icon::Information);
}

void clsExcelImport::LoadFromExcelWorkSheet(const excel::Worksheet& WorkSheet, const xml::Node& XMLExcelImport,
                                            const xml::Node& XMLTemplateNode, const xml::Node& XMLTargetNode)
{
    bool numeric = false;
    const int firstRow = xml::textAt(XMLExcelImport, QStringLiteral("DataStartRow")).trimmed().toInt(&numeric);
    std::vector<ImportField> fields;
    for (const xml::Node& field : XMLExcelImport.selectNodes(QStringLiteral("Field")))
        fields.push_back(ImportField::read(field));
    const xml::Node importStart = XMLTargetNode.parentNode();
    if (numeric && !XMLTemplateNode.isNull()) {
        const xml::Document document = XMLTargetNode.ownerDocument();
        if (!room_)
            room_ = EditorRoom::leftBy(document);
        for (int row = std::max(firstRow, 1); row <= excel::MaxRows; ++row) {
            if (WorkSheet.rowHidden(row))
                continue;
            const xml::Node record = document.importNode(XMLTemplateNode, true);
            QString rowText;
            for (const ImportField& field : fields)
                rowText += runField(field, WorkSheet, row, record, importStart);
            if (rowText.isEmpty())
                break;
            if (!room_->take(importedSizeOf(record)))
                throw editorError(QStringLiteral("The worksheet '%1' was not imported: its rows would make the document "
                                                 "larger than the editor opens (%2; row %3 is the first that does not "
                                                 "fit).")
                                      .arg(WorkSheet.name(), EditorRoom::limitText())
                                      .arg(row));
            XMLTargetNode.appendChild(record);
        }
    }
    AssignWord2SPLIDs(XMLTargetNode);
}

void clsExcelImport::LotDistributionReportPostProcessing(const xml::Node& XMLNode)
{
    const xml::NodeList lots = XMLNode.ownerDocument().selectNodes(QStringLiteral("//BulkLot"));
    if (!room_)
        room_ = EditorRoom::leftBy(XMLNode.ownerDocument());
    if (!room_->take(splitSize(lots)))
        throw editorError(QStringLiteral("The lot numbers were not split and the worksheet was not imported: one lot for "
                                         "each number would make the document larger than the editor opens (%1).")
                              .arg(EditorRoom::limitText()));
    try {
        for (const xml::Node& lot : lots) {
            const xml::Node number = lot.selectSingleNode(QStringLiteral("LotNumber"));
            const QString text = number.text();
            const QChar separator = lotNumberSeparator(text);
            if (!text.contains(separator))
                continue;
            const QStringList parts = text.split(separator);
            number.setText(parts.first());
            for (qsizetype i = 1; i < parts.size(); ++i) {
                const xml::Node copy = lot.cloneNode(true);
                copy.selectSingleNode(QStringLiteral("LotNumber")).setText(parts.at(i));
                AssignWord2SPLIDs(copy);
                lot.parentNode().insertBefore(copy, lot);
            }
        }
    } catch (const std::exception&) {
        // The split stops at its first failure; what it did so far stays.
    }
}

} // namespace veldra
