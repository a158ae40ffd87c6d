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
#include "editor/excel/ImportMemoryLimit.h"
#include "platform/core/Skip.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Cursor.h"
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
// then no records are made. Its Name and Repeat must be element names.
xml::Node recordTemplateOf(const xml::Node& entry, const xml::Document& definition)
{
    const QString query = QStringLiteral("//") + xml::queryName(xml::textAt(entry, QStringLiteral("Name"))) + QLatin1Char('/')
        + xml::queryName(xml::textAt(entry, QStringLiteral("Repeat")));
    xml::Node found;
    skip([&] { found = definition.selectSingleNode(query); });
    return found;
}

// The children of `parent`, in order: what a worksheet that fails gives back.
std::vector<xml::Node> childrenOf(const xml::Node& parent)
{
    std::vector<xml::Node> children;
    for (xml::Node child = parent.firstChild(); !child.isNull(); child = child.nextSibling())
        children.push_back(child);
    return children;
}

// Gives `parent` back the children it had (`children`) in place of its own: what a worksheet
// that failed had added goes, and what it had removed comes back.
void restoreChildren(const xml::Node& parent, const std::vector<xml::Node>& children)
{
    for (xml::Node child = parent.lastChild(); !child.isNull(); child = parent.lastChild())
        parent.removeChild(child);
    for (const xml::Node& child : children)
        parent.appendChild(child);
}

// The LotNumber child of a lot, null when it has none; a walk over the children, as the
// split visits every lot of the document after each worksheet.
xml::Node lotNumberOf(const xml::Node& lot)
{
    for (xml::Node child = lot.firstChild(); !child.isNull(); child = child.nextSibling())
        if (child.nodeType() == xml::NodeType::Element && child.nodeName() == QLatin1String("LotNumber"))
            return child;
    return {};
}

// The BulkLots among `records` and below them, in document order: one walk over their
// elements, as a query for them costs many times more, after each worksheet.
std::vector<xml::Node> lotsWithin(const std::vector<xml::Node>& records)
{
    std::vector<xml::Node> lots;
    for (const xml::Node& record : records)
        xml::forEachElement(xml::Cursor(record), [&lots](const xml::Cursor& element) {
            if (element.isNamed("BulkLot"))
                lots.push_back(element.node());
        });
    return lots;
}

// What a lot's numbers are split at: line feeds when there are any, else blanks.
QChar lotNumberSeparator(const QString& numbers)
{
    return numbers.contains(QLatin1Char('\n')) ? QLatin1Char('\n') : QLatin1Char(' ');
}

// What the header of a worksheet notes of each record and lot it brought: its id and a blank.
constexpr qint64 NotedIdBytes = 37;

// What a worksheet's header adds at most: ExcelFile, WorkSheet and ImportDateTime with their
// ids, texts and the attributes the import sets on them (the ids it notes count with their
// records). A header the worksheet reuses adds less.
DocumentSize headerSize(const QString& file, const QString& sheetName)
{
    static const qint64 markupBytes = QByteArrayLiteral("<ExcelFile ConstraintDataType=\"File\"></ExcelFile>"
                                                        "<WorkSheet ImportedRecords=\"\"></WorkSheet>"
                                                        "<ImportDateTime>yyyyMMdd HH:mm:ss</ImportDateTime>")
                                          .size();
    DocumentSize size{3, 5, markupBytes + 3 * kIdAttributeBytes};
    size += savedSizeOfText(file);
    size += savedSizeOfText(sheetName);
    return size;
}

// What splitting the lot numbers adds: for each further number a copy of its lot, holding
// that number instead of all of them, and noted in the header when a worksheet brought it.
DocumentSize splitSize(const std::vector<xml::Node>& lots)
{
    DocumentSize size;
    for (const xml::Node& lot : lots) {
        const xml::Node number = lotNumberOf(lot);
        if (number.isNull())
            continue;
        const QString text = number.text();
        const qsizetype copies = text.count(lotNumberSeparator(text));
        if (copies == 0)
            continue;
        const DocumentSize copy = importedSizeOf(lot);
        size.elements += copies * copy.elements;
        size.attributes += copies * copy.attributes;
        size.bytes += copies * (copy.bytes - text.size() + NotedIdBytes) + text.size();
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
        importWorksheet(sheet, ImportName, file, entry, recordTemplate, target);
    }
    const LoggedProblems found = problems.count();
    ui::msgBox(QStringLiteral("Excel Import of '") + words + QStringLiteral("' completed.")
                   + (found.any() ? QStringLiteral("\r\n\r\n") + found.sentence(QStringLiteral("import")) : QString()),
               ui::Buttons::OK, found.any() ? ui::Icon::Warning : ui::Icon::Information);
}

void clsExcelImport::importWorksheet(const excel::Worksheet& sheet, const QString& importName, const QString& file,
                                     const xml::Node& entry, const xml::Node& recordTemplate, const xml::Node& target)
{
    // A worksheet that fails (too large for the editor) leaves the target as it was before
    // it: its header, its earlier records and the empty ones a new document holds. The
    // children are kept by handle, not copied: what a worksheet undoes is its own part.
    const std::vector<xml::Node> children = childrenOf(target);
    const std::optional<EditorRoom> room = room_;
    const DocumentSize added = added_;
    std::optional<WorksheetPlace> place;
    try {
        const QString refusal = take(headerSize(file, sheet.name()), target.ownerDocument());
        if (!refusal.isEmpty())
            throw editorError(QStringLiteral("The worksheet '%1' was not imported: its header %2.").arg(sheet.name(), refusal));
        place = WorksheetPlace::prepare(target, file, sheet.name(), recordTemplate);
        LoadFromExcelWorkSheet(sheet, entry, recordTemplate, target);
        broughtRecords_ = place->placeRecords();
        brought_.clear();
        for (const xml::Node& record : broughtRecords_)
            brought_.insert(record.getAttribute(QStringLiteral("Word2SPLID")));
        if (importName == QLatin1String("LotDistributionReport"))
            LotDistributionReportPostProcessing(target);
        place->noteRecords(brought_);
    } catch (const std::exception&) {
        restoreChildren(target, children);
        if (place)
            place->restoreHeader();
        room_ = room;
        added_ = added;
        throw;
    }
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
        for (int row = std::max(firstRow, 1); row <= excel::MaxRows; ++row) {
            if (WorkSheet.rowHidden(row))
                continue;
            const xml::Node record = document.importNode(XMLTemplateNode, true);
            QString rowText;
            for (const ImportField& field : fields)
                rowText += runField(field, WorkSheet, row, record, importStart);
            if (rowText.isEmpty())
                break;
            DocumentSize size = importedSizeOf(record);
            size.bytes += NotedIdBytes;
            const QString refusal = take(size, document);
            if (!refusal.isEmpty())
                throw editorError(QStringLiteral("The worksheet '%1' was not imported: its rows %2; row %3 is the first "
                                                 "that does not fit.")
                                      .arg(WorkSheet.name(), refusal)
                                      .arg(row));
            AssignWord2SPLIDs(record);
            XMLTargetNode.appendChild(record);
        }
    }
}

QString clsExcelImport::take(const DocumentSize& size, const xml::Document& document)
{
    if (!room_)
        room_ = EditorRoom::leftBy(document);
    if (!room_->fits(size))
        return QStringLiteral("would make the document larger than the editor opens (%1)").arg(EditorRoom::limitText());
    DocumentSize after = added_;
    after += size;
    if (editorMemoryOf(after) > importMemoryLimit())
        return QStringLiteral("would take more memory than one import may use (about %1 MiB of at most %2 MiB)")
            .arg(editorMemoryOf(after) >> 20)
            .arg(importMemoryLimit() >> 20);
    room_->take(size);
    added_ = after;
    return {};
}

void clsExcelImport::LotDistributionReportPostProcessing(const xml::Node& XMLNode)
{
    // Once the whole document is split, only the lots a later worksheet brings can hold
    // numbers to split: nothing else changes while the import runs.
    const std::vector<xml::Node> lots = documentSplit_ ? lotsWithin(broughtRecords_)
                                                          : lotsWithin({XMLNode.ownerDocument().asNode()});
    const QString refusal = take(splitSize(lots), XMLNode.ownerDocument());
    if (!refusal.isEmpty())
        throw editorError(QStringLiteral("The lot numbers were not split and the worksheet was not imported: one lot for "
                                         "each number %1.")
                              .arg(refusal));
    documentSplit_ = true;
    try {
        for (const xml::Node& lot : lots) {
            const xml::Node number = lotNumberOf(lot);
            const QString text = number.text();
            const QChar separator = lotNumberSeparator(text);
            if (!text.contains(separator))
                continue;
            const QStringList parts = text.split(separator);
            const bool broughtLot = brought_.contains(lot.getAttribute(QStringLiteral("Word2SPLID")));
            number.setText(parts.first());
            for (qsizetype i = 1; i < parts.size(); ++i) {
                const xml::Node copy = lot.cloneNode(true);
                lotNumberOf(copy).setText(parts.at(i));
                AssignWord2SPLIDs(copy);
                lot.parentNode().insertBefore(copy, lot);
                if (broughtLot)
                    brought_.insert(copy.getAttribute(QStringLiteral("Word2SPLID")));
            }
        }
    } catch (const std::exception&) {
        // The split stops at its first failure; what it did so far stays.
    }
}

} // namespace veldra
