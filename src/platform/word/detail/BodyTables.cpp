#include "platform/word/detail/BodyReader.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Revisions.h"
#include "platform/word/detail/Xml.h"

#include <algorithm>
#include <map>

// The tables of the body: rows, cells, their borders and alignment, and the table style
// formats that reach the cells' text.
namespace veldra::word::detail {

namespace {

// The table look a table without w:tblLook gets: header row and first column formats on.
constexpr unsigned kDefaultLook = 0x04A0;
constexpr unsigned kLookFirstRow = 0x0020;
constexpr unsigned kLookLastRow = 0x0040;
constexpr unsigned kLookFirstColumn = 0x0080;
constexpr unsigned kLookLastColumn = 0x0100;
// Word's grid has at most this many columns; a larger span or indent in a file is taken as this.
constexpr int kMostGridColumns = 63;

int gridCount(xmlNode* property, int fallback)
{
    return std::clamp(intAttr(property, "val", fallback), fallback, kMostGridColumns);
}

unsigned tableLook(xmlNode* tblPr)
{
    xmlNode* look = childW(tblPr, "tblLook");
    if (!look)
        return kDefaultLook;
    unsigned value = 0;
    if (hasAttr(look, "val")) {
        bool ok = false;
        value = attr(look, "val").toUInt(&ok, 16);
        if (!ok)
            value = kDefaultLook;
    }
    auto flag = [&](const char* name, unsigned bit) {
        if (hasAttr(look, name)) {
            const QString v = attr(look, name);
            value = v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("on")
                        ? value | bit : value & ~bit;
        }
    };
    flag("firstRow", kLookFirstRow);
    flag("lastRow", kLookLastRow);
    flag("firstColumn", kLookFirstColumn);
    flag("lastColumn", kLookLastColumn);
    return value;
}

// The rows or cells of a table, seen through content controls and custom XML wrappers.
template <typename Visit>
void forEachWrapped(xmlNode* parent, const char* name, Visit visit)
{
    for (xmlNode* child : children(parent)) {
        if (isW(child, name))
            visit(child);
        else if (isW(child, "sdt"))
            forEachWrapped(childW(child, "sdtContent"), name, visit);
        else if (isW(child, "customXml"))
            forEachWrapped(child, name, visit);
    }
}

// Each continuation of a vertical merge lengthens the cell above it in its grid column; a
// continuation with no cell above it is a cell of its own.
void resolveVerticalMerges(TableRec& table)
{
    std::map<int, CellRec*> above;  // grid column -> the cell that covers it in the row above
    for (auto& row : table.rows) {
        std::map<int, CellRec*> covering;
        for (CellRec& cell : row) {
            const auto owner = above.find(cell.gridColumn);
            if (cell.mergedAway && owner != above.end()) {
                ++owner->second->rowSpan;
                covering[cell.gridColumn] = owner->second;
                continue;
            }
            cell.mergedAway = false;
            covering[cell.gridColumn] = &cell;
        }
        above = std::move(covering);
    }
}

// The rows at the top marked to repeat on each page; a mark further down repeats nothing.
int headingRowsOf(const std::vector<xmlNode*>& rows)
{
    const auto marked = [](xmlNode* tr) {
        xmlNode* mark = childW(childW(tr, "trPr"), "tblHeader");
        return mark && onOff(mark);
    };
    int count = 0;
    while (count < static_cast<int>(rows.size()) && marked(rows[static_cast<size_t>(count)]))
        ++count;
    return count;
}

} // namespace

void BodyReader::readTable(xmlNode* tbl, const TableContext* outer)
{
    const int index = static_cast<int>(model_.tables.size());
    TableRec rec;
    rec.start = static_cast<int>(model_.text.size());
    rec.parent = outer ? outer->table : -1;
    model_.tables.push_back(rec);
    if (!openCells_.empty()) {
        const auto& [table, cell] = openCells_.back();
        model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(cell.first)][static_cast<size_t>(cell.second)]
            .tables.push_back(index);
    }

    xmlNode* tblPr = childW(tbl, "tblPr");
    if (holdsRevisionMarker(tblPr))
        revisions_ = true;
    TableContext base;
    base.table = index;
    const QString styleName = attr(childW(tblPr, "tblStyle"), "val");
    const StyleRec* style = styleName.isEmpty() ? styles_.defaultTableStyle() : styles_.find(styleName);
    base.styleId = style ? style->id : QString();
    base.para = styles_.chainPara(base.styleId);
    Borders borders = readBorders(childW(tblPr, "tblBorders"));
    borders.inheritFrom(styles_.chainTableBorders(base.styleId));
    const unsigned look = tableLook(tblPr);

    // The rows and cells that stay once the tracked changes are accepted; a row left without
    // cells goes too.
    std::vector<xmlNode*> rows;
    std::vector<std::vector<xmlNode*>> rowCells;
    forEachWrapped(tbl, "tr", [&](xmlNode* tr) {
        if (!keptByChanges(childW(tr, "trPr")))
            return;
        std::vector<xmlNode*> cells;
        forEachWrapped(tr, "tc", [&](xmlNode* tc) {
            if (keptByChanges(childW(tc, "tcPr")))
                cells.push_back(tc);
        });
        if (!cells.empty()) {
            rows.push_back(tr);
            rowCells.push_back(std::move(cells));
        }
    });
    model_.tables[static_cast<size_t>(index)].rows.resize(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        readRow(rows[r], rowCells[r], index, static_cast<int>(r), static_cast<int>(rows.size()), base, borders, look);
    model_.tables[static_cast<size_t>(index)].headingRows = headingRowsOf(rows);
    resolveVerticalMerges(model_.tables[static_cast<size_t>(index)]);
    model_.tables[static_cast<size_t>(index)].end = static_cast<int>(model_.text.size());
}

void BodyReader::readRow(xmlNode* tr, const std::vector<xmlNode*>& cells, int table, int rowIndex, int rowCount,
                         const TableContext& base, const Borders& tableBorders, unsigned look)
{
    Borders rowBorders = readBorders(childW(childW(tr, "tblPrEx"), "tblBorders"));
    rowBorders.inheritFrom(tableBorders);
    model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)].resize(cells.size());
    int gridColumn = gridCount(childW(childW(tr, "trPr"), "gridBefore"), 0);
    for (size_t c = 0; c < cells.size(); ++c) {
        readCell(cells[c], table, rowIndex, static_cast<int>(c), rowIndex == rowCount - 1, c + 1 == cells.size(),
                 base, rowBorders, look);
        CellRec& cell = model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)][c];
        cell.gridColumn = gridColumn;
        cell.columnSpan = gridCount(childW(childW(cells[c], "tcPr"), "gridSpan"), 1);
        gridColumn += cell.columnSpan;
    }
}

void BodyReader::readCell(xmlNode* tc, int table, int rowIndex, int columnIndex, bool lastRow, bool lastColumn,
                          const TableContext& base, const Borders& tableBorders, unsigned look)
{
    xmlNode* tcPr = childW(tc, "tcPr");
    // Conditional formats apply in this order, the later winning.
    std::vector<TablePart> parts;
    if (columnIndex == 0 && (look & kLookFirstColumn))
        parts.push_back(TablePart::FirstColumn);
    if (lastColumn && (look & kLookLastColumn))
        parts.push_back(TablePart::LastColumn);
    if (rowIndex == 0 && (look & kLookFirstRow))
        parts.push_back(TablePart::FirstRow);
    if (lastRow && rowIndex > 0 && (look & kLookLastRow))
        parts.push_back(TablePart::LastRow);

    TableContext context = base;
    context.run = RunProps{};
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        context.run.inheritFrom(styles_.chainPartRun(base.styleId, *it));
    context.run.inheritFrom(styles_.chainRun(base.styleId));

    CellRec cell;
    cell.start = static_cast<int>(model_.text.size());
    if (xmlNode* vMerge = childW(tcPr, "vMerge"))
        cell.mergedAway = attr(vMerge, "val") != QLatin1String("restart");
    Borders borders = readBorders(childW(tcPr, "tcBorders"));
    const std::array<int, 4> outer{EdgeTop, EdgeLeft, EdgeBottom, EdgeRight};
    const std::array<bool, 4> onEdge{rowIndex == 0, columnIndex == 0, lastRow, lastColumn};
    for (size_t edge = 0; edge < 4; ++edge) {
        const int tableEdge = onEdge[edge] ? outer[edge] : (edge % 2 == 0 ? EdgeInsideH : EdgeInsideV);
        std::optional<bool> shown = borders.edges[edge];
        if (!shown)
            shown = tableBorders.edges[static_cast<size_t>(tableEdge)];
        for (auto it = parts.rbegin(); it != parts.rend() && !shown; ++it)
            shown = styles_.chainPartCellBorders(base.styleId, *it).edges[edge];
        if (!shown)
            shown = styles_.chainCellBorders(base.styleId).edges[edge];
        cell.borders[edge] = shown.value_or(false);
    }
    if (xmlNode* vAlign = childW(tcPr, "vAlign")) {
        const QString v = attr(vAlign, "val");
        cell.verticalAlignment = v == QLatin1String("center") ? vertical_alignment::Center
                                 : v == QLatin1String("bottom") ? vertical_alignment::Bottom
                                                                 : vertical_alignment::Top;
    } else {
        cell.verticalAlignment = styles_.chainVerticalAlignment(base.styleId).value_or(vertical_alignment::Top);
    }
    auto& slot = model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)][static_cast<size_t>(columnIndex)];
    slot = cell;

    openCells_.push_back({table, {rowIndex, columnIndex}});
    const size_t paragraphsBefore = model_.paragraphs.size();
    readBlocks(tc, &context);
    // Every cell holds at least one paragraph, even when the file leaves it out.
    if (model_.paragraphs.size() == paragraphsBefore) {
        abandonUnfinishedFieldCodes();
        ParagraphRec rec;
        rec.start = static_cast<int>(model_.text.size());
        rec.style = styles_.defaultParagraphStyle() ? styles_.defaultParagraphStyle()->uiName : QStringLiteral("Normal");
        rec.table = table;
        append(U'\r', 0);
        rec.end = rec.start + 1;
        model_.paragraphs.push_back(rec);
    }
    openCells_.pop_back();
    model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)][static_cast<size_t>(columnIndex)].end =
        static_cast<int>(model_.text.size());
}

} // namespace veldra::word::detail
